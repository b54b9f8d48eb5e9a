#pragma once

#include "cli/CommandLine.h"

#include <cstdint>
#include <span>

namespace platform {
class UsbBus;
}

namespace cli {

// The commands that talk to the printer on `bus`. Each returns the exit status.
int RunGet(platform::UsbBus& bus, const Invocation& invocation);
int RunSet(platform::UsbBus& bus, const Invocation& invocation);
int RunReset(platform::UsbBus& bus, const Invocation& invocation);
int RunStatus(platform::UsbBus& bus, const Invocation& invocation);
// Sends a command file already read and checked (ReadValidCommandFile).
int RunSend(platform::UsbBus& bus, const Invocation& invocation, std::span<const std::uint8_t> bytes);

// A reset goes ahead with --yes, or when the user confirms it on a terminal for this many printers;
// otherwise says on stderr why nothing is sent.
bool ResetConfirmed(bool yes, int printers);

} // namespace cli
