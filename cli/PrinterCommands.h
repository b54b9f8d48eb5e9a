#pragma once

#include "cli/CommandLine.h"

namespace platform {
class UsbBus;
}

namespace cli {

// The commands that talk to the printer on `bus`. Each returns the exit status.
int RunGet(platform::UsbBus& bus, const Invocation& invocation);
int RunSet(platform::UsbBus& bus, const Invocation& invocation);
int RunReset(platform::UsbBus& bus, const Invocation& invocation);
int RunStatus(platform::UsbBus& bus, const Invocation& invocation);
int RunSend(platform::UsbBus& bus, const Invocation& invocation);

} // namespace cli
