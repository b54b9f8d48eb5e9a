#pragma once

#include "protocol/SettingKind.h"
#include "protocol/SettingValues.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cli {

// A setting on the command line; its name is protocol::SettingName(kind).
struct CliSetting {
    protocol::SettingKind kind;
    bool writable;
    std::string_view values; // the VALUE words `set` accepts, for help and errors
};

// All five, in the order the application reads them.
std::span<const CliSetting> CliSettings();
const CliSetting* FindSetting(std::string_view name);
const CliSetting* SettingOfKind(protocol::SettingKind kind);

// The list index a VALUE word stands for: power-on off|on, auto-power-off minutes 0|10|...|60,
// network and info-print 1|2|3 (the first, second, third list item). nullopt for anything else.
std::optional<int> IndexForValueWord(protocol::SettingKind kind, std::string_view word);

// The VALUE word `set` takes for a list entry ("on", "30", "2"); empty outside the list.
std::string ValueWordForIndex(protocol::SettingKind kind, int index);

// The VALUE word whose write carries exactly this value again, so that `set` of what `get` printed
// changes nothing; nullopt for a value no word stands for. Command mode, which cannot be set,
// numbers its modes 1, 2, 3.
std::optional<std::string> ValueWordFor(protocol::SettingKind kind, int value);

// The application's text of what a value shows as, in the catalogue's language (lm360rctl installs
// only the English one); the auto power-off minutes carry their unit.
std::string ShownText(protocol::SettingKind kind, const protocol::SettingText& text);

} // namespace cli
