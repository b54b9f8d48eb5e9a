#pragma once

#include <cstdint>

namespace protocol {

// What a settings operation acts on. A plain integer, because callers pass numbers through the
// link and the command line; the settings table (SettingsTable.h) says which numbers carry a value.
using SettingKind = std::int32_t;

// The settings that other code names by themselves: the reset reads power-on and auto power-off, and
// command mode has a frame of its own. Every setting is a row of the table.
inline constexpr SettingKind kPowerOn = 1;
inline constexpr SettingKind kAutoPowerOff = 2;
inline constexpr SettingKind kNetwork = 3;
inline constexpr SettingKind kInfoPrint = 4;
inline constexpr SettingKind kCommandMode = 5;
// The reset of the printer's settings: written only, never read.
inline constexpr SettingKind kReset = 6;

} // namespace protocol
