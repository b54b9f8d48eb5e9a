#include "tests/platform/usbhost/LibusbEmulatedDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <set>
#include <stdexcept>
#include <thread>
#include <umockdev.h>
#include <unistd.h>

namespace usbfs_test {
namespace {

using platform::kDescriptorTypeConfiguration;
using platform::kDescriptorTypeDevice;
using platform::kDescriptorTypeEndpoint;
using platform::kDescriptorTypeInterface;
using platform::kDescriptorTypeString;
constexpr std::size_t kSetupSize = 8;
constexpr const char* kKernelDriver = "usblp";

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

// The process's one testbed: UMOCKDEV_DIR is process-wide. It must exist before libusb first looks.
UMockdevTestbed* Testbed() {
    struct Owner {
        UMockdevTestbed* testbed = umockdev_testbed_new();
        ~Owner() { g_object_unref(testbed); }
    };
    static Owner owner;
    if (!umockdev_in_mock_environment()) {
        throw std::runtime_error(
            "not running under umockdev: LD_PRELOAD=libumockdev-preload.so.0 is missing");
    }
    return owner.testbed;
}

struct GObjectUnref {
    void operator()(gpointer object) const {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
using IoctlData = std::unique_ptr<UMockdevIoctlData, GObjectUnref>;

// The testbed's folder in the real file system.
std::string TestbedRoot() {
    gchar* root = umockdev_testbed_get_root_dir(Testbed());
    std::string path = root;
    g_free(root);
    return path;
}

} // namespace

std::vector<std::uint8_t> DescriptorBytes(const EmulatedDeviceLayout& layout) {
    std::vector<std::uint8_t> device{18, kDescriptorTypeDevice};
    if (layout.deviceDescriptor) {
        device = *layout.deviceDescriptor;
    } else {
        PutLe16(device, 0x0200); // bcdUSB
        device.insert(device.end(), {0, 0, 0, 64});
        PutLe16(device, layout.vendorId);
        PutLe16(device, layout.productId);
        PutLe16(device, 0x0100); // bcdDevice
        device.insert(device.end(), {layout.iManufacturer, layout.iProduct, layout.iSerialNumber, 1});
    }

    std::vector<std::uint8_t> body;
    for (std::size_t number = 0; number < layout.interfaces.size(); ++number) {
        const auto& alts = layout.interfaces[number].altSettings;
        for (std::size_t alt = 0; alt < alts.size(); ++alt) {
            const EmulatedAltSetting& setting = alts[alt];
            body.insert(body.end(),
                        {9, kDescriptorTypeInterface, static_cast<std::uint8_t>(number),
                         static_cast<std::uint8_t>(alt), static_cast<std::uint8_t>(setting.endpoints.size()),
                         setting.interfaceClass, setting.interfaceSubClass, setting.interfaceProtocol, 0});
            for (const EmulatedEndpoint& endpoint : setting.endpoints) {
                body.insert(body.end(), {7, kDescriptorTypeEndpoint, endpoint.address, endpoint.attributes});
                PutLe16(body, endpoint.maxPacketSize);
                body.push_back(0);
            }
        }
    }
    std::vector<std::uint8_t> config{9, kDescriptorTypeConfiguration};
    PutLe16(config, static_cast<std::uint16_t>(9 + body.size()));
    config.insert(config.end(), {static_cast<std::uint8_t>(layout.interfaces.size()),
                                 layout.configurationValue, 0, 0x80, 50});
    config.insert(config.end(), body.begin(), body.end());

    device.insert(device.end(), config.begin(), config.end());
    return device;
}

// Everything the ioctl handler touches; it runs on umockdev's thread while libusb waits in ioctl().
struct EmulatedDevice::State {
    struct Urb {
        UMockdevIoctlClient* client = nullptr; // the connection (open file) that submitted it
        IoctlData data;                        // the caller's struct usbdevfs_urb, buffer resolved
        usbdevfs_urb* Fields() const { return reinterpret_cast<usbdevfs_urb*>(data->data); }
        unsigned char* Buffer() const { return static_cast<unsigned char*>(Fields()->buffer); }
    };

