#pragma once

#include "protocol/CommandFile.h"

#include <QString>
#include <span>

namespace cli {

// save-commands' groups as the command line names them: the window's power and print tabs.
struct GroupWord {
    const char* name;
    protocol::CommandGroup group;
};
std::span<const GroupWord> GroupWords();
const GroupWord* FindGroup(const QString& name);
QString GroupName(protocol::CommandGroup group);
// The names of the settings a group's command file carries: "info-print, command-mode".
QString GroupSettings(protocol::CommandGroup group);

} // namespace cli
