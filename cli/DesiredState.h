#pragma once

#include "cli/CommandLine.h"
#include "cli/SettingWords.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace cli {

// apply's SETTING=VALUE words, each checked as `set SETTING VALUE` is and each setting at most once.
// Returns the usage error, or nullopt with `choices` in setting order.
std::optional<QString> ReadAssignments(const QStringList& words, std::vector<ChosenValue>& choices);

// What apply is to bring the printer to: the settings of `invocation.file` when --from names one,
// then the SETTING=VALUE arguments, which win for the same setting; in setting order. The file is a
// command file (checked as inspect checks it) or the JSON document `get --json` prints; their
// read-only settings describe the printer they came from and are left out. A file that cannot be
// read, or whose settings or values `set` would refuse, is reported in one line on stderr, `exitCode`
// set (6 or 5) and nullopt returned.
std::optional<std::vector<ChosenValue>> ReadDesiredState(const Invocation& invocation, int& exitCode);

} // namespace cli
