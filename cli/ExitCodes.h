#pragma once

namespace cli {

// What lm360rctl's exit status tells a script. Documented in lm360rctl.1; never renumber.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitNoPrinter = 2;
inline constexpr int kExitLinkFailure = 3;
inline constexpr int kExitMismatch = 4;
inline constexpr int kExitInvalidFile = 5;
inline constexpr int kExitFileError = 6; // a file could not be read or written

} // namespace cli
