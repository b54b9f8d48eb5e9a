// The one transaction engine: open, write one or two frames, read the reply, close. The window's
// settings object and the link's own transactions differ only in the plan they hand it.
//
// No step pauses. Every frame the printer has to act on before the next one is followed by a read
// that waits for its answer, and the bulk OUT pipe's own flow control holds back a write the
// printer is not ready for, so a fixed pause between frames would only make every exchange slower.

#include "protocol/Frames.h"
#include "usb/CUsb.h"
#include "usb/ProgressIndicator.h"

namespace {

// Where the bar stands after each step.
constexpr double kOpened = 20;
constexpr double kDone = 100;
constexpr double kReadRequestWritten = 50;
constexpr double kReadReplyRead = 80;
constexpr double kSetCommandWritten = 40;
constexpr double kSetRequestWritten = 60;
constexpr double kSetReplyRead = 80;

std::uint32_t Length(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes.size());
}

// One transaction under way: its connection, its bar and its outcome.
class Run {
  public:
    Run(CUsb& link, ProgressIndicator* progress) : link_(link), progress_(progress) {}

    void Progress(double position) const {
        if (progress_ != nullptr) {
            progress_->setProgressBarValue(position);
        }
    }

    bool Open(const LinkTargets& targets) {
        const LinkResult opened =
            link_.UsbOpen(context_, targets.manufacturer, targets.product, targets.serial);
        Progress(kOpened);
        if (opened != kLinkOk) {
            Fail(opened, context_.error);
            Progress(kDone);
            return false;
        }
        return true;
    }

    // The write's status, kept apart from what a later step leaves in the context.
    std::optional<std::int32_t> Write(std::span<const std::uint8_t> frame) {
        if (link_.UsbWrite(context_, frame.data(), Length(frame)) != kLinkOk) {
            return context_.error;
        }
        return std::nullopt;
    }

    TransactionOutcome ReadAndClose(std::span<std::uint8_t> reply, double readPosition) {
        std::uint32_t length = Length(reply);
        const LinkResult read = link_.UsbRead(context_, reply.data(), length, kReadTimeout);
        Progress(readPosition);
        const std::int32_t readError = context_.error;
        link_.UsbClose(context_);
        if (read != kLinkOk) {
            Fail(read, readError);
        }
        Progress(kDone);
        return outcome_;
    }

    // Closes after a failed write and reports the write's status, not the close's.
    TransactionOutcome CloseAfterFailure(LinkResult result, std::int32_t error) {
        link_.UsbClose(context_);
        Fail(result, error);
        Progress(kDone);
        return outcome_;
    }

    TransactionOutcome CloseAfterSuccess() {
        link_.UsbClose(context_);
        Progress(kDone);
        return outcome_;
    }

    const TransactionOutcome& outcome() const { return outcome_; }

  private:
    void Fail(LinkResult result, std::int32_t error) { outcome_ = {result, error}; }

    CUsb& link_;
    ProgressIndicator* progress_;
    USBIOContext context_;
    TransactionOutcome outcome_;
};

TransactionOutcome ReadTransaction(Run& run, const TransactionPlan& plan) {
    const std::optional<std::int32_t> requestFailed = run.Write(plan.frame);
    run.Progress(kReadRequestWritten);
    if (requestFailed) {
        return run.CloseAfterFailure(kLinkRequestWriteFailed, *requestFailed);
    }
    return run.ReadAndClose(plan.reply, kReadReplyRead);
}

TransactionOutcome SetTransaction(Run& run, const TransactionPlan& plan) {
    const std::optional<std::int32_t> commandFailed = run.Write(plan.frame);
    run.Progress(kSetCommandWritten);
    if (plan.request.empty()) {
        return commandFailed ? run.CloseAfterFailure(kLinkCommandWriteFailed, *commandFailed)
                             : run.CloseAfterSuccess();
    }
    if (commandFailed) {
        // The steps not taken still move the bar, so it ends the way every set transaction does.
        run.Progress(kSetRequestWritten);
        run.Progress(kSetReplyRead);
        return run.CloseAfterFailure(kLinkCommandWriteFailed, *commandFailed);
    }
    const std::optional<std::int32_t> requestFailed = run.Write(plan.request);
    run.Progress(kSetRequestWritten);
    if (requestFailed) {
        run.Progress(kSetReplyRead);
        return run.CloseAfterFailure(kLinkRequestWriteFailed, *requestFailed);
    }
    return run.ReadAndClose(plan.reply, kSetReplyRead);
}

} // namespace

TransactionOutcome CUsb::Transact(const LinkTargets& targets, const TransactionPlan& plan) {
    Run run(*this, plan.progress);
    if (run.Open(targets)) {
        plan.shape == TransactionPlan::Shape::Read ? ReadTransaction(run, plan) : SetTransaction(run, plan);
    }
    const TransactionOutcome& outcome = run.outcome();
    if (outcome.result != kLinkOk) {
        Record(outcome.result, outcome.status);
    }
    return outcome;
}

LinkTargets CUsb::OwnTargets() const {
    const auto target = [](const std::optional<std::string>& t) { return t ? &*t : nullptr; };
    return {target(mManufacturer), target(mProduct), target(mSerial)};
}

TransactionOutcome CUsb::GetSettings(std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply,
                                     ProgressIndicator* progress) {
    return Transact(
        OwnTargets(),
        {.shape = TransactionPlan::Shape::Read, .frame = frame, .reply = reply, .progress = progress});
}

TransactionOutcome CUsb::GetStatus(std::span<std::uint8_t> reply) {
    const protocol::Frame status = protocol::StatusRequestFrame();
    return GetSettings(status, reply);
}

TransactionOutcome CUsb::SetSettings(std::span<const std::uint8_t> frame,
                                     std::span<const std::uint8_t> secondFrame, std::span<std::uint8_t> reply,
                                     ProgressIndicator* progress) {
    TransactionPlan plan{.shape = TransactionPlan::Shape::Set, .frame = frame, .progress = progress};
    if (!secondFrame.empty()) {
        plan.request = secondFrame;
        plan.reply = reply;
    }
    return Transact(OwnTargets(), plan);
}

TransactionOutcome CUsb::TestPrint(std::span<const std::uint8_t> frame) {
    return SetSettings(frame, {}, {});
}

LinkResult CUsb::Record(LinkResult result, std::int32_t error) {
    lastResult_ = static_cast<std::uint32_t>(result);
    lastError_ = static_cast<std::uint32_t>(error);
    return result;
}
