#include "cli/LinkFailure.h"

#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "platform/usbhost/UsbStatus.h"
#include "usb/LinkProblem.h"

namespace cli {
namespace {

const char* StepThatFailed(LinkResult result) {
    switch (result) {
    case kLinkOpenFailed:
        return "opening the printer failed";
    case kLinkReadFailed:
        return "reading the reply failed";
    case kLinkWriteFailed:
        return "writing a frame failed";
    case kLinkRequestWriteFailed:
        return "writing the read request failed";
    case kLinkCommandWriteFailed:
        return "writing the command failed";
    default:
        return "the exchange failed";
    }
}

const char* Words(LinkResult result, std::int32_t status) {
    switch (ProblemOf(result, status)) {
    case LinkProblem::NoPrinter:
        return "no LM-360R printer found; check that it is connected and switched on "
               "(\"lm360rctl list\" shows the printers attached)";
    case LinkProblem::AccessRefused:
        return "this user may not open the printer; install the udev rule that comes with lm360rctl and "
               "plug the printer in again, or add the user to the lp group (see man lm360rctl)";
    case LinkProblem::InUse:
        return "the printer is in use by another program; try again when it has finished";
    case LinkProblem::Gone:
        return "the printer went away; check the cable and that it is switched on";
    case LinkProblem::NoAnswer:
        return "the printer did not answer in time";
    case LinkProblem::PipeFailed:
        // A halt stays until the printer is reset: neither usblp nor a later run clears it.
        return "the printer stopped taking part in the exchange (a halted or failing USB pipe); switch the "
               "printer off and on again, or unplug it and plug it in again, then try again";
    case LinkProblem::None:
    case LinkProblem::Other:
        break;
    }
    return StepThatFailed(result);
}

} // namespace

QString DescribeLinkFailure(LinkResult result, std::int32_t status) {
    QString text = QStringLiteral("%1 (link result %2, platform status %3")
                       .arg(QLatin1String(Words(result, status)))
                       .arg(result)
                       .arg(status);
    if (status != 0) {
        // The platform statuses are libusb's, also on the simulated bus.
        const std::string_view name = platform::UsbStatusName(status);
        text += QLatin1Char(' ') + QLatin1String(name.data(), static_cast<qsizetype>(name.size()));
    }
    return text + QLatin1Char(')');
}

int ExitCodeForLinkFailure(LinkResult result) {
    return result == kLinkNoPrinter ? kExitNoPrinter : kExitLinkFailure;
}

int ReportLinkFailure(LinkResult result, std::int32_t status, const QString& what) {
    PrintError(QStringLiteral("%1 failed: %2").arg(what, DescribeLinkFailure(result, status)));
    return ExitCodeForLinkFailure(result);
}

int ReportListingFailure(platform::UsbStatus status) {
    PrintError(QStringLiteral("listing the USB interfaces failed: platform status %1").arg(status));
    return kExitLinkFailure;
}

} // namespace cli
