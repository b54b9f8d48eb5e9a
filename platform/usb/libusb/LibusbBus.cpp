#include "platform/usb/libusb/LibusbBus.h"

#include "platform/usb/libusb/LibusbHotplug.h"
#include "platform/usb/libusb/LibusbInterface.h"

#include <algorithm>
#include <tuple>

namespace platform {
namespace {

using libusb::ConfigDescriptorPtr;
using libusb::DevicePtr;

// One interface number of one device's active configuration. Listing reads only what the kernel has
// cached, so devices the user may not open are listed without being touched.
class LibusbInterfaceEntry final : public UsbInterfaceEntry {
  public:
    LibusbInterfaceEntry(DevicePtr device, std::uint8_t interfaceNumber, std::chrono::milliseconds inUseWait)
        : device_(std::move(device)), interfaceNumber_(interfaceNumber), inUseWait_(inUseWait) {}

    UsbStatus CreateInterface(std::unique_ptr<UsbInterface>& handle) override {
        ConfigDescriptorPtr config;
        if (const UsbStatus status = libusb::ReadActiveConfig(device_.get(), config); status != kUsbOk) {
            return status;
        }
        for (int i = 0; i < config->bNumInterfaces; ++i) {
            const libusb_interface& interface = config->interface[i];
            if (interface.num_altsetting > 0 &&
                interface.altsetting[0].bInterfaceNumber == interfaceNumber_) {
                handle = std::make_unique<libusb::LibusbInterface>(device_, std::move(config), &interface,
                                                                   inUseWait_);
                return kUsbOk;
            }
        }
        return kUsbErrorNotFound;
    }

    auto SortKey() const {
        return std::make_tuple(libusb_get_bus_number(device_.get()), libusb_get_device_address(device_.get()),
                               interfaceNumber_);
    }

  private:
    DevicePtr device_;
    std::uint8_t interfaceNumber_;
    std::chrono::milliseconds inUseWait_;
};

struct DeviceListDeleter {
    void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};

class LibusbBus final : public UsbBus {
  public:
    explicit LibusbBus(LibusbOptions options) : options_(options) {}

    UsbStatus ListInterfaces(std::vector<std::unique_ptr<UsbInterfaceEntry>>& entries) override {
        entries.clear();
        // A context per listing: its enumeration is current even where no hot-plug events arrive, and
        // it lives exactly as long as the devices and handles taken from it.
        libusb_context* rawContext = nullptr;
        if (const int status = libusb_init(&rawContext); status != LIBUSB_SUCCESS) {
            return status;
        }
        const std::shared_ptr<libusb_context> context(rawContext, libusb_exit);

        libusb_device** rawList = nullptr;
        const ssize_t count = libusb_get_device_list(rawContext, &rawList);
        if (count < 0) {
            return static_cast<UsbStatus>(count);
        }
        const std::unique_ptr<libusb_device*, DeviceListDeleter> list(rawList);

        std::vector<std::unique_ptr<LibusbInterfaceEntry>> found;
        for (ssize_t d = 0; d < count; ++d) {
            libusb_device* raw = list.get()[d];
            ConfigDescriptorPtr config;
            // An unconfigured device, or one gone since the enumeration, has no interfaces to offer.
            if (libusb::ReadActiveConfig(raw, config) != kUsbOk) {
                continue;
            }
            const DevicePtr device(libusb_ref_device(raw),
                                   [context](libusb_device* dev) { libusb_unref_device(dev); });
            for (int i = 0; i < config->bNumInterfaces; ++i) {
                const libusb_interface& interface = config->interface[i];
                if (interface.num_altsetting > 0) {
                    found.push_back(std::make_unique<LibusbInterfaceEntry>(
                        device, interface.altsetting[0].bInterfaceNumber, options_.inUseWait));
                }
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a->SortKey() < b->SortKey(); });
        entries.reserve(found.size());
        for (auto& entry : found) {
            entries.push_back(std::move(entry));
        }
        return kUsbOk;
    }

    std::unique_ptr<UsbChangeSubscription> WatchDeviceChanges(UsbDevicesChanged changed) override {
        return libusb::WatchDeviceChanges(std::move(changed));
    }

  private:
    LibusbOptions options_;
};

} // namespace

std::unique_ptr<UsbBus> CreateLibusbBus(LibusbOptions options) {
    return std::make_unique<LibusbBus>(options);
}

} // namespace platform
