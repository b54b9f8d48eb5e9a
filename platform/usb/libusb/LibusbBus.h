#pragma once

#include "platform/usb/UsbInterface.h"

#include <chrono>
#include <memory>

namespace platform {

inline constexpr std::chrono::milliseconds kDefaultInUseWait{5000};

struct LibusbOptions {
    // How long opening the printer waits while another program uses it (a claimed interface, a print
    // job holding the kernel driver's device node, another run of ours) before it reports the printer
    // in use; and how long giving the driver back waits for a program that took the interface first.
    std::chrono::milliseconds inUseWait = kDefaultInUseWait;
};

// The USB host as libusb sees it. Each listing takes a fresh look at the bus, so a printer plugged in
// after start-up is found without relying on hot-plug events; where libusb has hot-plug support,
// WatchDeviceChanges tells when to look.
std::unique_ptr<UsbBus> CreateLibusbBus(LibusbOptions options = {});

} // namespace platform
