#pragma once

// Private to the libusb backend: devices arriving and leaving, as libusb's hot-plug support sees them.

#include "platform/usbhost/UsbDeviceChanges.h"

#include <memory>

namespace platform::libusb {

// A libusb context of its own with a hot-plug callback for every device, and a thread that handles
// its events and calls `changed`. nullptr where libusb has no hot-plug support here.
std::unique_ptr<UsbChangeSubscription> WatchDeviceChanges(UsbDevicesChanged changed);

} // namespace platform::libusb
