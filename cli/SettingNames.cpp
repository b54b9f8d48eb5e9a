#include "cli/SettingNames.h"

#include "platform/core/Localized.h"
#include "protocol/SettingNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace cli {
namespace {

using protocol::SettingKind;

constexpr std::array<CliSetting, 5> kSettings{{
    {protocol::kPowerOn, true, "off|on"},
    {protocol::kAutoPowerOff, true, "0|10|20|30|40|50|60 (minutes)"},
    {protocol::kNetwork, true, "1|2|3"},
    {protocol::kInfoPrint, true, "1|2|3"},
    {protocol::kCommandMode, false, ""},
}};

// The power-on list's entries, in list order, as words on the command line.
constexpr std::array<std::string_view, 2> kPowerOnWords{"off", "on"};

// The values command mode reports, numbered 1, 2, 3 as the window's texts for them are.
constexpr std::array<int, 3> kCommandModes{0, 1, 3};

// The unit after auto power-off minutes; terse, as command-line output goes.
constexpr std::string_view kMinutesUnit = "min";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "1", "2", ... for the list's first, second, ... entry.
std::optional<int> OrdinalIndex(std::string_view word, std::size_t count) {
    int ordinal = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), ordinal);
    if (error != std::errc() || end != word.data() + word.size() || ordinal < 1 ||
        static_cast<std::size_t>(ordinal) > count) {
        return std::nullopt;
    }
    return ordinal - 1;
}

} // namespace

std::span<const CliSetting> CliSettings() {
    return kSettings;
}

const CliSetting* FindSetting(std::string_view name) {
    const std::optional<SettingKind> kind = protocol::SettingKindNamed(name);
    return kind ? SettingOfKind(*kind) : nullptr;
}

const CliSetting* SettingOfKind(SettingKind kind) {
    const auto* it = std::find_if(kSettings.begin(), kSettings.end(),
                                  [kind](const CliSetting& s) { return s.kind == kind; });
    return it == kSettings.end() ? nullptr : &*it;
}

std::optional<int> IndexForValueWord(SettingKind kind, std::string_view word) {
    const auto items = protocol::ListItems(kind);
    switch (kind) {
    case protocol::kPowerOn:
        for (std::size_t i = 0; i < kPowerOnWords.size() && i < items.size(); ++i) {
            if (EqualsIgnoringCase(word, kPowerOnWords[i])) {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    case protocol::kAutoPowerOff:
        // the minute values are the list's own entries
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].text == word) {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    case protocol::kNetwork:
    case protocol::kInfoPrint:
        return OrdinalIndex(word, items.size());
    default:
        return std::nullopt;
    }
}

std::string ValueWordForIndex(SettingKind kind, int index) {
    const auto items = protocol::ListItems(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        return {};
    }
    switch (kind) {
    case protocol::kPowerOn:
        return std::string(kPowerOnWords[static_cast<std::size_t>(index)]);
    case protocol::kAutoPowerOff:
        return std::string(items[static_cast<std::size_t>(index)].text);
    default:
        return std::to_string(index + 1);
    }
}

std::optional<std::string> ValueWordFor(SettingKind kind, int value) {
    if (kind == protocol::kCommandMode) {
        const auto mode = std::find(kCommandModes.begin(), kCommandModes.end(), value);
        if (mode == kCommandModes.end()) {
            return std::nullopt;
        }
        return std::to_string(mode - kCommandModes.begin() + 1);
    }
    const auto items = protocol::ListItems(kind);
    for (int index = 0; static_cast<std::size_t>(index) < items.size(); ++index) {
        // The word whose write carries exactly this byte: setting it again changes nothing.
        if (protocol::ValueByte(protocol::ValueForIndex(kind, index)) ==
            protocol::ValueByte(static_cast<std::int16_t>(value))) {
            return ValueWordForIndex(kind, index);
        }
    }
    return std::nullopt;
}

std::string ShownText(SettingKind kind, const protocol::SettingText& text) {
    std::string shown = platform::Localized(text).toStdString();
    if (kind == protocol::kAutoPowerOff && !shown.empty()) {
        shown += ' ';
        shown += kMinutesUnit;
    }
    return shown;
}

} // namespace cli
