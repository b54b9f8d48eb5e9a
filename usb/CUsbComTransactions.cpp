// The two transactions of the settings object: every exchange opens its own connection, uses it
// and closes it, moving the progress panel after each step so that it ends at 100 on every path.
#include "platform/ui/ProgressIndicator.h"
#include "usb/CUsb.h"
#include "usb/CUsbCom.h"
#include "usb/USBIOContext.h"

namespace {

constexpr double kOpened = 20;
constexpr double kDone = 100;
// Read transaction
constexpr double kRequestWritten = 50;
constexpr double kReplyRead = 80;
// Set transaction
constexpr double kFirstFrameWritten = 40;
constexpr double kSecondFrameWritten = 60;
constexpr double kSetReplyRead = 80;

const std::string* Target(const std::optional<std::string>& target) {
    return target ? &*target : nullptr;
}

std::uint32_t Length(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes.size());
}

} // namespace

void CUsbCom::SetProgress(double position) {
    if (progress_con != nullptr) {
        progress_con->setProgressBarValue(position);
    }
}

void CUsbCom::RecordFailure(LinkResult result, std::int32_t error) {
    cusbLib_->mLastResult = static_cast<std::uint32_t>(result);
    cusbLib_->mLastError = static_cast<std::uint32_t>(error);
}

LinkResult CUsbCom::GetSettings(std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply) {
    USBIOContext context{};
    const LinkResult opened = cusbLib_->UsbOpen(context, Target(mTargetManufacturer), Target(mTargetProduct),
                                                Target(mTargetSerial));
    SetProgress(kOpened);
    if (opened != kLinkOk) {
        RecordFailure(opened, context.error);
        SetProgress(kDone);
        return opened;
    }

    const LinkResult written = cusbLib_->UsbWrite(context, frame.data(), Length(frame));
    SetProgress(kRequestWritten);
    if (written != kLinkOk) {
        // The status of the failed write, not of the close that follows it.
        const std::int32_t error = context.error;
        cusbLib_->UsbClose(context);
        RecordFailure(kLinkWriteFailed, error);
        SetProgress(kDone);
        return kLinkWriteFailed;
    }

    std::uint32_t length = static_cast<std::uint32_t>(reply.size());
    const LinkResult read = cusbLib_->UsbRead(context, reply.data(), length, kReadTimeout);
    SetProgress(kReplyRead);
    const std::int32_t readError = context.error;
    cusbLib_->UsbClose(context);
    if (read != kLinkOk) {
        RecordFailure(read, readError);
    }
    SetProgress(kDone);
    return read;
}

LinkResult CUsbCom::SetSettings(std::span<const std::uint8_t> frame,
                                std::span<const std::uint8_t> secondFrame, std::span<std::uint8_t> reply) {
    USBIOContext context{};
    const LinkResult opened = cusbLib_->UsbOpen(context, Target(mTargetManufacturer), Target(mTargetProduct),
                                                Target(mTargetSerial));
    SetProgress(kOpened);
    if (opened != kLinkOk) {
        RecordFailure(opened, context.error);
        SetProgress(kDone);
        return opened;
    }

    const bool firstWritten = cusbLib_->UsbWrite(context, frame.data(), Length(frame)) == kLinkOk;
    SetProgress(kFirstFrameWritten);
    const std::int32_t firstError = context.error;

    if (secondFrame.empty()) {
        cusbLib_->UsbClose(context);
        if (!firstWritten) {
            RecordFailure(kLinkCommandWriteFailed, firstError);
        }
        SetProgress(kDone);
        return firstWritten ? kLinkOk : kLinkCommandWriteFailed;
    }

    if (!firstWritten) {
        SetProgress(kSecondFrameWritten);
        SetProgress(kSetReplyRead);
        cusbLib_->UsbClose(context);
        RecordFailure(kLinkCommandWriteFailed, firstError);
        SetProgress(kDone);
        return kLinkCommandWriteFailed;
    }

    const bool secondWritten =
        cusbLib_->UsbWrite(context, secondFrame.data(), Length(secondFrame)) == kLinkOk;
    SetProgress(kSecondFrameWritten);
    if (!secondWritten) {
        const std::int32_t error = context.error;
        SetProgress(kSetReplyRead);
        cusbLib_->UsbClose(context);
        RecordFailure(kLinkRequestWriteFailed, error);
        SetProgress(kDone);
        return kLinkRequestWriteFailed;
    }

    std::uint32_t length = static_cast<std::uint32_t>(reply.size());
    const LinkResult read = cusbLib_->UsbRead(context, reply.data(), length, kReadTimeout);
    SetProgress(kSetReplyRead);
    const std::int32_t readError = context.error;
    cusbLib_->UsbClose(context);
    if (read != kLinkOk) {
        RecordFailure(read, readError);
    }
    SetProgress(kDone);
    return read;
}
