#pragma once

#include <QStringList>

namespace cli {

// The first word that asks for completions instead of a command: the shell completions ask the
// program for the settings and their words, so they never fall behind the settings table.
inline constexpr const char* kCompleteWord = "__complete";

// `lm360rctl __complete WHAT [ARGUMENT]` prints one candidate a line, "WORD<TAB>DESCRIPTION":
//   settings           every setting's name
//   writable           the settings `set` takes
//   values SETTING     the words the setting takes
//   groups             the groups of save-commands
//   group-options GROUP  the setting options of a save-commands group (of both without one)
// Returns the exit status: 1 for anything else.
int RunCompletion(const QStringList& words);

} // namespace cli
