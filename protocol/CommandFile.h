#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace protocol {

// A command file carries the write frames of one group of settings behind a short header.
// Group codes: the power tab saves group 1, the print tab group 4.
using CommandGroup = std::int32_t;
inline constexpr CommandGroup kPowerGroup = 1;
inline constexpr CommandGroup kPrintGroup = 4;

// The selected index of each list (-1 when nothing is selected). Command mode is not read:
// its frame in a file always carries 01.
struct CommandSelections {
    int powerOn = -1;
    int autoPowerOff = -1;
    int network = -1;
    int infoPrint = -1;
};

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
