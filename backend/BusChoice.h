#pragma once

#include "platform/usb/UsbInterface.h"

#include <memory>

namespace backend {

// The USB bus a program talks to, chosen once by its main() like a platform plug-in: the machine's
// own (libusb), or with LM360R_USB=simulated the simulated printer, its settings kept in the file
// LM360R_SIM_STATE names when it is set.
std::unique_ptr<platform::UsbBus> ChooseUsbBus();

} // namespace backend
