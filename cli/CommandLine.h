#pragma once

#include "cli/SettingWords.h"
#include "protocol/CommandFile.h"
#include "protocol/SettingKind.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace cli {

enum class Command { List, Get, Set, Reset, Status, SaveCommands, Inspect, Send, Apply };

// A command line that was understood, with every word already turned into what it stands for.
struct Invocation {
    Command command = Command::List;
    QString serial;   // empty: any printer of the model
    bool all = false; // --all: every LM-360R attached, in turn
    bool json = false;
    bool yes = false;                                     // reset: no confirmation asked
    std::vector<protocol::SettingKind> kinds;             // get: what to read, in order; set: the one setting
    int index = -1;                                       // set: the list index of the value
    protocol::CommandGroup group = protocol::kPowerGroup; // save-commands
    protocol::CommandSelections selections;               // save-commands
    std::vector<ChosenValue> choices;                     // apply: SETTING=VALUE, in setting order
    bool check = false;                                   // apply: say what would change, write nothing
    QString file; // save-commands: output (see OutputPath); inspect, send, apply --from: input; "-": standard
                  // stream
    int waitMilliseconds = -1; // --wait: how long a printer in use is waited for; -1: the default
};

struct ParsedCommandLine {
    enum class Outcome { Run, Help, Version, UsageError };
    Outcome outcome = Outcome::UsageError;
    Invocation invocation; // Run
    QString text;          // Help: the help text; UsageError: one line saying what is wrong
};

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);

// ".bin" is added unless the name already ends in it (in any letter case).
QString WithCommandFileExtension(const QString& path);

// Where save-commands writes for `-o OUTPUT`: "-" (standard output) and a folder as they are, any
// other name with its extension.
QString OutputPath(const QString& output);

} // namespace cli
