#pragma once

#include <QString>
#include <string_view>

namespace platform {

// The display text of a key in the user's language; the key itself when no catalogue has it.
QString Localized(std::string_view key);

} // namespace platform
