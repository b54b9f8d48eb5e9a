#pragma once

#include "protocol/SettingKind.h"

#include <array>
#include <cstddef>
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

constexpr SettingText Key(std::string_view key) {
    return {TextSort::Key, key};
}
constexpr SettingText Verbatim(std::string_view text) {
    return {TextSort::Verbatim, text};
}
inline constexpr SettingText kNoText{};

// The printer's two frame families differ in shape:
//  "U" family: read = prefix 01 (reply 32 bytes, value at 30); write = prefix 00 vv
//  "X" family: read = prefix "1" 00 00 (reply 3 bytes, value at 2); write = prefix "2" 01 00 vv
enum class FrameFamily { U, X };

// The window's tab a setting sits on; a tab's settings are also what its command file carries.
enum class SettingTab { Power, Print };

// One value a setting can hold, as the printer, the command line and the window name it.
struct SettingChoice {
    std::uint8_t byte = 0; // on the wire
    std::string_view word; // what the command line prints and takes; empty: none stands for it
    SettingText text;      // what the window shows for it
};

// A unit shown after a setting's values: its key in the translations, and the command line's terse form.
struct SettingUnit {
    std::string_view key;
    std::string_view terse;
};

// Everything the programs know about one setting. Frames, command files, the command line's words and
// help, the window's rows and the simulated printer all read it from here.
struct SettingRow {
    SettingKind kind = 0;
    std::string_view key;    // "power-on": the command line's name, JSON and the simulator's state file
    std::string_view outlet; // "powerOn": the stem of the window's widget names (powerOnSettingsComb ...)

    std::array<std::uint8_t, 4> prefix{}; // the frames' first four bytes
    FrameFamily family = FrameFamily::U;

    // The window list's entries first, in list order, then values the printer may report that the
    // list does not offer. A choice's position is the list index that shows it.
    std::span<const SettingChoice> choices;
    std::size_t listed = 0; // how many of `choices` the list offers; 0: the user cannot choose the value
    int firstChoice = 0;    // list index selected when the window opens, and a new printer's value
    // The value written for list index i is base + step * i; the same line gives the value for no
    // selection (index -1), and the index shown for a value no choice stands for.
    int base = 0;
    int step = 1;
    SettingText unknown; // what a value no choice stands for shows as
    // A write frame that always carries this value, whatever the list shows (00 with the zero flag).
    bool fixedWrite = false;
    std::uint8_t fixedValue = 0;

    SettingTab tab = SettingTab::Power;
    std::string_view titleKey; // the setting's name in the window; empty: the setting has no box title
    std::string_view helpKey;  // one sentence on what it does, for tooltips and the command line's help
    bool helpShown = false;    // the window shows the help under the setting's controls as well
    SettingUnit unit;          // after its values; empty for none

    // The entries the user can choose from.
    std::span<const SettingChoice> List() const { return choices.first(listed); }
    bool Offered() const { return listed > 0; }
};

// Every setting, in SettingKind order (kinds 1 to 5): the order in which both programs read them.
std::span<const SettingRow> Settings();
const SettingRow* SettingOf(SettingKind kind);        // null for a kind without a value
const SettingRow* SettingNamed(std::string_view key); // null for an unknown name

// Kinds with a row carry a value and can be read and written; the reset can only be written.
inline bool IsReadableKind(SettingKind kind) {
    return SettingOf(kind) != nullptr;
}

} // namespace protocol
