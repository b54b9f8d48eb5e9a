#include "usb/LinkProblem.h"

#include "platform/usbhost/UsbStatus.h"

LinkProblem ProblemOf(LinkResult result, std::int32_t status) {
    if (result == kLinkOk) {
        return LinkProblem::None;
    }
    if (result == kLinkNoPrinter) {
        return LinkProblem::NoPrinter;
    }
    switch (status) {
    case platform::kUsbErrorAccess:
        return LinkProblem::AccessRefused;
    case platform::kUsbErrorBusy:
        return LinkProblem::InUse;
    case platform::kUsbErrorNoDevice:
        return LinkProblem::Gone;
    case platform::kUsbErrorNotFound:
        // An open that no longer finds what the scan listed: the printer went.
        if (result == kLinkOpenFailed) {
            return LinkProblem::Gone;
        }
        break;
    default:
        break;
    }
    // A read that ran out of passes records no status of its own; a write the printer never took ends
    // by its own bound.
    if ((result == kLinkReadFailed && status == platform::kUsbOk) || status == platform::kUsbErrorTimeout) {
        return LinkProblem::NoAnswer;
    }
    // Through the kernel's printer driver a halted pipe shows only as an I/O error.
    if (result != kLinkOpenFailed && (status == platform::kUsbErrorPipe || status == platform::kUsbErrorIo)) {
        return LinkProblem::PipeFailed;
    }
    return LinkProblem::Other;
}
