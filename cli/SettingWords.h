#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingsTable.h"

#include <QString>

namespace cli {

// The command line's names and words for the settings, all taken from the settings table.

// "power-on"; a kind without a row is named by its number.
QString SettingName(protocol::SettingKind kind);
// Every setting's name: "power-on, auto-power-off, network, info-print, command-mode".
QString SettingNames();

// The words a setting takes and what they stand for, for help and errors:
// "off|on", "0|10|20|30|40|50|60 (minutes)", "1|2|3 (Mode 1, Mode 2, Mode 3)"; empty when the
// setting cannot be chosen.
QString ValueWords(const protocol::SettingRow& setting);

// The setting's one-sentence help, in the catalogue's language (lm360rctl installs only English).
QString SettingHelp(const protocol::SettingRow& setting);

// What the window shows for a text of the setting, with the unit's terse form after it: "60 min".
QString ShownText(const protocol::SettingRow& setting, const protocol::SettingText& text);

} // namespace cli
