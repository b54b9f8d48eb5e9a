#pragma once

// Private to the libusb backend: the only header of the project that names libusb types.

#include "platform/usbhost/UsbInterface.h"
#include "platform/usbhost/libusb/InterfaceSysfs.h"
#include "platform/usbhost/libusb/PlugMemory.h"
#include "platform/usbhost/libusb/PrinterSession.h"

#include <chrono>
#include <cstdint>
#include <libusb.h>
#include <memory>

namespace platform::libusb {

// Bounds of every blocking call, so that no exchange can hang the application.
inline constexpr std::chrono::milliseconds kControlTimeout{1000};
inline constexpr std::chrono::milliseconds kWriteTimeout{2000};
inline constexpr std::chrono::milliseconds kReadPassTimeout{100};
// How long after a failure the kernel may still be about to see an unplugged printer go: its transfers
// fail, and its usbfs node refuses to open, a moment before its driver and its sysfs entry let it go.
inline constexpr std::chrono::milliseconds kLettingGo{2000};

// A device reference that keeps its libusb context alive for as long as the device is referenced.
using DevicePtr = std::shared_ptr<libusb_device>;

// A configuration descriptor, shared by the listing's entries of its device and their handles.
using ConfigDescriptorPtr = std::shared_ptr<const libusb_config_descriptor>;

struct DeviceHandleDeleter {
    void operator()(libusb_device_handle* handle) const { libusb_close(handle); }
};
using DeviceHandlePtr = std::unique_ptr<libusb_device_handle, DeviceHandleDeleter>;

// The active configuration's descriptor as the kernel cached it; reading it never opens the device.
UsbStatus ReadActiveConfig(libusb_device* device, ConfigDescriptorPtr& config);
// The device's ports from the root hub ("1" or "1.4"), as sysfs names it.
std::string PortPath(libusb_device* device);

// One interface of one device. Descriptor queries are answered from the cached configuration; the
// device is opened (never claimed) for control requests, which the kernel allows beside any driver.
// Between USBInterfaceOpen and USBInterfaceClose the pipes go the way the interface's state offers:
// through usblp's node while usblp is bound, which it stays; through a claim where no driver is bound.
// The kernel's driver is never detached.
class LibusbInterface final : public UsbInterface, private RouteOpener {
  public:
    // `interface` points into `config`, which the handle keeps. Opening waits up to `inUseWait` for a
    // printer in use. What is known of the plug already is taken from `memory`.
    LibusbInterface(DevicePtr device, ConfigDescriptorPtr config, const libusb_interface* interface,
                    std::chrono::milliseconds inUseWait, std::shared_ptr<PlugMemory> memory);
    ~LibusbInterface() override;
    LibusbInterface(const LibusbInterface&) = delete;
    LibusbInterface& operator=(const LibusbInterface&) = delete;

    UsbStatus GetInterfaceClass(std::uint8_t& interfaceClass) override;
    UsbStatus GetInterfaceSubClass(std::uint8_t& interfaceSubClass) override;
    UsbStatus GetInterfaceProtocol(std::uint8_t& interfaceProtocol) override;
    UsbStatus USBInterfaceOpen() override;
    UsbStatus USBInterfaceClose() override;
    UsbStatus GetAlternateSetting(std::uint8_t& alternateSetting) override;
    UsbStatus SetAlternateInterface(std::uint8_t alternateSetting) override;
    UsbStatus ControlRequest(UsbDevRequest& request) override;
    UsbStatus GetConfigurationValue(std::uint8_t& configurationValue) override;
    UsbStatus GetInterfaceNumber(std::uint8_t& interfaceNumber) override;
    UsbStatus GetDevice(UsbDeviceRef& device) override;
    UsbStatus GetSystemDeviceStrings(std::optional<std::string>& manufacturer,
                                     std::optional<std::string>& product) override;
    UsbStatus GetNumEndpoints(std::uint8_t& numEndpoints) override;
    UsbStatus GetPipeProperties(std::uint8_t pipeRef, PipeProperties& properties) override;
    UsbStatus GetPipeStatus(std::uint8_t pipeRef) override;
    UsbStatus WritePipe(std::uint8_t pipeRef, const void* data, std::uint32_t size) override;
    UsbStatus ReadPipe(std::uint8_t pipeRef, void* data, std::uint32_t& size) override;

  private:
    OpenAttempt OpenRoute(std::unique_ptr<PipeRoute>& route) override;
    const libusb_interface_descriptor& Selected() const;
    const libusb_interface_descriptor* FindAltSetting(std::uint8_t alternateSetting) const;
    const libusb_endpoint_descriptor* Endpoint(std::uint8_t pipeRef) const;
    UsbStatus OpenDevice();
    UsbStatus OpenEndpoint(std::uint8_t pipeRef, std::uint8_t direction, std::uint8_t& address) const;
    InterfaceLocation Location() const;
    Plug PlugOf() const;

    DevicePtr device_;
    ConfigDescriptorPtr config_;
    const libusb_interface* interface_;
    std::uint8_t selectedAlternateSetting_;
    std::shared_ptr<PlugMemory> memory_;
    DeviceHandlePtr handle_;
    PrinterSession session_; // after handle_: a claim is released while the handle is still open
};

} // namespace platform::libusb
