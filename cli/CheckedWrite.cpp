#include "cli/CheckedWrite.h"

#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/SettingWords.h"
#include "protocol/SettingValues.h"
#include "usb/SettingsService.h"

namespace cli {

CheckedWrite WriteAndCompare(SettingsService& service, protocol::SettingKind kind, int index) {
    const WriteOutcome outcome = service.WriteSetting(kind, protocol::ValueForIndex(kind, index));
    CheckedWrite write{kExitSuccess, outcome.written, outcome.answered};
    if (outcome.result != kLinkOk) {
        // Did the value not get there, or did it not come back?
        write.exitCode =
            ReportLinkFailure(outcome.result, outcome.status,
                              (FailedReadingBack(outcome.result) ? QStringLiteral("reading back ")
                                                                 : QStringLiteral("writing ")) +
                                  SettingName(kind));
        return write;
    }
    if (!outcome.matches()) {
        PrintError(
            QStringLiteral("%1: wrote %2, but the printer answered %3")
                .arg(SettingName(kind), ValueText(kind, outcome.written), ValueText(kind, outcome.answered)));
        write.exitCode = kExitMismatch;
    }
    return write;
}

} // namespace cli
