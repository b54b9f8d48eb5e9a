#pragma once

#include "cli/CommandLine.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace cli {

// save-commands: builds the group's bytes and writes them atomically. Returns the exit status.
int RunSaveCommands(const Invocation& invocation);

// inspect: checks a command file and prints what it carries. Returns the exit status.
int RunInspect(const Invocation& invocation);

// Reads a file that should be a command file ("-": standard input) and checks it; on failure prints
// the one error line (and the JSON verdict when asked), sets `exitCode` to the file error or the
// invalid-file status and returns nullopt. Shared by inspect and send.
std::optional<std::vector<std::uint8_t>> ReadValidCommandFile(const QString& path, bool json,
                                                              bool printSettings, int& exitCode);

// The two halves of ReadValidCommandFile. A whole file named on the command line ("-": standard
// input), at most a command file's largest size; failures as above, with the file error status.
std::optional<std::vector<std::uint8_t>> ReadInputFile(const QString& path, int& exitCode);
// Checks bytes read from `path` as a command file; whether they are one.
bool CheckCommandFileBytes(const QString& path, std::span<const std::uint8_t> bytes, bool json,
                           bool printSettings, int& exitCode);

} // namespace cli
