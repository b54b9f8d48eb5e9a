#pragma once

#include "platform/usbhost/UsbDeviceChanges.h"
#include "platform/usbhost/UsbStatus.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A control request on the default pipe. `data` must hold `wLength` bytes; `wLenDone` receives the
// number of bytes the device delivered (device-to-host) or accepted.
struct UsbDevRequest {
    std::uint8_t bmRequestType = 0;
    std::uint8_t bRequest = 0;
    std::uint16_t wValue = 0;
    std::uint16_t wIndex = 0;
    std::uint16_t wLength = 0;
    void* data = nullptr;
    std::uint32_t wLenDone = 0;
};

inline constexpr std::uint8_t kPipeDirectionOut = 0;
inline constexpr std::uint8_t kPipeDirectionIn = 1;
inline constexpr std::uint8_t kPipeTypeControl = 0;
inline constexpr std::uint8_t kPipeTypeIsochronous = 1;
inline constexpr std::uint8_t kPipeTypeBulk = 2;
inline constexpr std::uint8_t kPipeTypeInterrupt = 3;

struct PipeProperties {
    std::uint8_t direction = 0;    // kPipeDirectionOut / kPipeDirectionIn
    std::uint8_t number = 0;       // endpoint number without the direction bit
    std::uint8_t transferType = 0; // kPipeType...
    std::uint16_t maxPacketSize = 0;
    std::uint8_t interval = 0;
};

// Identifies the device that owns an interface; the link stores it and never interprets it.
using UsbDeviceRef = std::uint32_t;

// One handle on one USB interface. Pipe references count the interface's endpoints from 1 in
// endpoint-descriptor order; 0 is the default control pipe and no valid bulk pipe.
// Destroying a handle releases whatever it still holds (claimed interface, open device).
class UsbInterface {
  public:
    virtual ~UsbInterface() = default;

    virtual UsbStatus GetInterfaceClass(std::uint8_t& interfaceClass) = 0;
    virtual UsbStatus GetInterfaceSubClass(std::uint8_t& interfaceSubClass) = 0;
    // The protocol of the alternate setting currently selected.
    virtual UsbStatus GetInterfaceProtocol(std::uint8_t& interfaceProtocol) = 0;
    virtual UsbStatus USBInterfaceOpen() = 0;
    virtual UsbStatus USBInterfaceClose() = 0;
    virtual UsbStatus GetAlternateSetting(std::uint8_t& alternateSetting) = 0;
    // On an open interface the device switches to the setting at once. On one that is not open only
    // this handle selects it (what it reports follows the selection), and the device is switched when
    // the interface is opened: looking at a setting never claims the interface.
    virtual UsbStatus SetAlternateInterface(std::uint8_t alternateSetting) = 0;
    virtual UsbStatus ControlRequest(UsbDevRequest& request) = 0;
    virtual UsbStatus GetConfigurationValue(std::uint8_t& configurationValue) = 0;
    virtual UsbStatus GetInterfaceNumber(std::uint8_t& interfaceNumber) = 0;
    virtual UsbStatus GetDevice(UsbDeviceRef& device) = 0;
    // The device's manufacturer and product strings as the system shows them without asking the
    // device (on Linux, sysfs), so also for a device this user may not open. A string the system does
    // not show is nullopt; kUsbErrorNotSupported when the system shows none at all.
    virtual UsbStatus GetSystemDeviceStrings(std::optional<std::string>& manufacturer,
                                             std::optional<std::string>& product) = 0;
    virtual UsbStatus GetNumEndpoints(std::uint8_t& numEndpoints) = 0;
    virtual UsbStatus GetPipeProperties(std::uint8_t pipeRef, PipeProperties& properties) = 0;
    // Non-zero when the pipe cannot be used now, for example when it is halted.
    virtual UsbStatus GetPipeStatus(std::uint8_t pipeRef) = 0;
    // The whole buffer in one transfer.
    virtual UsbStatus WritePipe(std::uint8_t pipeRef, const void* data, std::uint32_t size) = 0;
    // Offers `size` bytes of room; returns in `size` what was delivered, possibly 0. A pass that
    // waits a bounded time and receives nothing succeeds with 0 bytes.
    virtual UsbStatus ReadPipe(std::uint8_t pipeRef, void* data, std::uint32_t& size) = 0;
};

// One USB interface present on the bus when it was listed.
class UsbInterfaceEntry {
  public:
    virtual ~UsbInterfaceEntry() = default;
    // Creates a handle for the interface; fails when the interface cannot be reached any more.
    virtual UsbStatus CreateInterface(std::unique_ptr<UsbInterface>& handle) = 0;
};

// The USB host: what interfaces are present now, in a stable order, and word when that changes.
class UsbBus {
  public:
    virtual ~UsbBus() = default;
    virtual UsbStatus ListInterfaces(std::vector<std::unique_ptr<UsbInterfaceEntry>>& entries) = 0;
    // Calls `changed` whenever a device arrives or leaves, until the subscription is destroyed (it must
    // go before the bus). nullptr: this bus cannot tell, and a new listing is the only way to know.
    virtual std::unique_ptr<UsbChangeSubscription> WatchDeviceChanges(UsbDevicesChanged /*changed*/) {
        return nullptr;
    }
};

} // namespace platform