    EmulatedDeviceLayout layout;
    DeviceResponder* responder = nullptr;
    mutable std::mutex mutex;
    std::vector<bool> driverBound;
    std::vector<UMockdevIoctlClient*> claimedBy;
    std::vector<std::uint8_t> altSetting;
    std::set<std::uint8_t> halted;
    std::deque<Urb> waiting;   // bulk IN transfers the device has not answered yet
    std::deque<Urb> completed; // ready to be reaped
    std::vector<std::uint8_t> replyLeft;
    int bulkInSubmissions = 0;
    int opens = 0;
    int bulkOutLeftBeforeUnplug = -1;
    bool refuseSetInterface = false;
    int bulkOutShortBy = 0;
    bool unplugged = false;
    int claimAttempts = 0;
    int detaches = 0;
    std::string sysfsInterfaces; // in the real file system: the device's sysfs folder; empty: not shown
    std::string sysfsName;       // "1-5"
    std::optional<std::chrono::steady_clock::time_point> takenUntil; // interface 0 held by another program

    // The other program lets go once its time is up, without giving a driver back (it saw none).
    void EndForeignClaim() {
        if (takenUntil && std::chrono::steady_clock::now() >= *takenUntil) {
            takenUntil.reset();
            ShowDrivers();
        }
    }

    void ShowDrivers() const {
        if (sysfsInterfaces.empty()) {
            return;
        }
        for (std::size_t number = 0; number < layout.interfaces.size(); ++number) {
            const std::string link = sysfsInterfaces + "/" + sysfsName + ":" +
                                     std::to_string(layout.configurationValue) + "." +
                                     std::to_string(number) + "/driver";
            unlink(link.c_str());
            const char* driver = Claimed(number) ? "usbfs" : driverBound[number] ? kKernelDriver : nullptr;
            if (driver != nullptr) {
                symlink((std::string("../../../../../../bus/usb/drivers/") + driver).c_str(), link.c_str());
            }
        }
    }

    const EmulatedAltSetting* CurrentSetting(std::size_t interfaceNumber) const {
        return &layout.interfaces[interfaceNumber].altSettings[altSetting[interfaceNumber]];
    }

    const EmulatedEndpoint* FindEndpoint(std::uint8_t address) const {
        for (std::size_t i = 0; i < layout.interfaces.size(); ++i) {
            for (const EmulatedEndpoint& endpoint : CurrentSetting(i)->endpoints) {
                if (endpoint.address == address) {
                    return &endpoint;
                }
            }
        }
        return nullptr;
    }

    bool ValidInterface(unsigned int number) const { return number < layout.interfaces.size(); }

    // Claimed by a handle of the test's or by the other program of TakeOnNextRelease().
    bool Claimed(unsigned int number) const {
        return claimedBy[number] != nullptr || (number == 0 && takenUntil);
    }
    bool HeldByAnother(unsigned int number, UMockdevIoctlClient* client) const {
        return (claimedBy[number] != nullptr && claimedBy[number] != client) || (number == 0 && takenUntil);
    }

    // GET_DEVICE_ID names the configuration (value - 1), the interface and its current setting.
    bool DeviceIdAddressed(const unsigned char* setup) const {
        const auto value = static_cast<std::uint16_t>(setup[2] | setup[3] << 8);
        const unsigned int number = setup[5];
        return value == layout.configurationValue - 1 && ValidInterface(number) &&
               setup[4] == altSetting[number];
    }

