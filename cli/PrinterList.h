#pragma once

#include "cli/CommandLine.h"

namespace platform {
class UsbBus;
}

namespace cli {

// list: every printer-class USB interface present and who it says it is. Returns the exit status:
// 0 when one of them is the target printer, 2 when none is.
int RunList(platform::UsbBus& bus, const Invocation& invocation);

} // namespace cli
