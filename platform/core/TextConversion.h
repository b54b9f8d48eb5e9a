#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Converts bytes from one character set to another with the C library's iconv ("UTF-8",
// "UTF-16LE", "MACINTOSH" for Mac Roman, ...). Nullopt when the bytes are not valid in `from`,
// cannot be written in `to`, or the conversion is unknown; never a partial result.
std::optional<std::string> ConvertText(std::string_view bytes, const char* from, const char* to);

} // namespace platform
