#pragma once

#include "cli/ExitCodes.h"
#include "protocol/SettingKind.h"

class SettingsService;

namespace cli {

// A setting written the one way set and apply write: the write frame, then the setting read back
// and compared with what was written.
struct CheckedWrite {
    int exitCode = kExitSuccess; // 0; 4 when the printer answered another value; else a link failure's
    int written = 0;             // as WriteOutcome has them
    int answered = 0;
    bool answeredSomething() const { return exitCode == kExitSuccess || exitCode == kExitMismatch; }
};

// Writes the value of list entry `index`. A link failure, or an answer other than the value written,
// is said on stderr in one line.
CheckedWrite WriteAndCompare(SettingsService& service, protocol::SettingKind kind, int index);

} // namespace cli