    // Answers a control transfer: returns the bytes of the data stage, or nullopt to stall.
    std::optional<std::vector<std::uint8_t>> Control(const unsigned char* setup) const {
        const bool deviceIdRequest = setup[0] == 0xA1 && setup[1] == 0;
        const bool descriptorRequest =
            setup[0] == 0x80 && setup[1] == 6 && setup[3] != kDescriptorTypeConfiguration;
        if (deviceIdRequest && !DeviceIdAddressed(setup)) {
            return std::nullopt;
        }
        if (deviceIdRequest || descriptorRequest) {
            std::optional<std::vector<std::uint8_t>> answer;
            if (responder->AnswerControl(std::span<const std::uint8_t, kSetupSize>(setup, kSetupSize),
                                         answer)) {
                return answer;
            }
        }
        const std::uint8_t requestType = setup[0];
        const std::uint8_t request = setup[1];
        const auto value = static_cast<std::uint16_t>(setup[2] | setup[3] << 8);
        const auto index = static_cast<std::uint16_t>(setup[4] | setup[5] << 8);
        if (requestType == 0x80 && request == 6) {
            const auto type = static_cast<std::uint8_t>(value >> 8);
            const auto number = static_cast<std::uint8_t>(value & 0xFF);
            const std::vector<std::uint8_t> all = DescriptorBytes(layout);
            if (type == kDescriptorTypeDevice) {
                return std::vector<std::uint8_t>(all.begin(), all.begin() + 18);
            }
            if (type == kDescriptorTypeConfiguration) {
                return std::vector<std::uint8_t>(all.begin() + 18, all.end());
            }
            if (type == kDescriptorTypeString) {
                if (number == 0) {
                    return std::vector<std::uint8_t>{4, kDescriptorTypeString, 0x09, 0x04};
                }
                const auto it = layout.strings.find(number);
                if (it == layout.strings.end()) {
                    return std::nullopt;
                }
                std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(2 + 2 * it->second.size()),
                                                kDescriptorTypeString};
                for (char16_t unit : it->second) {
                    PutLe16(bytes, unit);
                }
                return bytes;
            }
            return std::nullopt;
        }
        if (requestType == 0x82 && request == 0) { // GET_STATUS of an endpoint
            if (FindEndpoint(static_cast<std::uint8_t>(index)) == nullptr) {
                return std::nullopt;
            }
            return std::vector<std::uint8_t>{static_cast<std::uint8_t>(halted.count(index & 0xFF) ? 1 : 0),
                                             0};
        }
        if (requestType == 0xA1 && request == 0 && layout.deviceId) { // printer class GET_DEVICE_ID
            const std::size_t length = layout.deviceId->size() + 2;
            std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(length >> 8),
                                            static_cast<std::uint8_t>(length & 0xFF)};
            bytes.insert(bytes.end(), layout.deviceId->begin(), layout.deviceId->end());
            return bytes;
        }
        return std::nullopt;
    }

    void Complete(Urb urb, int status, int actualLength) {
        urb.Fields()->status = status;
        urb.Fields()->actual_length = actualLength;
        completed.push_back(std::move(urb));
    }

    void Submit(Urb urb) {
        usbdevfs_urb* fields = urb.Fields();
        if (fields->type == USBDEVFS_URB_TYPE_CONTROL) {
            const auto answer = Control(urb.Buffer());
            if (!answer) {
                Complete(std::move(urb), -EPIPE, 0);
                return;
            }
            const std::size_t room = static_cast<std::size_t>(fields->buffer_length) - kSetupSize;
            const std::size_t length = std::min(room, answer->size());
            std::copy_n(answer->begin(), length, urb.Buffer() + kSetupSize);
            Complete(std::move(urb), 0, static_cast<int>(length));
            return;
        }
        if (halted.count(fields->endpoint) != 0) {
            Complete(std::move(urb), -EPIPE, 0);
            return;
        }
        if ((fields->endpoint & 0x80) == 0) {
            responder->Receive(
                std::span<const std::uint8_t>(urb.Buffer(), static_cast<std::size_t>(fields->buffer_length)));
            const int length = std::max(0, fields->buffer_length - bulkOutShortBy);
            Complete(std::move(urb), 0, length);
            if (bulkOutLeftBeforeUnplug > 0 && --bulkOutLeftBeforeUnplug == 0) {
                Disconnect();
            }
            return;
        }
        ++bulkInSubmissions;
        waiting.push_back(std::move(urb));
    }

