#include "platform/usb/LibusbInterface.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <utility>

namespace platform::libusb {

namespace {

// A sysfs attribute's one line, without its newline; nullopt when there is no such attribute.
std::optional<std::string> ReadSysfsLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line)) {
        return std::nullopt;
    }
    return line;
}

} // namespace

UsbStatus ReadActiveConfig(libusb_device* device, ConfigDescriptorPtr& config) {
    libusb_config_descriptor* raw = nullptr;
    const int status = libusb_get_active_config_descriptor(device, &raw);
    if (status != LIBUSB_SUCCESS) {
        return status;
    }
    config.reset(raw);
    return kUsbOk;
}

LibusbInterface::LibusbInterface(DevicePtr device, ConfigDescriptorPtr config,
                                 const libusb_interface* interface)
    : device_(std::move(device)), config_(std::move(config)), interface_(interface),
      selectedAlternateSetting_(interface->altsetting[0].bAlternateSetting) {}

LibusbInterface::~LibusbInterface() {
    Release();
}

const libusb_interface_descriptor* LibusbInterface::FindAltSetting(std::uint8_t alternateSetting) const {
    for (int i = 0; i < interface_->num_altsetting; ++i) {
        if (interface_->altsetting[i].bAlternateSetting == alternateSetting) {
            return &interface_->altsetting[i];
        }
    }
    return nullptr;
}

const libusb_interface_descriptor& LibusbInterface::Selected() const {
    // Only settings found in the descriptor are ever selected.
    return *FindAltSetting(selectedAlternateSetting_);
}

