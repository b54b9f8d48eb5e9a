#pragma once

#include "platform/usbhost/UsbInterface.h"
#include "platform/usbhost/libusb/LibusbBus.h"

#include <memory>

// What a program tells the bus it chose. The simulated printer is never in use by another program and
// needs none of it.
struct BusOptions {
    platform::LibusbOptions libusb;
};

// The USB bus a program talks to, chosen once by its main() like a platform plug-in, with the program's
// options: the machine's own (libusb), or with LM360R_USB=simulated the simulated printer, its settings
// kept in the file LM360R_SIM_STATE names when it is set. The two are siblings behind platform::UsbBus.
std::unique_ptr<platform::UsbBus> ChooseUsbBus(const BusOptions& options = {});
