#pragma once

#include "usb/LinkResult.h"
#include "usb/SettingsService.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Which failure of a settings exchange the user is told about, and under which message key, decided
// by the operation that failed and the step it failed at.
namespace exchange {

// Message keys of the alerts; the title shows the key's text followed directly by a code and ")".
inline constexpr std::string_view kGetCommandErrorKey = "Util_GetCommandError";
inline constexpr std::string_view kSetCommandErrorKey = "Util_SetCommandError";
inline constexpr std::string_view kMatchingErrorKey = "Util_MatchingError";
// The one button of every exchange alert.
inline constexpr std::string_view kAlertButtonKey = "OKButton";

// The code shown when the printer answered another value than the one written.
inline constexpr std::int32_t kMatchingErrorCode = 0;

// A read the user asked for: every failure is a failed read request.
std::optional<std::string_view> AlertKeyForRead(LinkResult result);

// A write, or the reset exchange itself: a failure before the command got through is a failed set
// command, a failure while reading the setting back a failed read request.
std::optional<std::string_view> AlertKeyForWrite(LinkResult result);

// The alert a reset raises after the exchange, besides the one its confirming read raises for
// itself: that of the reset exchange when it failed; when the confirming read failed, the same
// classification again, except for a read request that could not be written, which the read's own
// alert says all about.
std::optional<std::string_view> AlertKeyForReset(const ResetOutcome& reset);

} // namespace exchange
