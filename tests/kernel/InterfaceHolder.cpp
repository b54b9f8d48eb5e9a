// lm360r-kernel-holder SECONDS: another program that uses the printer. It claims the first
// printer-class interface through libusb (the kernel driver stepping aside), says "holding", keeps it
// for SECONDS and gives it back to the kernel driver.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <libusb.h>
#include <memory>
#include <thread>

namespace {

constexpr int kPrinterClass = 7;

struct Found {
    libusb_device* device = nullptr;
    int interface = -1;
};

Found FindPrinterInterface(libusb_device** list) {
    for (libusb_device** d = list; *d != nullptr; ++d) {
        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(*d, &config) != LIBUSB_SUCCESS) {
            continue;
        }
        const std::unique_ptr<libusb_config_descriptor, decltype(&libusb_free_config_descriptor)> owned(
            config, libusb_free_config_descriptor);
        for (int i = 0; i < config->bNumInterfaces; ++i) {
            const libusb_interface_descriptor& first = config->interface[i].altsetting[0];
            if (first.bInterfaceClass == kPrinterClass) {
                return {*d, first.bInterfaceNumber};
            }
        }
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lm360r-kernel-holder SECONDS\n");
        return 1;
    }
    const auto seconds = std::chrono::seconds(std::atoi(argv[1]));
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        return 2;
    }
    const std::unique_ptr<libusb_context, decltype(&libusb_exit)> ownedContext(context, libusb_exit);
    libusb_device** list = nullptr;
    if (libusb_get_device_list(context, &list) < 0) {
        return 2;
    }
    const std::unique_ptr<libusb_device*, void (*)(libusb_device**)> ownedList(
        list, [](libusb_device** l) { libusb_free_device_list(l, 1); });
    const Found found = FindPrinterInterface(list);
    libusb_device_handle* handle = nullptr;
    if (found.device == nullptr || libusb_open(found.device, &handle) != LIBUSB_SUCCESS) {
        std::fprintf(stderr, "lm360r-kernel-holder: no printer interface to open\n");
        return 2;
    }
    const std::unique_ptr<libusb_device_handle, decltype(&libusb_close)> ownedHandle(handle, libusb_close);
    libusb_set_auto_detach_kernel_driver(handle, 1);
    if (const int status = libusb_claim_interface(handle, found.interface); status != LIBUSB_SUCCESS) {
        std::fprintf(stderr, "lm360r-kernel-holder: claim failed: %s\n", libusb_error_name(status));
        return 3;
    }
    std::printf("holding interface %d for %lld s\n", found.interface,
                static_cast<long long>(seconds.count()));
    std::fflush(stdout);
    std::this_thread::sleep_for(seconds);
    libusb_release_interface(handle, found.interface);
    return 0;
}
