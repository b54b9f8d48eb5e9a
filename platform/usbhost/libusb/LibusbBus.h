#pragma once

#include "platform/usbhost/UsbInterface.h"

#include <chrono>
#include <memory>

namespace platform {

inline constexpr std::chrono::milliseconds kDefaultInUseWait{5000};

struct LibusbOptions {
    // How long opening the printer waits while another program uses it (a print job or another run of
    // ours holding usblp's device node, a claimed interface) before it reports the printer in use; and
    // how long an exchange another program cut short waits for the printer to be free again.
    std::chrono::milliseconds inUseWait = kDefaultInUseWait;
};

// The USB host as libusb sees it. Each listing takes a fresh look at the bus, so a printer plugged in
// after start-up is found without relying on hot-plug events; where libusb has hot-plug support,
// WatchDeviceChanges tells when to look.
std::unique_ptr<UsbBus> CreateLibusbBus(LibusbOptions options = {});

} // namespace platform
