// Reading, writing and resetting settings through the service, and the alerts that report failures.
#include "app/CUsbCom.h"
#include "app/ExchangeAlerts.h"
#include "platform/core/Localized.h"
#include "platform/ui/Dialogs.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"
#include "texts/ConnectionTexts.h"
#include "texts/SettingTexts.h"
#include "texts/WindowTexts.h"

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
        AlertIfFailed(exchange::AlertKeyForRead(read.result), texts::ReadFailed(texts::SettingTitle(kind)),
                      read.result, read.status);
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
    const QString setting = texts::SettingTitle(kind);
    AlertIfFailed(exchange::AlertKeyForWrite(written.result),
                  FailedReadingBack(written.result) ? texts::ReadBackFailed(setting)
                                                    : texts::WriteFailed(setting),
                  written.result, written.status);
    if (written.result == kLinkOk && !written.matches()) {
        mRunAlertPanel(exchange::kMatchingErrorKey, exchange::kMatchingErrorCode,
                       texts::ValueMismatch(setting, texts::ValueWithCode(kind, written.written),
                                            texts::ValueWithCode(kind, written.answered)),
                       texts::ValueMismatchShown());
    }
    ShowSetting(written.result, zero, kind, written.answered);
    return written.result;
}

LinkResult CUsbCom::ApplyDesired(std::span<const DesiredValue> desired) {
    if (abandoned_) {
        return kRefusedKind;
    }
    const DesiredOutcome outcome =
        runner_.Run([&] { return service_.ApplyDesired(desired, false, progress()); });
    NoteOutcome(outcome.result, outcome.status);
    if (abandoned_) {
        return outcome.result;
    }
    for (const SettingChange& change : outcome.settings) {
        const QString setting = texts::SettingTitle(change.kind);
        if (change.Mismatch()) {
            mRunAlertPanel(exchange::kMatchingErrorKey, exchange::kMatchingErrorCode,
                           texts::ValueMismatch(setting, texts::ValueWithCode(change.kind, change.desired),
                                                texts::ValueWithCode(change.kind, change.after)),
                           texts::ValueMismatchShown());
        }
        ShowSetting(kLinkOk, 0, change.kind, change.after);
    }
    if (outcome.Failed()) {
        const QString setting = texts::SettingTitle(outcome.failedKind);
        switch (outcome.failedStep) {
        case DesiredOutcome::Step::Read:
            AlertIfFailed(exchange::AlertKeyForRead(outcome.result), texts::ReadFailed(setting),
                          outcome.result, outcome.status);
            break;
        case DesiredOutcome::Step::Write:
        case DesiredOutcome::Step::ReadBack:
            AlertIfFailed(exchange::AlertKeyForWrite(outcome.result),
                          outcome.failedStep == DesiredOutcome::Step::ReadBack
                              ? texts::ReadBackFailed(setting)
                              : texts::WriteFailed(setting),
                          outcome.result, outcome.status);
            break;
        }
        ShowSetting(outcome.result, 0, outcome.failedKind, 0);
    }
    return outcome.result;
}

LinkResult CUsbCom::ResetPrinter() {
    const ResetOutcome reset = runner_.Run([&] { return service_.Reset(progress()); });
    NoteOutcome(reset.reset.result, reset.reset.status);
    if (reset.confirmation) {
        // Loud: it raises its own alert when it fails.
        ShowRead(0, protocol::kAutoPowerOff, *reset.confirmation);
    }
    // Once the reset frame got through, what failed is reading the printer back.
    const bool resetArrived = reset.confirmation || FailedReadingBack(reset.reset.result);
    AlertIfFailed(exchange::AlertKeyForReset(reset),
                  resetArrived ? texts::ResetReadBackFailed() : texts::ResetFailed(), reset.result(),
                  reset.status());

    // Whatever happened, the window should show what the printer now holds.
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        GetSetting(1, setting.kind);
    }
    return reset.result();
}

void CUsbCom::AlertIfFailed(std::optional<std::string_view> key, const QString& statement, LinkResult result,
                            std::int32_t status) {
    if (key) {
        mRunAlertPanel(*key, status, statement, FailureReason(result, status));
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
