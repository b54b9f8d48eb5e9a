#pragma once

#include "protocol/SettingKind.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace protocol {

// How a text reaches the screen: looked up by key in the translations, shown as it stands
// (the minute values and "OFF" are the same in every language), or empty.
enum class TextSort { Key, Verbatim, Empty };

struct SettingText {
    TextSort sort = TextSort::Empty;
    std::string_view text; // the key, or the verbatim text
};

// The entries of a setting's choice list, index 0 first (empty for command mode, whose list the
// application leaves unfilled), and the entry selected when the window opens.
std::span<const SettingText> ListItems(SettingKind kind);
int InitialIndex(SettingKind kind);

// The value a list's selected index stands for (index -1 when nothing is selected): the index,
// except information print, whose values run backwards (3 - index).
std::int16_t ValueForIndex(SettingKind kind, int index);

// Only the low 8 bits of a value travel.
constexpr std::uint8_t ValueByte(std::int16_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// A reply's value byte is a signed 8-bit number.
constexpr int ReplyValue(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

// What a setting shows after a successful exchange: the current-value text and the list index to
// select, which may lie outside the list (information print 0 has index 3, a list of three).
struct SettingDisplay {
    SettingText text;
    int index = -1;
};
// Kinds 1-5; any other kind shows nothing (nullopt-like: text Empty, index -1, shown == false).
struct ValueDisplay {
    bool shown = false;
    SettingDisplay display;
};
ValueDisplay DisplayForValue(SettingKind kind, int value);

// The current-value text of any kind after a failed exchange.
inline constexpr std::string_view kUnknownKey = "Unknown";

} // namespace protocol
