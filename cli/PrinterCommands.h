#pragma once

#include "cli/CommandLine.h"

namespace cli {

// The commands that talk to the printer. Each returns the exit status.
int RunGet(const Invocation& invocation);
int RunSet(const Invocation& invocation);
int RunReset(const Invocation& invocation);
int RunStatus(const Invocation& invocation);
int RunSend(const Invocation& invocation);

} // namespace cli
