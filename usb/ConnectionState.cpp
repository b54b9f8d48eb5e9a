#include "usb/ConnectionState.h"

#include "usb/LinkProblem.h"

#include <algorithm>

namespace {

std::string SerialOf(const PrinterIdentity& printer) {
    return printer.serial.value_or(std::string());
}

} // namespace

ConnectionState ConnectionAfter(LinkResult result, std::int32_t status) {
    // Only finding and opening decide whether the printer is there; a later step failing means it is.
    if (result != kLinkNoPrinter && result != kLinkOpenFailed) {
        return {Connection::Connected, 0};
    }
    switch (ProblemOf(result, status)) {
    case LinkProblem::NoPrinter:
    case LinkProblem::Gone: // between the listing and the open
        return {Connection::NoPrinter, 0};
    case LinkProblem::AccessRefused:
        return {Connection::Refused, status};
    case LinkProblem::InUse:
        return {Connection::InUse, status};
    default:
        return {Connection::OpenFailed, status};
    }
}

bool PrinterUnreachable(Connection connection) {
    return connection == Connection::NoPrinter || connection == Connection::Refused ||
           connection == Connection::InUse || connection == Connection::OpenFailed;
}

std::optional<std::string> ChooseSerial(const std::vector<PrinterIdentity>& present,
                                        const std::optional<std::string>& chosenBefore) {
    if (present.empty()) {
        return std::nullopt;
    }
    if (chosenBefore && PrinterWithSerial(present, *chosenBefore) != nullptr) {
        return chosenBefore;
    }
    return SerialOf(present.front());
}

const PrinterIdentity* PrinterWithSerial(const std::vector<PrinterIdentity>& present,
                                         const std::string& serial) {
    const auto found = std::find_if(present.begin(), present.end(),
                                    [&serial](const auto& printer) { return SerialOf(printer) == serial; });
    return found != present.end() ? &*found : nullptr;
}
