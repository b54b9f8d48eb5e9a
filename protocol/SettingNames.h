#pragma once

#include "protocol/SettingKind.h"

#include <optional>
#include <string_view>

namespace protocol {

// The settings as people and files name them: the command line's words and the keys of the simulated
// printer's state file ("power-on", "auto-power-off", "network", "info-print", "command-mode").
std::string_view SettingName(SettingKind kind); // empty for a kind without a value
std::optional<SettingKind> SettingKindNamed(std::string_view name);

} // namespace protocol
