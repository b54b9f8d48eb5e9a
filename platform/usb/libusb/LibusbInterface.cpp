#include "platform/usb/libusb/LibusbInterface.h"

#include "platform/usb/libusb/ClaimRoute.h"
#include "platform/usb/libusb/NodeRoute.h"

#include <utility>

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
      selectedAlternateSetting_(interface->altsetting[0].bAlternateSetting), session_(*this, inUseWait) {}

LibusbInterface::~LibusbInterface() {
    USBInterfaceClose();
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
    // Not open, the setting is only this handle's until USBInterfaceOpen makes it the device's. Open
    // through usblp, the setting is the driver's own choice.
    if (session_.IsOpen()) {
        if (const UsbStatus status = session_.Route()->SelectSetting(alternateSetting); status != kUsbOk) {
            return status;
        }
    }
    selectedAlternateSetting_ = alternateSetting;
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

OpenAttempt LibusbInterface::OpenRoute(std::unique_ptr<PipeRoute>& route) {
    const InterfaceView view = ViewOf(Location());
    if (!view.plugged) {
        return {kUsbErrorNoDevice, false};
    }
    if (view.driver == kPrinterDriver) {
        // usblp makes its node a moment after it binds.
        return view.node.empty() ? OpenAttempt{kUsbErrorBusy, true} : NodeRoute::Open(view.node, route);
    }
    if (!view.driver.empty()) {
        return {kUsbErrorBusy, true}; // another program's claim, or a driver that offers no way in
    }
    if (const UsbStatus opened = OpenDevice(); opened != kUsbOk) {
        return {opened, false};
    }
    // Where sysfs does not show the interface, usbfs still tells whether a kernel driver has it.
    if (!view.shown && libusb_kernel_driver_active(handle_.get(), Selected().bInterfaceNumber) == 1) {
        return {kUsbErrorBusy, true};
    }
    return ClaimRoute::Open(handle_.get(), *interface_, selectedAlternateSetting_, route);
}

UsbStatus LibusbInterface::USBInterfaceOpen() {
    return session_.IsOpen() ? kUsbOk : session_.Open();
}

UsbStatus LibusbInterface::USBInterfaceClose() {
    session_.Close();
    handle_.reset();
    return kUsbOk;
}

} // namespace platform::libusb
