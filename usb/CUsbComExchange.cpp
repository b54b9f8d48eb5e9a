// Reading, writing and resetting settings, and the alerts that report their failures.
#include "platform/ui/Dialogs.h"
#include "platform/ui/Localized.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"
#include "usb/CUsb.h"
#include "usb/CUsbCom.h"
#include "usb/ExchangeAlerts.h"

#include <QComboBox>
#include <QString>
#include <array>

namespace {

using Reply = std::array<std::uint8_t, protocol::kMaxReplyLength>;

std::span<std::uint8_t> Wanted(Reply& reply, const protocol::ReadRequest& request) {
    return std::span(reply).first(request.replyLength);
}

int ValueIn(const Reply& reply, const protocol::ReadRequest& request) {
    return protocol::ReplyValue(reply[request.valuePosition]);
}

int SelectedIndex(const QComboBox* list) {
    return list != nullptr ? list->currentIndex() : -1;
}

} // namespace

LinkResult CUsbCom::GetSetting(std::int8_t quiet, protocol::SettingKind kind) {
    const std::optional<protocol::ReadRequest> request = protocol::ReadRequestFor(kind);
    if (!request) {
        return kRefusedKind;
    }
    Reply reply{};
    const LinkResult result = GetSettings(request->frame, Wanted(reply, *request));
    ShowSetting(result, quiet, kind, ValueIn(reply, *request));
    if (quiet == 0) {
        AlertIfFailed(exchange::AlertKeyForRead(result));
    }
    return result;
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
    protocol::Frame frame;
    if (kind == protocol::kCommandMode) {
        frame = protocol::CommandModeWriteFrame(zero != 0);
    } else {
        const std::int16_t value =
            zero != 0 ? 0 : protocol::ValueForIndex(kind, SelectedIndex(ListFor(kind)));
        frame = *protocol::WriteFrameFor(kind, protocol::ValueByte(value));
    }
    // Every write frame ends with the value it carries, and the printer is expected to answer that
    // value; for command mode this is its fixed 01 (00 with `zero`), whatever its list shows.
    const int written = protocol::ReplyValue(frame.back());

    const protocol::ReadRequest request = *protocol::ReadRequestFor(kind);
    Reply reply{};
    const LinkResult result = SetSettings(frame, request.frame, Wanted(reply, request));
    AlertIfFailed(exchange::AlertKeyForWrite(result));

    const int answered = ValueIn(reply, request);
    if (result == kLinkOk && answered != written) {
        mRunAlertPanel(exchange::kMatchingErrorKey, exchange::kMatchingErrorCode);
    }
    ShowSetting(result, zero, kind, answered);
    return result;
}

LinkResult CUsbCom::ResetPrinter() {
    const protocol::ResetExchange reset = protocol::ResetExchangeFrames();
    Reply reply{};
    LinkResult result =
        SetSettings(reset.resetFrame, reset.readRequest.frame, Wanted(reply, reset.readRequest));
    if (result == kLinkOk) {
        // Loud: it raises its own alert when it fails.
        result = GetSetting(0, protocol::kAutoPowerOff);
    }
    AlertIfFailed(exchange::AlertKeyForWrite(result));

    // Whatever happened, the window should show what the printer now holds.
    for (protocol::SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind; ++kind) {
        GetSetting(1, kind);
    }
    return result;
}

void CUsbCom::AlertIfFailed(std::optional<std::string_view> key) {
    if (key) {
        // The platform's statuses are negative numbers; show them as such.
        mRunAlertPanel(*key, static_cast<std::int32_t>(cusbLib_->mLastError));
    }
}

void CUsbCom::mRunAlertPanel(std::string_view key, std::int32_t code) {
    const QString title = platform::Localized(key) + QString::number(code) + QLatin1Char(')');
    platform::AppDialogs().RunAlertPanel(title, QString(), platform::Localized(exchange::kAlertButtonKey),
                                         QString());
}
