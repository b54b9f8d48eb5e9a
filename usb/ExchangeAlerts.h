#pragma once

#include "usb/LinkResult.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Which failure of a settings exchange the user is told about, and under which message key.
// Plain C++ so the application and the command line decide alike.
namespace exchange {

// Message keys of the alerts; the title shows the key's text followed directly by a code and ")".
inline constexpr std::string_view kGetCommandErrorKey = "Util_GetCommandError";
inline constexpr std::string_view kSetCommandErrorKey = "Util_SetCommandError";
inline constexpr std::string_view kMatchingErrorKey = "Util_MatchingError";
// The one button of every exchange alert.
inline constexpr std::string_view kAlertButtonKey = "OKButton";

// The code shown when the printer answered another value than the one written.
inline constexpr std::int32_t kMatchingErrorCode = 0;

// A failed read (unless it was asked to stay quiet) is reported as a failed read request.
std::optional<std::string_view> AlertKeyForRead(LinkResult result);

// A write or reset: a failure before the command got through is a failed set command, a failure
// around the read-back a failed read request. A failed write of a lone frame (4) is only ever the
// read that follows a reset, which has raised its own alert, so it raises nothing more.
std::optional<std::string_view> AlertKeyForWrite(LinkResult result);

} // namespace exchange
