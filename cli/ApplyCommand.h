#pragma once

#include "cli/CommandLine.h"
#include "cli/SettingWords.h"

#include <span>

namespace platform {
class UsbBus;
}

namespace cli {

// apply on one printer: reads each setting in `desired`, writes only those whose value differs (none
// with --check), reads each written one back and compares, and prints every setting before and
// after. Returns 0 when the printer holds the desired state afterwards, 4 when it answered another
// value for one of them, else the link failure's status; on a link failure nothing goes to stdout.
int RunApply(platform::UsbBus& bus, const Invocation& invocation, std::span<const ChosenValue> desired);

} // namespace cli
