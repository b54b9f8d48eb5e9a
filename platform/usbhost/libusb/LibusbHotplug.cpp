#include "platform/usbhost/libusb/LibusbHotplug.h"

#include <atomic>
#include <libusb.h>
#include <thread>

namespace platform::libusb {
namespace {

// How long one wait for events lasts at most: the bound on ending the watch should the wake-up
// from libusb_interrupt_event_handler be missed.
constexpr int kEventWaitSeconds = 1;

class HotplugWatch final : public UsbChangeSubscription {
  public:
    HotplugWatch(libusb_context* context, UsbDevicesChanged changed)
        : context_(context), changed_(std::move(changed)) {}

    ~HotplugWatch() override {
        running_ = false;
        if (registered_) {
            libusb_hotplug_deregister_callback(context_, handle_);
        }
        libusb_interrupt_event_handler(context_);
        if (thread_.joinable()) {
            thread_.join();
        }
        libusb_exit(context_);
    }
    HotplugWatch(const HotplugWatch&) = delete;
    HotplugWatch& operator=(const HotplugWatch&) = delete;

    bool Start() {
        const int status = libusb_hotplug_register_callback(
            context_,
            static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                              LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
            LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
            LIBUSB_HOTPLUG_MATCH_ANY, &HotplugWatch::Notify, this, &handle_);
        if (status != LIBUSB_SUCCESS) {
            return false;
        }
        registered_ = true;
        thread_ = std::thread([this] { HandleEvents(); });
        return true;
    }

  private:
    static int LIBUSB_CALL Notify(libusb_context* /*context*/, libusb_device* /*device*/,
                                  libusb_hotplug_event /*event*/, void* watch) {
        static_cast<HotplugWatch*>(watch)->changed_();
        return 0; // stay registered
    }

    void HandleEvents() {
        while (running_) {
            timeval wait{kEventWaitSeconds, 0};
            libusb_handle_events_timeout_completed(context_, &wait, nullptr);
        }
    }

    libusb_context* context_;
    UsbDevicesChanged changed_;
    libusb_hotplug_callback_handle handle_ = 0;
    bool registered_ = false;
    std::atomic<bool> running_ = true;
    std::thread thread_;
};

} // namespace

std::unique_ptr<UsbChangeSubscription> WatchDeviceChanges(UsbDevicesChanged changed) {
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        return nullptr;
    }
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) {
        libusb_exit(context);
        return nullptr;
    }
    auto watch = std::make_unique<HotplugWatch>(context, std::move(changed));
    if (!watch->Start()) {
        return nullptr; // the watch's destructor gives the context back
    }
    return watch;
}

} // namespace platform::libusb
