#include "app/ConnectionState.h"

#include "protocol/PrinterIdentity.h"
#include "usb/LinkProblem.h"

#include <algorithm>

namespace {

std::string SerialOf(const cusb_detail::PrinterIdentity& printer) {
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

std::vector<cusb_detail::PrinterIdentity> TargetModelPrinters(const PrinterListing& listing) {
    const std::string maker(protocol::kTargetManufacturer);
    const std::string model(protocol::kTargetProduct);
    std::vector<cusb_detail::PrinterIdentity> printers;
    for (const ListedPrinter& listed : listing.printers) {
        if (!listed.identity.accessRefused &&
            cusb_detail::MatchesTargets(listed.identity, &maker, &model, nullptr)) {
            printers.push_back(listed.identity);
        }
    }
    return printers;
}

bool ListsRefusedPrinter(const PrinterListing& listing) {
    return std::any_of(listing.printers.begin(), listing.printers.end(),
                       [](const ListedPrinter& listed) { return listed.identity.accessRefused; });
}

std::optional<std::string> ChooseSerial(const std::vector<cusb_detail::PrinterIdentity>& present,
                                        const std::optional<std::string>& chosenBefore) {
    if (present.empty()) {
        return std::nullopt;
    }
    if (chosenBefore && PrinterWithSerial(present, *chosenBefore) != nullptr) {
        return chosenBefore;
    }
    return SerialOf(present.front());
}

const cusb_detail::PrinterIdentity*
PrinterWithSerial(const std::vector<cusb_detail::PrinterIdentity>& present, const std::string& serial) {
    const auto found = std::find_if(present.begin(), present.end(),
                                    [&serial](const auto& printer) { return SerialOf(printer) == serial; });
    return found != present.end() ? &*found : nullptr;
}
