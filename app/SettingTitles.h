#pragma once

#include "protocol/SettingKind.h"

#include <QString>
#include <string_view>

// The key of the title of a setting's box (kinds 1-4); empty for the command mode, which the window
// never shows.
std::string_view SettingTitleKey(protocol::SettingKind kind);

// A setting's name as the user sees it: its box title, else the command line's name.
QString SettingTitle(protocol::SettingKind kind);

// A value as the setting shows it, followed by the value byte: "On (1)", "20 minutes (2)", "(5)".
QString ValueWithCode(protocol::SettingKind kind, int value);
