#pragma once

#include "cli/CommandLine.h"

namespace cli {

// list: every printer-class USB interface present and who it says it is. Returns the exit status:
// 0 when one of them is the target printer, 2 when none is.
int RunList(const Invocation& invocation);

} // namespace cli
