#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingsTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace protocol {

// A command file carries the write frames of one tab's settings, in table order, behind a short
// header. Group codes: the power tab saves group 1, the print tab group 4.
using CommandGroup = std::int32_t;
inline constexpr CommandGroup kPowerGroup = 1;
inline constexpr CommandGroup kPrintGroup = 4;

// The tab whose settings a group's file carries; nullopt for any other code.
std::optional<SettingTab> TabOfGroup(CommandGroup group);

// The selected list index of each setting; a setting left out counts as nothing selected (-1). A
// setting with a fixed write is not read: its frame carries the fixed byte.
using CommandSelections = std::map<SettingKind, int>;

// The whole file for a group; any group code other than 1 and 4 gives a single 00 as its settings.
std::vector<std::uint8_t> BuildCommandFile(CommandGroup group, const CommandSelections& selections);

// Layout, for readers of command files.
inline constexpr std::array<std::uint8_t, 4> kCommandFileHeader{0x1B, 'i', 'U', 'O'};
inline constexpr std::array<std::uint8_t, 4> kCommandFileConstant{0x10, '4', '6', 0x00};
inline constexpr std::size_t kCommandFileLengthOffset = 8;
inline constexpr std::size_t kCommandFileLengthSize = 8; // unsigned 64-bit, little-endian
inline constexpr std::size_t kCommandFileModeFrameOffset = 16;
inline constexpr std::size_t kCommandFileSettingsOffset = 20;

// The extension and proposed name of saved command files.
inline constexpr std::string_view kCommandFileExtension = "bin";
inline constexpr std::string_view kCommandFileProposedName = "tbsetcmd";

} // namespace protocol
