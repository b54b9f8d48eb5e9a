#pragma once

#include "cli/CommandLine.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace cli {

// save-commands: builds the group's bytes and writes them atomically. Returns the exit status.
int RunSaveCommands(const Invocation& invocation);

// inspect: checks a command file and prints what it carries. Returns the exit status.
int RunInspect(const Invocation& invocation);

// Reads a file that should be a command file and checks it; on failure prints the one error line
// (and the JSON verdict when asked) and returns nullopt. Shared by inspect and send.
std::optional<std::vector<std::uint8_t>> ReadValidCommandFile(const QString& path, bool json,
                                                              bool printSettings);

} // namespace cli
