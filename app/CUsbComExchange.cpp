// Reading, writing and resetting settings through the service, and the alerts that report failures.
#include "app/CUsbCom.h"
#include "app/ConnectionTexts.h"
#include "app/SettingTitles.h"
#include "app/WindowTexts.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "protocol/SettingValues.h"
#include "usb/ExchangeAlerts.h"

#include <QComboBox>
#include <QString>

namespace {

int SelectedIndex(const QComboBox* list) {
    return list != nullptr ? list->currentIndex() : -1;
}

} // namespace

LinkResult CUsbCom::GetSetting(std::int8_t quiet, protocol::SettingKind kind) {
    if (!protocol::IsReadableKind(kind) || abandoned_) {
        return kRefusedKind;
    }
    const ReadOutcome read = runner_.Run([&] { return service_.ReadSetting(kind, progress()); });
    return ShowRead(quiet, kind, read);
}

LinkResult CUsbCom::ShowRead(std::int8_t quiet, protocol::SettingKind kind, const ReadOutcome& read) {
    NoteOutcome(read.result, read.status);
    ShowSetting(read.result, quiet, kind, read.value);
    if (quiet == 0) {
        AlertIfFailed(exchange::AlertKeyForRead(read.result), texts::ReadFailed(SettingTitle(kind)));
    }
    return read.result;
}

LinkResult CUsbCom::SetSetting(std::int8_t zero, protocol::SettingKind kind) {
    if (abandoned_) {
        return kRefusedKind;
    }
    if (kind == protocol::kReset) {
        return ResetPrinter();
    }
    if (!protocol::IsReadableKind(kind)) {
        return kRefusedKind;
    }
    return WriteSetting(zero, kind);
}

LinkResult CUsbCom::WriteSetting(std::int8_t zero, protocol::SettingKind kind) {
    const std::int16_t value = protocol::ValueForIndex(kind, SelectedIndex(ListFor(kind)));
    const WriteOutcome written =
        runner_.Run([&] { return service_.WriteSetting(kind, value, zero != 0, progress()); });
    NoteOutcome(written.result, written.status);
    if (abandoned_) {
        return written.result;
    }
    const QString setting = SettingTitle(kind);
    const std::optional<std::string_view> key = exchange::AlertKeyForWrite(written.result);
    AlertIfFailed(key, key == exchange::kGetCommandErrorKey ? texts::ReadBackFailed(setting)
                                                            : texts::WriteFailed(setting));
    if (written.result == kLinkOk && !written.matches()) {
        mRunAlertPanel(exchange::kMatchingErrorKey, exchange::kMatchingErrorCode,
                       texts::ValueMismatch(setting, ValueWithCode(kind, written.written),
                                            ValueWithCode(kind, written.answered)),
                       texts::ValueMismatchShown());
    }
    ShowSetting(written.result, zero, kind, written.answered);
    return written.result;
}

LinkResult CUsbCom::ResetPrinter() {
    const ResetOutcome reset = runner_.Run([&] { return service_.Reset(progress()); });
    NoteOutcome(reset.reset.result, reset.reset.status);
    if (reset.confirmation) {
        // Loud: it raises its own alert when it fails.
        ShowRead(0, protocol::kAutoPowerOff, *reset.confirmation);
    }
    const std::optional<std::string_view> key = exchange::AlertKeyForWrite(reset.result());
    AlertIfFailed(key,
                  key == exchange::kGetCommandErrorKey ? texts::ResetReadBackFailed() : texts::ResetFailed());

    // Whatever happened, the window should show what the printer now holds.
    for (protocol::SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind; ++kind) {
        GetSetting(1, kind);
    }
    return reset.result();
}

void CUsbCom::AlertIfFailed(std::optional<std::string_view> key, const QString& statement) {
    if (key) {
        // The platform's statuses are negative numbers; show them as such.
        const auto status = static_cast<std::int32_t>(cusbLib().mLastError());
        mRunAlertPanel(*key, status, statement,
                       FailureReason(lastOutcome_ ? lastOutcome_->result : kLinkOk, status));
    }
}

void CUsbCom::mRunAlertPanel(std::string_view key, std::int32_t code, const QString& statement,
                             const QString& reason) {
    if (abandoned_) {
        return;
    }
    // The message's text followed directly by the code and ")": what support asks for, kept in the details.
    const QString coded = platform::Localized(key) + QString::number(code) + QLatin1Char(')');
    platform::AppDialogs().RunAlert({.icon = platform::AlertIcon::Warning,
                                     .text = statement.isEmpty() ? coded : statement,
                                     .informativeText = reason,
                                     .detailedText = coded,
                                     .acceptButton = platform::Localized(exchange::kAlertButtonKey)});
}