    // Answers waiting IN transfers with whatever the device has to say now, packet by packet as a
    // device would: a transfer ends with a short packet, and a packet that does not fit overflows.
    void AnswerWaiting() {
        while (!waiting.empty()) {
            if (replyLeft.empty()) {
                replyLeft = responder->TakeReply();
                if (replyLeft.empty()) {
                    return;
                }
            }
            Urb urb = std::move(waiting.front());
            waiting.pop_front();
            const EmulatedEndpoint* endpoint = FindEndpoint(urb.Fields()->endpoint);
            const std::size_t packet = endpoint != nullptr ? endpoint->maxPacketSize : 64;
            const auto room = static_cast<std::size_t>(urb.Fields()->buffer_length);
            const std::size_t whole = std::min(replyLeft.size(), (room + packet - 1) / packet * packet);
            const std::size_t delivered = std::min(whole, room);
            std::copy_n(replyLeft.begin(), delivered, urb.Buffer());
            replyLeft.erase(replyLeft.begin(), replyLeft.begin() + static_cast<std::ptrdiff_t>(whole));
            Complete(std::move(urb), whole > room ? -EOVERFLOW : 0, static_cast<int>(delivered));
        }
    }

    // Unbinding a kernel driver puts the interface back to its first setting.
    void DetachDriver(unsigned int number) {
        if (driverBound[number]) {
            ++detaches;
            driverBound[number] = false;
            altSetting[number] = 0;
        }
    }

    void Disconnect() {
        unplugged = true;
        while (!waiting.empty()) {
            Urb urb = std::move(waiting.front());
            waiting.pop_front();
            Complete(std::move(urb), -ESHUTDOWN, 0);
        }
    }

