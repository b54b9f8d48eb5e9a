#include "platform/usbhost/libusb/LibusbBus.h"

#include "platform/usbhost/libusb/InterfaceSysfs.h"
#include "platform/usbhost/libusb/LibusbHotplug.h"
#include "platform/usbhost/libusb/LibusbInterface.h"
#include "platform/usbhost/libusb/PlugMemory.h"
#include "platform/usbhost/libusb/PlugWatch.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <tuple>

namespace platform {
namespace {

using libusb::ConfigDescriptorPtr;
using libusb::DevicePtr;
using libusb::Plug;
using libusb::PlugMemory;

// The names of the devices' usbfs nodes ("001/002"): every plug gets an address, and with it a node,
// of its own, so they change whenever a device comes or goes. nullopt where there are none to read.
// One interface number of one device's active configuration. Listing reads only what the kernel has
// cached, so devices the user may not open are listed without being touched.
class LibusbInterfaceEntry final : public UsbInterfaceEntry {
  public:
    LibusbInterfaceEntry(DevicePtr device, ConfigDescriptorPtr config, std::uint8_t interfaceNumber,
                         std::chrono::milliseconds inUseWait, std::shared_ptr<PlugMemory> memory)
        : device_(std::move(device)), config_(std::move(config)), interfaceNumber_(interfaceNumber),
          inUseWait_(inUseWait), memory_(std::move(memory)) {}

    UsbStatus CreateInterface(std::unique_ptr<UsbInterface>& handle) override {
        for (int i = 0; i < config_->bNumInterfaces; ++i) {
            const libusb_interface& interface = config_->interface[i];
            if (interface.num_altsetting > 0 &&
                interface.altsetting[0].bInterfaceNumber == interfaceNumber_) {
                handle = std::make_unique<libusb::LibusbInterface>(device_, config_, &interface, inUseWait_,
                                                                   memory_);
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
    ConfigDescriptorPtr config_; // the active configuration when the bus was listed
    std::uint8_t interfaceNumber_;
    std::chrono::milliseconds inUseWait_;
    std::shared_ptr<PlugMemory> memory_;
};

struct DeviceListDeleter {
    void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};

class LibusbBus final : public UsbBus {
  public:
    explicit LibusbBus(LibusbOptions options) : options_(options) {}

    UsbStatus ListInterfaces(std::vector<std::unique_ptr<UsbInterfaceEntry>>& entries) override {
        entries.clear();
        std::shared_ptr<libusb_context> context;
        if (const UsbStatus status = CurrentContext(context); status != kUsbOk) {
            return status;
        }
        libusb_device** rawList = nullptr;
        const ssize_t count = libusb_get_device_list(context.get(), &rawList);
        if (count < 0) {
            return static_cast<UsbStatus>(count);
        }
        const std::unique_ptr<libusb_device*, DeviceListDeleter> list(rawList);

        std::vector<std::unique_ptr<LibusbInterfaceEntry>> found;
        std::set<Plug> listed;
        for (ssize_t d = 0; d < count; ++d) {
            libusb_device* raw = list.get()[d];
            listed.insert({libusb_get_bus_number(raw), libusb_get_device_address(raw)});
            // A hub's one interface is its hub interface: not looking at it spares a question of sysfs
            // per hub and listing, which a slow machine feels on every exchange.
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(raw, &descriptor) == LIBUSB_SUCCESS &&
                descriptor.bDeviceClass == LIBUSB_CLASS_HUB) {
                continue;
            }
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
                        device, config, interface.altsetting[0].bInterfaceNumber, options_.inUseWait,
                        memory_));
                }
            }
        }
        memory_->KeepOnly(listed);
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
    // The context the last listing enumerated while no device came or went since; a new one (a new
    // enumeration) otherwise, so a listing is current even where no hot-plug events arrive, and costs
    // almost nothing when nothing changed. A context lives as long as the devices and handles taken
    // from it.
    UsbStatus CurrentContext(std::shared_ptr<libusb_context>& context) {
        const std::lock_guard lock(mutex_);
        if (!context_ || !watch_ || watch_->Changed()) {
            // Watched before the enumeration: a device that comes while it runs is seen next time.
            watch_ = libusb::PlugWatch::Start();
            libusb_context* raw = nullptr;
            if (const int status = libusb_init(&raw); status != LIBUSB_SUCCESS) {
                return status;
            }
            context_.reset(raw, libusb_exit);
        }
        context = context_;
        return kUsbOk;
    }

    LibusbOptions options_;
    std::shared_ptr<PlugMemory> memory_ = std::make_shared<PlugMemory>();
    std::mutex mutex_;
    std::shared_ptr<libusb_context> context_;
    std::unique_ptr<libusb::PlugWatch> watch_; // since context_ enumerated the devices
};

} // namespace

std::unique_ptr<UsbBus> CreateLibusbBus(LibusbOptions options) {
    return std::make_unique<LibusbBus>(options);
}

} // namespace platform
