#include "app/ExchangeAlerts.h"

namespace exchange {

std::optional<std::string_view> AlertKeyForRead(LinkResult result) {
    if (result == kLinkOk) {
        return std::nullopt;
    }
    return kGetCommandErrorKey;
}

std::optional<std::string_view> AlertKeyForWrite(LinkResult result) {
    switch (result) {
    case kLinkNoPrinter:
    case kLinkOpenFailed:
    case kLinkCommandWriteFailed:
        return kSetCommandErrorKey;
    case kLinkReadFailed:
    case kLinkRequestWriteFailed:
        return kGetCommandErrorKey;
    default:
        return std::nullopt;
    }
}

std::optional<std::string_view> AlertKeyForReset(const ResetOutcome& reset) {
    if (!reset.confirmation) {
        return AlertKeyForWrite(reset.reset.result);
    }
    if (reset.confirmation->result == kLinkRequestWriteFailed) {
        return std::nullopt;
    }
    return AlertKeyForWrite(reset.confirmation->result);
}

} // namespace exchange
