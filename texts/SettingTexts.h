#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingsTable.h"

#include <QString>

// What both programs show for a setting, in the user's language (the catalogues' texts).
namespace texts {

// A setting's text: a key's display text, a verbatim text as it stands (the same in every
// language), or nothing.
QString Shown(const protocol::SettingText& text);

// A setting's name as the user sees it: its box title, else the command line's name.
QString SettingTitle(protocol::SettingKind kind);

// A value as the setting shows it, followed by the value byte: "On (1)", "20 minutes (2)", "(5)".
QString ValueWithCode(protocol::SettingKind kind, int value);

} // namespace texts
