#include "texts/ConnectionTexts.h"

#include "platform/core/Localized.h"
#include "protocol/PrinterModel.h"
#include "protocol/SettingValues.h"
#include "texts/WindowTexts.h"

namespace {

QString Or(const std::optional<std::string>& text, std::string_view fallback) {
    return text ? QString::fromStdString(*text) : platform::FromUtf8(fallback);
}

} // namespace

QString ConnectionHeadline(const ConnectionState& state, const PrinterIdentity* printer) {
    switch (state.connection) {
    case Connection::Searching:
        return texts::LookingForPrinter();
    case Connection::Connected: {
        const QString maker =
            Or(printer ? printer->manufacturer : std::nullopt, protocol::kTargetManufacturer);
        const QString model = Or(printer ? printer->product : std::nullopt, protocol::kTargetProduct);
        if (printer != nullptr && printer->serial && !printer->serial->empty()) {
            return texts::PrinterInUse(maker, model, QString::fromStdString(*printer->serial));
        }
        return texts::PrinterInUseWithoutSerial(maker, model);
    }
    case Connection::NoPrinter:
        return texts::NoPrinter();
    case Connection::Refused:
        return texts::AccessRefused();
    case Connection::InUse:
        return texts::PrinterBusy();
    case Connection::OpenFailed:
        return texts::OpenFailed(state.status);
    }
    return {};
}

QString ConnectionRemedy(const ConnectionState& state) {
    switch (state.connection) {
    case Connection::NoPrinter:
        return texts::NoPrinterRemedy();
    case Connection::Refused:
        return texts::AccessRefusedRemedy();
    case Connection::InUse:
        return texts::PrinterBusyRemedy();
    case Connection::OpenFailed:
        return texts::OpenFailedRemedy();
    case Connection::Searching:
    case Connection::Connected:
        break;
    }
    return {};
}

QString UnreachableFieldText(const ConnectionState& state) {
    switch (state.connection) {
    case Connection::NoPrinter:
        return texts::NoPrinterField();
    case Connection::Refused:
        return texts::AccessRefusedField();
    case Connection::InUse:
        return texts::PrinterBusyField();
    case Connection::OpenFailed:
        return texts::OpenFailedField();
    case Connection::Searching:
    case Connection::Connected:
        break;
    }
    return {};
}

QString FailureReason(LinkResult result, std::int32_t status) {
    const ConnectionState state = ConnectionAfter(result, status);
    if (PrinterUnreachable(state.connection)) {
        return ConnectionHeadline(state, nullptr) + QLatin1Char('\n') + ConnectionRemedy(state);
    }
    // A read that timed out has no platform status: the printer was there but said nothing.
    return result == kLinkReadFailed && status == 0 ? texts::NoAnswer() : texts::ConnectionFailed();
}

QString FailedFieldText(LinkResult result, std::int32_t status) {
    const ConnectionState state = ConnectionAfter(result, status);
    if (PrinterUnreachable(state.connection)) {
        return UnreachableFieldText(state);
    }
    return platform::Localized(protocol::kUnknownKey);
}
