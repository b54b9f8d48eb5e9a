#include "platform/usb/libusb/LibusbInterface.h"

#include <utility>
#include <vector>

namespace platform::libusb {

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
                                 const libusb_interface* interface, std::chrono::milliseconds inUseWait)
    : device_(std::move(device)), config_(std::move(config)), interface_(interface),
      selectedAlternateSetting_(interface->altsetting[0].bAlternateSetting), inUseWait_(inUseWait) {}

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
    const std::optional<ShownStrings> shown = DeviceStrings(Location());
    if (!shown) {
        return kUsbErrorNotSupported;
    }
    manufacturer = shown->manufacturer;
    product = shown->product;
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
    if (claim_) {
        const int status =
            libusb_set_interface_alt_setting(handle_.get(), Selected().bInterfaceNumber, alternateSetting);
        if (status != LIBUSB_SUCCESS) {
            return status;
        }
    }
    selectedAlternateSetting_ = alternateSetting;
    pending_.clear();
    clearEndpoints_.clear();
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
    return kUsbOk;
}

InterfaceLocation LibusbInterface::Location() const {
    InterfaceLocation location;
    location.bus = libusb_get_bus_number(device_.get());
    location.address = libusb_get_device_address(device_.get());
    location.configuration = config_->bConfigurationValue;
    location.interface = Selected().bInterfaceNumber;
    std::uint8_t ports[8] = {};
    const int depth = libusb_get_port_numbers(device_.get(), ports, sizeof ports);
    for (int i = 0; i < depth; ++i) {
        location.ports += (i > 0 ? "." : "") + std::to_string(ports[i]);
    }
    return location;
}

bool LibusbInterface::StopForSignal() {
    if (!claim_ || !SignalDeferral::Pending()) {
        return false;
    }
    Release();
    return true;
}

UsbStatus LibusbInterface::USBInterfaceOpen() {
    if (claim_) {
        return kUsbOk;
    }
    if (const UsbStatus status = OpenDevice(); status != kUsbOk) {
        return status;
    }
    const int number = Selected().bInterfaceNumber;
    if (const UsbStatus status = InterfaceClaim::Acquire(handle_.get(), Location(), inUseWait_, claim_);
        status != kUsbOk) {
        handle_.reset();
        return status;
    }
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
    clearEndpoints_.clear();
    claim_.reset(); // gives the interface back to the kernel's driver
    handle_.reset();
}

UsbStatus LibusbInterface::USBInterfaceClose() {
    Release();
    return kUsbOk;
}

} // namespace platform::libusb
