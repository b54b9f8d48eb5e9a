#pragma once

#include <QString>
#include <string_view>

namespace platform {

// The display text of a key in the user's language; the key itself when no catalogue has it.
QString Localized(std::string_view key);

// A text of the program's own tables (UTF-8) as it stands, in no particular language: setting names,
// value words, file names.
QString FromUtf8(std::string_view text);

} // namespace platform
