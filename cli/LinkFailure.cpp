#include "cli/LinkFailure.h"

#include "cli/ExitCodes.h"

#include <libusb.h>

namespace cli {
namespace {

const char* Meaning(LinkResult result) {
    switch (result) {
    case kLinkOk:
        return "success";
    case kLinkNoPrinter:
        return "no matching printer found";
    case kLinkOpenFailed:
        return "finding or opening the printer failed";
    case kLinkReadFailed:
        return "reading the reply failed or timed out";
    case kLinkWriteFailed:
        return "writing a frame failed";
    case kLinkRequestWriteFailed:
        return "writing the read request failed";
    case kLinkCommandWriteFailed:
        return "writing the command failed";
    default:
        return "unknown result";
    }
}

} // namespace

QString DescribeLinkFailure(LinkResult result, std::int32_t status) {
    QString text = QStringLiteral("link result %1 (%2), platform status %3")
                       .arg(result)
                       .arg(QLatin1String(Meaning(result)))
                       .arg(status);
    if (status != 0) {
        // The platform statuses are libusb's, also on the simulated bus.
        text += QStringLiteral(" (%1)").arg(QLatin1String(libusb_error_name(status)));
    }
    if (status == LIBUSB_ERROR_BUSY) {
        text += QStringLiteral(": the printer is in use by another program");
    }
    return text;
}

int ExitCodeForLinkFailure(LinkResult result) {
    return result == kLinkNoPrinter ? kExitNoPrinter : kExitLinkFailure;
}

} // namespace cli
