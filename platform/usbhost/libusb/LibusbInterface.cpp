#include "platform/usbhost/libusb/LibusbInterface.h"

#include "platform/usbhost/libusb/ClaimRoute.h"
#include "platform/usbhost/libusb/NodeRoute.h"

#include <thread>
#include <utility>

namespace platform::libusb {
namespace {

// How long after a device is plugged in its kernel driver may still be about to bind.
constexpr std::chrono::milliseconds kDriverBindTime{3000};
// How long an interface that no driver has must stay so before it is claimed.
constexpr std::chrono::milliseconds kStillFree{150};
constexpr std::chrono::milliseconds kLookAgain{20};

// Whether the device listed at `where` goes within the time the kernel takes to let an unplugged one go.
bool GoesAway(const InterfaceLocation& where) {
    const auto end = std::chrono::steady_clock::now() + kLettingGo;
    while (ViewOf(where).plugged) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(kLookAgain);
    }
    return true;
}

} // namespace

UsbStatus ReadActiveConfig(libusb_device* device, ConfigDescriptorPtr& config) {
    libusb_config_descriptor* raw = nullptr;
    // The listing of every exchange reads this, and libusb would ask sysfs twice each time. A device
    // with one configuration can be in no other: its descriptor is taken from what libusb keeps.
    libusb_device_descriptor deviceDescriptor{};
    if (libusb_get_device_descriptor(device, &deviceDescriptor) == LIBUSB_SUCCESS &&
        deviceDescriptor.bNumConfigurations == 1 &&
        libusb_get_config_descriptor(device, 0, &raw) == LIBUSB_SUCCESS) {
        config.reset(raw, libusb_free_config_descriptor);
        return kUsbOk;
    }
    // Otherwise the configuration's number is asked of sysfs once, its descriptor taken from libusb.
    InterfaceLocation location;
    location.bus = libusb_get_bus_number(device);
    location.ports = PortPath(device);
    int status = LIBUSB_ERROR_NOT_FOUND;
    if (const std::optional<int> active = ActiveConfiguration(location)) {
        if (*active == 0) {
            return LIBUSB_ERROR_NOT_FOUND; // not configured
        }
        status = libusb_get_config_descriptor_by_value(device, static_cast<std::uint8_t>(*active), &raw);
    } else {
        status = libusb_get_active_config_descriptor(device, &raw);
    }
    if (status != LIBUSB_SUCCESS) {
        return status;
    }
    config.reset(raw, libusb_free_config_descriptor);
    return kUsbOk;
}

std::string PortPath(libusb_device* device) {
    std::uint8_t ports[8] = {};
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    std::string path;
    for (int i = 0; i < depth; ++i) {
        path += (i > 0 ? "." : "") + std::to_string(ports[i]);
    }
    return path;
}

LibusbInterface::LibusbInterface(DevicePtr device, ConfigDescriptorPtr config,
                                 const libusb_interface* interface, std::chrono::milliseconds inUseWait,
                                 std::shared_ptr<PlugMemory> memory)
    : device_(std::move(device)), config_(std::move(config)), interface_(interface),
      selectedAlternateSetting_(interface->altsetting[0].bAlternateSetting), memory_(std::move(memory)),
      session_(*this, inUseWait) {}

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

Plug LibusbInterface::PlugOf() const {
    return {libusb_get_bus_number(device_.get()), libusb_get_device_address(device_.get())};
}

InterfaceLocation LibusbInterface::Location() const {
    InterfaceLocation location;
    location.bus = libusb_get_bus_number(device_.get());
    location.address = libusb_get_device_address(device_.get());
    location.configuration = config_->bConfigurationValue;
    location.interface = Selected().bInterfaceNumber;
    location.ports = PortPath(device_.get());
    return location;
}

OpenAttempt LibusbInterface::OpenRoute(std::unique_ptr<PipeRoute>& route) {
    const int number = Selected().bInterfaceNumber;
    const InterfaceLocation where = Location();
    InterfaceView view = ViewOf(where, memory_->NodeName(PlugOf(), number));
    if (view.shown && view.plugged && view.driver.empty()) {
        // Nothing bound may be a moment's state: usblp binds a little after a printer is plugged in,
        // and another program (CUPS's backend) sets it aside and back around its own look at the
        // printer. A claim then would leave the printer without its driver for good: the interface
        // is looked at again a moment later, and claimed only when it is still free.
        const std::chrono::milliseconds age = PlugAge(where);
        std::this_thread::sleep_for(age < kDriverBindTime ? kDriverBindTime - age : kStillFree);
        view = ViewOf(where, memory_->NodeName(PlugOf(), number));
    }
    if (!view.node.empty()) {
        memory_->KeepNodeName(PlugOf(), number, view.node.substr(view.node.rfind('/') + 1));
    }
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
        // A printer being unplugged refuses its usbfs node (ENODEV, which libusb reports as an I/O
        // error) while sysfs still lists it: it went away, it did not fail.
        if (opened != kUsbErrorAccess && GoesAway(where)) {
            return {kUsbErrorNoDevice, false};
        }
        return {opened, false};
    }
    // Where sysfs does not show the interface, usbfs still tells whether a kernel driver has it.
    if (!view.shown && libusb_kernel_driver_active(handle_.get(), number) == 1) {
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
