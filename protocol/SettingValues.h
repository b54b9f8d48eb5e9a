#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingsTable.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace protocol {

// The value a list's selected index stands for (index -1 when nothing is selected), on the
// setting's line: the index itself, except information print, whose values run backwards (3 - index).
std::int16_t ValueForIndex(SettingKind kind, int index);

// Only the low 8 bits of a value travel.
constexpr std::uint8_t ValueByte(std::int16_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// A reply's value byte is a signed 8-bit number.
constexpr int ReplyValue(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

// The byte a write frame carries for `value`: its low 8 bits, 00 with the zero flag; a setting with a
// fixed write carries its fixed byte (00 with the zero flag) whatever the value.
std::uint8_t WrittenByte(const SettingRow& setting, std::int16_t value, bool zero);

// The choice whose byte the value is; null when none stands for it.
const SettingChoice* ChoiceForValue(const SettingRow& setting, int value);

// What a setting shows after a successful exchange: the current-value text and the list index to
// select, which may lie outside the list (information print 0 has index 3, a list of three).
struct SettingDisplay {
    SettingText text;
    int index = -1;
};
// Kinds with a row; any other kind shows nothing (shown == false).
struct ValueDisplay {
    bool shown = false;
    SettingDisplay display;
};
ValueDisplay DisplayForValue(SettingKind kind, int value);

// The word the command line prints for a value, which written again carries exactly that byte;
// nullopt for a value no word stands for.
std::optional<std::string_view> WordForValue(SettingKind kind, int value);

// The list index a word stands for, in any letter case; nullopt for a word the list does not offer
// (and for every word of a setting the user cannot choose).
std::optional<int> IndexForWord(SettingKind kind, std::string_view word);

// The current-value text of any kind after a failed exchange.
inline constexpr std::string_view kUnknownKey = "Unknown";

} // namespace protocol
