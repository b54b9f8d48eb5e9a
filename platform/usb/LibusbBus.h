#pragma once

#include "platform/usb/UsbInterface.h"

#include <memory>

namespace platform {

// The USB host as libusb sees it. Each listing takes a fresh look at the bus, so a printer plugged in
// after start-up is found without relying on hot-plug events; where libusb has hot-plug support,
// WatchDeviceChanges tells when to look.
std::unique_ptr<UsbBus> CreateLibusbBus();

} // namespace platform
