#pragma once

#include "platform/usb/UsbInterface.h"

namespace platform {

// The bus of this process, chosen on first use: LM360R_USB=simulated gives the simulated printer
// (its settings kept in LM360R_SIM_STATE when set), anything else the real USB bus.
UsbBus& ProcessUsbBus();

} // namespace platform