    bool Handle(UMockdevIoctlClient* client);
};

namespace {

template <typename T> IoctlData Resolve(UMockdevIoctlData* arg) {
    return IoctlData(umockdev_ioctl_data_resolve(arg, 0, sizeof(T), nullptr));
}

template <typename T> T& As(const IoctlData& data) {
    return *reinterpret_cast<T*>(data->data);
}

} // namespace

bool EmulatedDevice::State::Handle(UMockdevIoctlClient* client) {
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::unique_lock lock(mutex);
    EndForeignClaim();
    const auto finish = [this, client, request](long result, int error) {
        if (request != USBDEVFS_REAPURB && request != USBDEVFS_REAPURBNDELAY &&
            request != USBDEVFS_SUBMITURB) {
            ShowDrivers();
        }
        umockdev_ioctl_client_complete(client, result, error);
    };

    if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
        AnswerWaiting();
        const auto it = std::find_if(completed.begin(), completed.end(),
                                     [client](const Urb& urb) { return urb.client == client; });
        if (it == completed.end()) {
            // The node is a plain file, so libusb polls it without pause; a short wait keeps that cheap.
            const bool gone = unplugged;
            lock.unlock();
            if (!gone) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            finish(-1, gone ? ENODEV : EAGAIN);
            return true;
        }
        IoctlData pointer = Resolve<void*>(arg);
        umockdev_ioctl_data_set_ptr(pointer.get(), 0, it->data.get());
        completed.erase(it);
        finish(0, 0);
        return true;
    }
    if (unplugged) {
        finish(-1, ENODEV);
        return true;
    }
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        ++opens; // libusb asks once on every open of the node
        IoctlData caps = Resolve<std::uint32_t>(arg);
        As<std::uint32_t>(caps) = USBDEVFS_CAP_BULK_SCATTER_GATHER;
        finish(0, 0);
        return true;
    }
    case USBDEVFS_GETDRIVER: {
        IoctlData data = Resolve<usbdevfs_getdriver>(arg);
        auto& query = As<usbdevfs_getdriver>(data);
        if (!ValidInterface(query.interface)) {
            finish(-1, EINVAL);
        } else if (Claimed(query.interface)) {
            std::snprintf(query.driver, sizeof query.driver, "usbfs");
            finish(0, 0);
        } else if (driverBound[query.interface]) {
            std::snprintf(query.driver, sizeof query.driver, "%s", kKernelDriver);
            finish(0, 0);
        } else {
            finish(-1, ENODATA);
        }
        return true;
    }
    case USBDEVFS_IOCTL: {
        IoctlData data = Resolve<usbdevfs_ioctl>(arg);
        const auto& command = As<usbdevfs_ioctl>(data);
        const auto number = static_cast<unsigned int>(command.ifno);
        if (!ValidInterface(number)) {
            finish(-1, EINVAL);
        } else if (command.ioctl_code == static_cast<int>(USBDEVFS_DISCONNECT)) {
            const bool bound = driverBound[number];
            DetachDriver(number);
            finish(bound ? 0 : -1, bound ? 0 : ENODATA);
        } else if (command.ioctl_code == static_cast<int>(USBDEVFS_CONNECT)) {
            const bool busy = Claimed(number);
            driverBound[number] = driverBound[number] || !busy;
            finish(busy ? -1 : 0, busy ? EBUSY : 0);
        } else {
            finish(-1, ENOTTY);
        }
        return true;
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
        ++claimAttempts;
        IoctlData data = Resolve<usbdevfs_disconnect_claim>(arg);
        const auto& claim = As<usbdevfs_disconnect_claim>(data);
        if (!ValidInterface(claim.interface)) {
            finish(-1, EINVAL);
        } else if (HeldByAnother(claim.interface, client)) {
            finish(-1, EBUSY);
        } else {
            DetachDriver(claim.interface);
            claimedBy[claim.interface] = client;
            finish(0, 0);
        }
        return true;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
        IoctlData data = Resolve<unsigned int>(arg);
        const unsigned int number = As<unsigned int>(data);
        if (!ValidInterface(number)) {
            finish(-1, EINVAL);
        } else if (request == USBDEVFS_RELEASEINTERFACE) {
            const bool mine = claimedBy[number] == client;
            claimedBy[number] = mine ? nullptr : claimedBy[number];
            finish(mine ? 0 : -1, mine ? 0 : EINVAL);
        } else if (++claimAttempts; driverBound[number] || HeldByAnother(number, client)) {
            finish(-1, EBUSY);
        } else {
            claimedBy[number] = client;
            finish(0, 0);
        }
        return true;
    }
    case USBDEVFS_SETINTERFACE: {
        IoctlData data = Resolve<usbdevfs_setinterface>(arg);
        const auto& select = As<usbdevfs_setinterface>(data);
        if (!ValidInterface(select.interface) || claimedBy[select.interface] != client ||
            select.altsetting >= layout.interfaces[select.interface].altSettings.size() ||
            refuseSetInterface) {
            finish(-1, EINVAL);
        } else {
            altSetting[select.interface] = static_cast<std::uint8_t>(select.altsetting);
            finish(0, 0);
        }
        return true;
    }
    case USBDEVFS_CLEAR_HALT: {
        IoctlData data = Resolve<unsigned int>(arg);
        halted.erase(static_cast<std::uint8_t>(As<unsigned int>(data)));
        finish(0, 0);
        return true;
    }
    case USBDEVFS_SUBMITURB: {
        Urb urb{client, Resolve<usbdevfs_urb>(arg)};
        const int length = urb.Fields()->buffer_length;
        IoctlData buffer(umockdev_ioctl_data_resolve(urb.data.get(), offsetof(usbdevfs_urb, buffer),
                                                     static_cast<gsize>(length), nullptr));
        const bool control = urb.Fields()->type == USBDEVFS_URB_TYPE_CONTROL;
        if (buffer == nullptr || (control && length < static_cast<int>(kSetupSize)) ||
            (!control && FindEndpoint(urb.Fields()->endpoint) == nullptr)) {
            finish(-1, EINVAL);
            return true;
        }
        Submit(std::move(urb));
        finish(0, 0);
        return true;
    }
    case USBDEVFS_DISCARDURB: {
        const auto address = reinterpret_cast<gulong>(*reinterpret_cast<void**>(arg->data));
        const auto it = std::find_if(waiting.begin(), waiting.end(), [&](const Urb& urb) {
            return urb.client == client && urb.data->client_addr == address;
        });
        if (it == waiting.end()) {
            finish(-1, EINVAL);
            return true;
        }
        Urb urb = std::move(*it);
        waiting.erase(it);
        Complete(std::move(urb), -ENOENT, 0);
        finish(0, 0);
        return true;
    }
    default:
        std::fprintf(stderr, "emulated USB device: unexpected ioctl 0x%lx\n", request);
        return false;
    }
}

