#pragma once

// A USB device emulated at the usbfs level with umockdev: libusb finds it in the emulated sysfs, opens
// its node and drives it with the same ioctls it uses on a real kernel. Needs the process to run with
// LD_PRELOAD=libumockdev-preload.so.0.

#include "platform/usbhost/UsbRequests.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace usbfs_test {

struct EmulatedEndpoint {
    std::uint8_t address = 0;       // with the direction bit (0x80: IN)
    std::uint8_t attributes = 0x02; // bulk
    std::uint16_t maxPacketSize = 64;
};

struct EmulatedAltSetting {
    std::uint8_t interfaceClass = platform::kPrinterInterfaceClass;
    std::uint8_t interfaceSubClass = platform::kPrinterInterfaceSubClass;
    std::uint8_t interfaceProtocol = platform::kPrinterProtocolBidirectional;
    std::vector<EmulatedEndpoint> endpoints;
};

struct EmulatedInterface {
    std::vector<EmulatedAltSetting> altSettings; // bAlternateSetting = position
};

struct EmulatedDeviceLayout {
    std::uint16_t vendorId = 0x1A2B;
    std::uint16_t productId = 0x0360;
    std::uint8_t configurationValue = 1;
    std::map<std::uint8_t, std::u16string> strings; // by descriptor index; others stall
    std::uint8_t iManufacturer = 0;
    std::uint8_t iProduct = 0;
    std::uint8_t iSerialNumber = 0;
    std::vector<EmulatedInterface> interfaces; // bInterfaceNumber = position
    std::optional<std::string> deviceId;       // answers GET_DEVICE_ID; none stalls it
    // The 18 bytes to use instead of a device descriptor built from the fields above.
    std::optional<std::vector<std::uint8_t>> deviceDescriptor;
};

// The 18-byte device descriptor followed by the whole configuration descriptor.
std::vector<std::uint8_t> DescriptorBytes(const EmulatedDeviceLayout& layout);

// What stands behind the device's pipes.
class DeviceResponder {
  public:
    virtual ~DeviceResponder() = default;
    virtual void Receive(std::span<const std::uint8_t> bytes) = 0;
    // Reply bytes ready to go out now; empty while the device has nothing to say.
    virtual std::vector<std::uint8_t> TakeReply() = 0;
    // Descriptor and class requests on the default pipe (endpoint status and the configuration
    // descriptor excepted). Returns false to let the device answer from its layout; otherwise
    // `answer` holds the data stage, or nothing to stall the request.
    virtual bool AnswerControl(std::span<const std::uint8_t, 8> setup,
                               std::optional<std::vector<std::uint8_t>>& answer) {
        (void)setup;
        (void)answer;
        return false;
    }
};

class EmulatedDevice {
  public:
    // Adds the device to the process's testbed with no kernel driver bound to its interfaces. The
    // responder is borrowed and must outlive the device.
    EmulatedDevice(std::uint8_t bus, std::uint8_t address, EmulatedDeviceLayout layout,
                   DeviceResponder& responder);
    ~EmulatedDevice();
    EmulatedDevice(const EmulatedDevice&) = delete;
    EmulatedDevice& operator=(const EmulatedDevice&) = delete;

    // What the kernel would know about the device now.
    bool DriverBound(std::uint8_t interfaceNumber) const;
    bool Claimed(std::uint8_t interfaceNumber) const;
    std::uint8_t AltSetting(std::uint8_t interfaceNumber) const;
    int Opens() const;
    int BulkInSubmissions() const;

    int ClaimAttempts() const; // claims asked for, refused ones included
    int Detaches() const;      // kernel drivers a program unbound through usbfs

    // Shows the interfaces in sysfs as the kernel does (their bound driver: usblp, usbfs for a program's
    // claim, or none) and gives interface 0 usblp's device node /dev/usb/lp0, a plain file.
    void ShowInSysfs();
    // What the testbed's /dev/usb/lp0 is in the real file system, to see what was written to it.
    std::string PrinterNodeInTestbed() const;
    // The kernel's printer driver binds to the interface, or an administrator unbinds it.
    void BindDriver(std::uint8_t interfaceNumber);
    void UnbindDriver(std::uint8_t interfaceNumber);
    // Another program claims interface 0 now, for this long.
    void TakeNow(std::chrono::milliseconds holdFor);

    void Halt(std::uint8_t endpointAddress);
    // Pulls the plug: transfers in flight end with "no device", every later request fails.
    void Unplug();
    // Pulls the plug once the device has received this many bulk OUT transfers.
    void UnplugAfterBulkOut(int transfers);
    // Every later SET_INTERFACE fails.
    void RefuseSetInterface();
    // Every later bulk OUT transfer takes this many bytes fewer than it was given.
    void ShortenBulkOut(int bytes);

    struct State; // shared with the ioctl handler thread

  private:
    void RemoveFromTestbed();
    void StartOtherProgram();

    std::string sysPath_;
    std::string devNode_;
    std::string port_;                       // "1-5": the device's name in sysfs
    std::vector<std::string> shownChildren_; // sysfs paths added by ShowInSysfs(), parents first
    // The other program of TakeNow() and TakeOnNextRelease(): lets go when its time is up, whether or not
    // anyone asks the kernel.
    std::thread otherProgram_;
    std::atomic<bool> stopping_{false};
    std::unique_ptr<State> state_;
    bool removed_ = false;
};

} // namespace usbfs_test