UsbStatus LibusbInterface::GetInterfaceClass(std::uint8_t& interfaceClass) {
    interfaceClass = Selected().bInterfaceClass;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetInterfaceSubClass(std::uint8_t& interfaceSubClass) {
    interfaceSubClass = Selected().bInterfaceSubClass;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetInterfaceProtocol(std::uint8_t& interfaceProtocol) {
    interfaceProtocol = Selected().bInterfaceProtocol;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetConfigurationValue(std::uint8_t& configurationValue) {
    configurationValue = config_->bConfigurationValue;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetInterfaceNumber(std::uint8_t& interfaceNumber) {
    interfaceNumber = Selected().bInterfaceNumber;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetDevice(UsbDeviceRef& device) {
    device = static_cast<UsbDeviceRef>(libusb_get_bus_number(device_.get())) << 8 |
             libusb_get_device_address(device_.get());
    return kUsbOk;
}

UsbStatus LibusbInterface::GetSystemDeviceStrings(std::optional<std::string>& manufacturer,
                                                  std::optional<std::string>& product) {
    // sysfs names a device by its bus and the ports on its way from the root hub: /sys/bus/usb/devices/1-4.2
    std::array<std::uint8_t, 7> ports{};
    const int depth = libusb_get_port_numbers(device_.get(), ports.data(), static_cast<int>(ports.size()));
    if (depth <= 0) {
        return kUsbErrorNotSupported;
    }
    std::string path = "/sys/bus/usb/devices/" + std::to_string(libusb_get_bus_number(device_.get())) + "-";
    for (int i = 0; i < depth; ++i) {
        path += (i > 0 ? "." : "") + std::to_string(ports[static_cast<std::size_t>(i)]);
    }
    if (!std::filesystem::is_directory(path)) {
        return kUsbErrorNotSupported;
    }
    manufacturer = ReadSysfsLine(path + "/manufacturer");
    product = ReadSysfsLine(path + "/product");
    return kUsbOk;
}

UsbStatus LibusbInterface::GetNumEndpoints(std::uint8_t& numEndpoints) {
    numEndpoints = Selected().bNumEndpoints;
    return kUsbOk;
}

const libusb_endpoint_descriptor* LibusbInterface::Endpoint(std::uint8_t pipeRef) const {
    const libusb_interface_descriptor& selected = Selected();
    if (pipeRef == 0 || pipeRef > selected.bNumEndpoints) {
        return nullptr;
    }
    return &selected.endpoint[pipeRef - 1];
}

UsbStatus LibusbInterface::GetPipeProperties(std::uint8_t pipeRef, PipeProperties& properties) {
    const libusb_endpoint_descriptor* endpoint = Endpoint(pipeRef);
    if (endpoint == nullptr) {
        return kUsbErrorInvalidParam;
    }
    properties.direction = (endpoint->bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN
                               ? kPipeDirectionIn
                               : kPipeDirectionOut;
    properties.number = endpoint->bEndpointAddress & LIBUSB_ENDPOINT_ADDRESS_MASK;
    properties.transferType = endpoint->bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
    // The low 11 bits are the packet size; the bits above count extra transactions per microframe.
    properties.maxPacketSize = endpoint->wMaxPacketSize & 0x07FF;
    properties.interval = endpoint->bInterval;
    return kUsbOk;
}

UsbStatus LibusbInterface::GetAlternateSetting(std::uint8_t& alternateSetting) {
    alternateSetting = selectedAlternateSetting_;
    return kUsbOk;
}

UsbStatus LibusbInterface::SetAlternateInterface(std::uint8_t alternateSetting) {
    if (FindAltSetting(alternateSetting) == nullptr) {
        return kUsbErrorNotFound;
    }
    // Unclaimed, the setting is only this handle's until USBInterfaceOpen makes it the device's.
    if (claimed_) {
        const int status =
            libusb_set_interface_alt_setting(handle_.get(), Selected().bInterfaceNumber, alternateSetting);
        if (status != LIBUSB_SUCCESS) {
            return status;
        }
    }
    selectedAlternateSetting_ = alternateSetting;
    pending_.clear();
    return kUsbOk;
}

UsbStatus LibusbInterface::OpenDevice() {
    if (handle_) {
        return kUsbOk;
    }
    libusb_device_handle* raw = nullptr;
    const int status = libusb_open(device_.get(), &raw);
    if (status != LIBUSB_SUCCESS) {
        return status;
    }
    handle_.reset(raw);
    // Lets the printer driver of the kernel step aside while the interface is claimed and come back on
    // release. Platforms without kernel drivers to detach report "not supported", which changes nothing.
    libusb_set_auto_detach_kernel_driver(handle_.get(), 1);
    return kUsbOk;
}

UsbStatus LibusbInterface::USBInterfaceOpen() {
    if (claimed_) {
        return kUsbOk;
    }
    if (const UsbStatus status = OpenDevice(); status != kUsbOk) {
        return status;
    }
    const int number = Selected().bInterfaceNumber;
    if (const int status = libusb_claim_interface(handle_.get(), number); status != LIBUSB_SUCCESS) {
        handle_.reset();
        return status;
    }
    claimed_ = true;
    // Detaching a kernel driver puts the interface back to its first setting, and another program may
    // have left it anywhere; the setting this handle reports is made the device's own again.
    if (interface_->num_altsetting > 1) {
        const int status = libusb_set_interface_alt_setting(handle_.get(), number, selectedAlternateSetting_);
        if (status != LIBUSB_SUCCESS) {
            Release();
            return status;
        }
    }
    return kUsbOk;
}

void LibusbInterface::Release() {
    pending_.clear();
    if (claimed_) {
        claimed_ = false;
        // With auto-detach on, the release also gives the interface back to the kernel's driver.
        libusb_release_interface(handle_.get(), Selected().bInterfaceNumber);
    }
    handle_.reset();
}

UsbStatus LibusbInterface::USBInterfaceClose() {
    UsbStatus status = kUsbOk;
    if (claimed_) {
        status = libusb_release_interface(handle_.get(), Selected().bInterfaceNumber);
        claimed_ = false;
    }
    Release();
    return status;
}

} // namespace platform::libusb
