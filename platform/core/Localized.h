#pragma once

#include "protocol/SettingValues.h"

#include <QString>
#include <string_view>

namespace platform {

// The display text of a key in the user's language; the key itself when no catalogue has it.
QString Localized(std::string_view key);

// What a setting's text shows: a key's display text, a verbatim text as it stands (the same in
// every language), or nothing.
QString Localized(const protocol::SettingText& text);

} // namespace platform
