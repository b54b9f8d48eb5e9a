#pragma once

#include "platform/usbhost/UsbInterface.h"

#include <memory>

namespace simulator {

// The bus a process gets with LM360R_USB=simulated. With a state file (LM360R_SIM_STATE) its printers
// and their settings come from that file, and every change a printer stores is written back to it
// at once, so the next process finds it; while the process runs, adding or removing a [printer] in the
// file plugs that printer in or out. Without one: one default printer, forgotten at exit.
// A missing or unreadable file starts from one default printer and says so once on stderr; a file
// that exists but cannot be understood is never overwritten.
std::unique_ptr<platform::UsbBus> CreateProcessSimulatedBus(const char* stateFile);

} // namespace simulator
