#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingsTable.h"

#include <QString>
#include <optional>

namespace cli {

// The command line's names and words for the settings, all taken from the settings table, and the
// words it says when a setting or value word is wrong: every command that takes them refuses alike.

// "power-on"; a kind without a row is named by its number.
QString SettingName(protocol::SettingKind kind);
// Every setting's name: "power-on, auto-power-off, network, info-print, command-mode".
QString SettingNames();

// The words a setting takes and what they stand for, for help and errors:
// "off|on", "0|10|20|30|40|50|60 (minutes)", "1|2|3 (Mode 1, Mode 2, Mode 3)"; empty when the
// setting cannot be chosen.
QString ValueWords(const protocol::SettingRow& setting);
QString ValuesOf(protocol::SettingKind kind);

// The setting's one-sentence help, in the catalogue's language (lm360rctl installs only English).
QString SettingHelp(const protocol::SettingRow& setting);

// What the window shows for a text of the setting, with the unit's terse form after it: "60 min".
QString ShownText(const protocol::SettingRow& setting, const protocol::SettingText& text);

// A value chosen for a setting, as `set` takes it: the setting and the list index of its word.
struct ChosenValue {
    protocol::SettingKind kind = 0;
    int index = -1;
};

// Each returns nullopt when the word was understood, else the line that says what is wrong.
// "unknown setting "X" (one of power-on, ...)"
std::optional<QString> ReadSettingName(const QString& word, const protocol::SettingRow*& setting);
// ""X" is not a value of network (1|2|3 ...)"
std::optional<QString> ReadValueWord(protocol::SettingKind kind, const QString& word, int& index);
// A setting to write and its value word, as `set SETTING VALUE` takes them; command-mode is read-only.
std::optional<QString> ReadChosenValue(const QString& setting, const QString& word, ChosenValue& chosen);

} // namespace cli