namespace {

// The kernel shows a device's strings in sysfs; these are ASCII.
std::string SysfsString(const char* name, const EmulatedDeviceLayout& layout, std::uint8_t index) {
    const auto it = layout.strings.find(index);
    if (index == 0 || it == layout.strings.end()) {
        return {};
    }
    return std::string("A: ") + name + "=" + std::string(it->second.begin(), it->second.end()) + "\\n\n";
}

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer state) {
    return static_cast<EmulatedDevice::State*>(state)->Handle(client) ? TRUE : FALSE;
}

} // namespace

EmulatedDevice::EmulatedDevice(std::uint8_t bus, std::uint8_t address, EmulatedDeviceLayout layout,
                               DeviceResponder& responder)
    : state_(std::make_unique<State>()) {
    state_->layout = std::move(layout);
    state_->responder = &responder;
    const std::size_t interfaces = state_->layout.interfaces.size();
    state_->driverBound.assign(interfaces, false);
    state_->claimedBy.assign(interfaces, nullptr);
    state_->altSetting.assign(interfaces, 0);

    char node[32];
    std::snprintf(node, sizeof node, "bus/usb/%03u/%03u", bus, address);
    devNode_ = std::string("/dev/") + node;
    port_ = std::to_string(bus) + "-" + std::to_string(address);
    const std::string& port = port_;
    const std::string record =
        "P: /devices/pci0000:00/0000:00:14.0/usb" + std::to_string(bus) + "/" + port + "\nN: " + node +
        "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=" + devNode_ +
        "\nE: DRIVER=usb\nE: BUSNUM=" + std::to_string(bus) + "\nE: DEVNUM=" + std::to_string(address) +
        "\nA: busnum=" + std::to_string(bus) + "\\n\nA: devnum=" + std::to_string(address) +
        "\\n\nA: speed=480\\n\nA: bConfigurationValue=" + std::to_string(state_->layout.configurationValue) +
        "\\n\n" + SysfsString("manufacturer", state_->layout, state_->layout.iManufacturer) +
        SysfsString("product", state_->layout, state_->layout.iProduct) +
        "H: descriptors=" + Hex(DescriptorBytes(state_->layout)) + "\n";
    sysPath_ = "/sys/devices/pci0000:00/0000:00:14.0/usb" + std::to_string(bus) + "/" + port;

    UMockdevTestbed* testbed = Testbed();
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, record.c_str(), &error)) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot add emulated device: " + message);
    }
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect_after(handler, "handle-ioctl", G_CALLBACK(OnIoctl), state_.get());
    const gboolean attached = umockdev_testbed_attach_ioctl(testbed, devNode_.c_str(), handler, &error);
    g_object_unref(handler);
    if (!attached) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot attach ioctl handler: " + message);
    }
}

EmulatedDevice::~EmulatedDevice() {
    stopping_ = true;
    if (otherProgram_.joinable()) {
        otherProgram_.join();
    }
    RemoveFromTestbed();
    umockdev_testbed_detach_ioctl(Testbed(), devNode_.c_str(), nullptr);
}

void EmulatedDevice::RemoveFromTestbed() {
    if (removed_) {
        return;
    }
    removed_ = true;
    umockdev_testbed_uevent(Testbed(), sysPath_.c_str(), "remove");
    // Children first: their links under /sys/bus would otherwise outlive them and block the next device.
    for (auto child = shownChildren_.rbegin(); child != shownChildren_.rend(); ++child) {
        umockdev_testbed_remove_device(Testbed(), child->c_str());
    }
    umockdev_testbed_remove_device(Testbed(), sysPath_.c_str());
    if (!shownChildren_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(PrinterNodeInTestbed(), ignored); // whatever a test put there
    }
}

bool EmulatedDevice::DriverBound(std::uint8_t interfaceNumber) const {
    std::lock_guard lock(state_->mutex);
    state_->EndForeignClaim();
    return state_->driverBound.at(interfaceNumber);
}

bool EmulatedDevice::Claimed(std::uint8_t interfaceNumber) const {
    std::lock_guard lock(state_->mutex);
    state_->EndForeignClaim();
    return state_->ValidInterface(interfaceNumber) && state_->Claimed(interfaceNumber);
}

