#pragma once

#include "platform/usb/UsbInterface.h"

#include <memory>

namespace platform {

// The machine's own USB host.
std::unique_ptr<UsbBus> CreateRealUsbBus();

} // namespace platform
