#include "usb/ExchangeTransactions.h"

#include "platform/ui/ProgressIndicator.h"
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

std::uint32_t Length(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes.size());
}

// One transaction's bookkeeping: where the bar goes and what a failure leaves in the link.
class Steps {
  public:
    Steps(CUsb& link, platform::ProgressIndicator* progress) : link_(link), progress_(progress) {}

    void Progress(double position) const {
        if (progress_ != nullptr) {
            progress_->setProgressBarValue(position);
        }
    }

    LinkResult Fail(LinkResult result, std::int32_t error) const {
        link_.mLastResult = static_cast<std::uint32_t>(result);
        link_.mLastError = static_cast<std::uint32_t>(error);
        return result;
    }

    // Reads the reply, closes, and finishes the bar.
    LinkResult ReadAndClose(USBIOContext& context, std::span<std::uint8_t> reply, double readPosition) const {
        std::uint32_t length = Length(reply);
        const LinkResult read = link_.UsbRead(context, reply.data(), length, kReadTimeout);
        Progress(readPosition);
        const std::int32_t readError = context.error;
        link_.UsbClose(context);
        if (read != kLinkOk) {
            Fail(read, readError);
        }
        Progress(kDone);
        return read;
    }

    // Closes after a failed write and reports the write's status, not the close's.
    LinkResult CloseAfterFailedWrite(USBIOContext& context, LinkResult result, std::int32_t error) const {
        link_.UsbClose(context);
        Fail(result, error);
        Progress(kDone);
        return result;
    }

  private:
    CUsb& link_;
    platform::ProgressIndicator* progress_;
};

LinkResult Open(CUsb& link, const ExchangeTargets& targets, USBIOContext& context, const Steps& steps) {
    const LinkResult opened = link.UsbOpen(context, targets.manufacturer, targets.product, targets.serial);
    steps.Progress(kOpened);
    if (opened != kLinkOk) {
        steps.Fail(opened, context.error);
        steps.Progress(kDone);
    }
    return opened;
}

} // namespace

LinkResult ReadTransaction(CUsb& link, const ExchangeTargets& targets, std::span<const std::uint8_t> request,
                           std::span<std::uint8_t> reply, platform::ProgressIndicator* progress) {
    const Steps steps(link, progress);
    USBIOContext context{};
    if (const LinkResult opened = Open(link, targets, context, steps); opened != kLinkOk) {
        return opened;
    }
    const LinkResult written = link.UsbWrite(context, request.data(), Length(request));
    steps.Progress(kRequestWritten);
    if (written != kLinkOk) {
        return steps.CloseAfterFailedWrite(context, kLinkWriteFailed, context.error);
    }
    return steps.ReadAndClose(context, reply, kReplyRead);
}

LinkResult SetTransaction(CUsb& link, const ExchangeTargets& targets, std::span<const std::uint8_t> frame,
                          std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
                          platform::ProgressIndicator* progress) {
    const Steps steps(link, progress);
    USBIOContext context{};
    if (const LinkResult opened = Open(link, targets, context, steps); opened != kLinkOk) {
        return opened;
    }
    const bool firstWritten = link.UsbWrite(context, frame.data(), Length(frame)) == kLinkOk;
    steps.Progress(kFirstFrameWritten);
    const std::int32_t firstError = context.error;
    if (request.empty()) {
        if (!firstWritten) {
            return steps.CloseAfterFailedWrite(context, kLinkCommandWriteFailed, firstError);
        }
        link.UsbClose(context);
        steps.Progress(kDone);
        return kLinkOk;
    }
    if (!firstWritten) {
        steps.Progress(kSecondFrameWritten);
        steps.Progress(kSetReplyRead);
        return steps.CloseAfterFailedWrite(context, kLinkCommandWriteFailed, firstError);
    }
    const bool requestWritten = link.UsbWrite(context, request.data(), Length(request)) == kLinkOk;
    steps.Progress(kSecondFrameWritten);
    if (!requestWritten) {
        steps.Progress(kSetReplyRead);
        return steps.CloseAfterFailedWrite(context, kLinkRequestWriteFailed, context.error);
    }
    return steps.ReadAndClose(context, reply, kSetReplyRead);
}