std::uint8_t EmulatedDevice::AltSetting(std::uint8_t interfaceNumber) const {
    std::lock_guard lock(state_->mutex);
    return state_->altSetting.at(interfaceNumber);
}

int EmulatedDevice::Opens() const {
    std::lock_guard lock(state_->mutex);
    return state_->opens;
}

int EmulatedDevice::BulkInSubmissions() const {
    std::lock_guard lock(state_->mutex);
    return state_->bulkInSubmissions;
}

int EmulatedDevice::ClaimAttempts() const {
    std::lock_guard lock(state_->mutex);
    return state_->claimAttempts;
}

int EmulatedDevice::Detaches() const {
    std::lock_guard lock(state_->mutex);
    return state_->detaches;
}

void EmulatedDevice::ShowInSysfs() {
    const std::string root = TestbedRoot();
    const std::string devicePath = sysPath_.substr(std::string("/sys").size());
    std::string records;
    for (std::size_t number = 0; number < state_->layout.interfaces.size(); ++number) {
        const std::string name =
            port_ + ":" + std::to_string(state_->layout.configurationValue) + "." + std::to_string(number);
        records += "P: " + devicePath + "/" + name + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n";
        shownChildren_.push_back(sysPath_ + "/" + name);
        if (number == 0) {
            records += "P: " + devicePath + "/" + name +
                       "/usbmisc/lp0\nN: usb/lp0=00\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=/dev/usb/lp0\n\n";
            shownChildren_.push_back(sysPath_ + "/" + name + "/usbmisc/lp0");
        }
    }
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(Testbed(), records.c_str(), &error)) {
        const std::string message = error != nullptr ? error->message : "unknown error";
        g_clear_error(&error);
        throw std::runtime_error("cannot show the interfaces in sysfs: " + message);
    }
    std::lock_guard lock(state_->mutex);
    state_->sysfsInterfaces = root + sysPath_;
    state_->sysfsName = port_;
    state_->ShowDrivers();
}

std::string EmulatedDevice::PrinterNodeInTestbed() const {
    return TestbedRoot() + "/dev/usb/lp0";
}

void EmulatedDevice::BindDriver(std::uint8_t interfaceNumber) {
    std::lock_guard lock(state_->mutex);
    state_->driverBound.at(interfaceNumber) = true;
    state_->ShowDrivers();
}

void EmulatedDevice::UnbindDriver(std::uint8_t interfaceNumber) {
    std::lock_guard lock(state_->mutex);
    state_->driverBound.at(interfaceNumber) = false;
    state_->ShowDrivers();
}

void EmulatedDevice::TakeNow(std::chrono::milliseconds holdFor) {
    StartOtherProgram();
    std::lock_guard lock(state_->mutex);
    state_->takenUntil = std::chrono::steady_clock::now() + holdFor;
    state_->ShowDrivers();
}

void EmulatedDevice::StartOtherProgram() {
    if (otherProgram_.joinable()) {
        return;
    }
    otherProgram_ = std::thread([this] {
        while (!stopping_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::lock_guard lock(state_->mutex);
            state_->EndForeignClaim();
        }
    });
}

void EmulatedDevice::Halt(std::uint8_t endpointAddress) {
    std::lock_guard lock(state_->mutex);
    state_->halted.insert(endpointAddress);
}

void EmulatedDevice::Unplug() {
    {
        std::lock_guard lock(state_->mutex);
        state_->Disconnect();
    }
    RemoveFromTestbed();
}

void EmulatedDevice::UnplugAfterBulkOut(int transfers) {
    std::lock_guard lock(state_->mutex);
    state_->bulkOutLeftBeforeUnplug = transfers;
}

void EmulatedDevice::RefuseSetInterface() {
    std::lock_guard lock(state_->mutex);
    state_->refuseSetInterface = true;
}

void EmulatedDevice::ShortenBulkOut(int bytes) {
    std::lock_guard lock(state_->mutex);
    state_->bulkOutShortBy = bytes;
}

} // namespace usbfs_test
