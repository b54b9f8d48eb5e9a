#pragma once

#include "cli/SettingNames.h"
#include "protocol/SettingKind.h"

#include <QString>
#include <optional>

namespace cli {

// A value chosen for a setting, as `set` takes it: the setting and the list index of its word.
struct SettingChoice {
    protocol::SettingKind kind = 0;
    int index = -1;
};

// What the command line says when a setting or value word is wrong, shared by every command that
// takes them, so that they all refuse alike. Each returns nullopt when the word was understood.

// "unknown setting "X" (one of power-on, ...)"
std::optional<QString> ReadSettingName(const QString& word, const CliSetting*& setting);
// ""X" is not a value of network (1|2|3)"
std::optional<QString> ReadValueWord(protocol::SettingKind kind, const QString& word, int& index);
// A setting to write and its value word, as `set SETTING VALUE` takes them; command-mode is read-only.
std::optional<QString> ReadSettingChoice(const QString& setting, const QString& word, SettingChoice& choice);

// The VALUE words a setting takes, for help and errors: "0|10|20|30|40|50|60 (minutes)".
QString ValuesOf(protocol::SettingKind kind);

} // namespace cli
