#pragma once

#include "platform/usbhost/UsbInterface.h"
#include "platform/usbhost/UsbRequests.h"
#include "simulator/DeviceIdentity.h"
#include "simulator/PrinterSettings.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace simulator {

// Every operation a simulated interface handle offers, plus the creation of the handle itself.
enum class UsbOperation {
    CreateInterface,
    GetInterfaceClass,
    GetInterfaceSubClass,
    GetInterfaceProtocol,
    USBInterfaceOpen,
    USBInterfaceClose,
    GetAlternateSetting,
    SetAlternateInterface,
    ControlRequest,
    GetConfigurationValue,
    GetInterfaceNumber,
    GetDevice,
    GetNumEndpoints,
    GetPipeProperties,
    GetPipeStatus,
    WritePipe,
    ReadPipe,
};

// An operation that fails with `status` once it has succeeded `afterCalls` times on that device.
struct Fault {
    platform::UsbStatus status = platform::kUsbErrorIo;
    unsigned afterCalls = 0;
};

inline platform::PipeProperties BulkOut(std::uint8_t endpoint) {
    return {platform::kPipeDirectionOut, endpoint, platform::kPipeTypeBulk, 64, 0};
}
inline platform::PipeProperties BulkIn(std::uint8_t endpoint) {
    return {platform::kPipeDirectionIn, endpoint, platform::kPipeTypeBulk, 64, 0};
}

// One alternate setting of the interface: its class triple and its pipes, pipe reference 1 first.
struct AlternateSetting {
    std::uint8_t interfaceClass = platform::kPrinterInterfaceClass;
    std::uint8_t interfaceSubClass = platform::kPrinterInterfaceSubClass;
    std::uint8_t interfaceProtocol = platform::kPrinterProtocolBidirectional;
    std::vector<platform::PipeProperties> pipes{BulkOut(1), BulkIn(2)};
};

// How one simulated USB interface looks and misbehaves. The defaults are a healthy LM-360R.
struct DeviceScript {
    DeviceIdentity identity = DefaultIdentity();
    PrinterSettings settings;
    std::set<protocol::SettingKind> refusedKinds; // writes accepted but not stored

    std::vector<AlternateSetting> alternates{AlternateSetting{}}; // alternate setting 0 first
    std::uint8_t selectedAlternate = 0;                           // selected when the device appears
    std::uint8_t configurationValue = 1;
    std::uint8_t interfaceNumber = 0;

    // String descriptors delivered byte for byte instead of the identity's (an empty vector
    // delivers 0 bytes). Keyed by string index: 1 manufacturer, 2 product, 3 serial.
    std::map<std::uint8_t, std::vector<std::uint8_t>> rawStringDescriptors;
    // GET_DEVICE_ID answered with these bytes (length bytes included, cut to the request's length)
    // instead of the identity's device ID.
    std::optional<std::vector<std::uint8_t>> rawDeviceId;

    // Whether the system shows the manufacturer and product strings without asking the device.
    bool systemShowsStrings = true;

    std::map<UsbOperation, Fault> faults;
    // Non-zero: the pipe is halted; its status check and its transfers fail with this status.
    std::map<std::uint8_t, platform::UsbStatus> pipeStatus;

    // Reply bytes handed over per read pass; 0 hands over everything pending that fits.
    std::uint32_t replyBytesPerPass = 0;
    // Read passes that deliver nothing before any reply byte is handed over (each read pass counts).
    unsigned silentReadPasses = 0;
    bool replyNeverComes = false;
    // How long a read pass that finds nothing waits before it says so, as a real host's pass waits for
    // bytes. Zero answers at once, which keeps tests of many passes quick.
    std::chrono::milliseconds emptyPassWait{0};

    // The device disappears right after this many bulk writes have completed.
    std::optional<unsigned> vanishAfterWrites;
};

} // namespace simulator
