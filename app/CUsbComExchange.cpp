// Reading, writing and resetting settings through the service, and the alerts that report failures.
#include "app/CUsbCom.h"
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
    if (!protocol::IsReadableKind(kind)) {
        return kRefusedKind;
    }
    return ShowRead(quiet, kind, service_.ReadSetting(kind, progress_con));
}

LinkResult CUsbCom::ShowRead(std::int8_t quiet, protocol::SettingKind kind, const ReadOutcome& read) {
    ShowSetting(read.result, quiet, kind, read.value);
    if (quiet == 0) {
        AlertIfFailed(exchange::AlertKeyForRead(read.result));
    }
    return read.result;
}

LinkResult CUsbCom::SetSetting(std::int8_t zero, protocol::SettingKind kind) {
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
    const WriteOutcome written = service_.WriteSetting(kind, value, zero != 0, progress_con);
    AlertIfFailed(exchange::AlertKeyForWrite(written.result));
    if (written.result == kLinkOk && !written.matches()) {
        mRunAlertPanel(exchange::kMatchingErrorKey, exchange::kMatchingErrorCode);
    }
    ShowSetting(written.result, zero, kind, written.answered);
    return written.result;
}

LinkResult CUsbCom::ResetPrinter() {
    const ResetOutcome reset = service_.Reset(progress_con);
    if (reset.confirmation) {
        // Loud: it raises its own alert when it fails.
        ShowRead(0, protocol::kAutoPowerOff, *reset.confirmation);
    }
    AlertIfFailed(exchange::AlertKeyForWrite(reset.result()));

    // Whatever happened, the window should show what the printer now holds.
    for (protocol::SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind; ++kind) {
        GetSetting(1, kind);
    }
    return reset.result();
}

void CUsbCom::AlertIfFailed(std::optional<std::string_view> key) {
    if (key) {
        // The platform's statuses are negative numbers; show them as such.
        mRunAlertPanel(*key, static_cast<std::int32_t>(cusbLib().mLastError()));
    }
}

void CUsbCom::mRunAlertPanel(std::string_view key, std::int32_t code) {
    const QString title = platform::Localized(key) + QString::number(code) + QLatin1Char(')');
    platform::AppDialogs().RunAlertPanel(title, QString(), platform::Localized(exchange::kAlertButtonKey),
                                         QString());
}
