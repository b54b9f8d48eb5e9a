// The link's own transactions: open, write one or two frames, read the 32-byte reply, close, on the
// link's own targets, with a short pause between the steps.

#include "protocol/Frames.h"
#include "usb/CUsb.h"
#include "usb/CUsbLink.h"

namespace {

constexpr std::uint32_t kReplyLength = 32;
constexpr std::uint32_t kShortPause = 100;
constexpr std::uint32_t kPause = 200;

bool ValidFrame(const void* frame, int length) {
    return length >= 0 && (frame != nullptr || length == 0);
}

const std::string* Target(const std::optional<std::string>& target) {
    return target ? &*target : nullptr;
}

} // namespace

LinkResult CUsb::GetSettings(const void* frame, int length, void* reply) {
    // Refused before the bus is touched: the write could only fail, or the read overrun.
    if (!ValidFrame(frame, length)) {
        return Record(kLinkRequestWriteFailed, platform::kUsbErrorInvalidParam);
    }
    if (reply == nullptr) {
        return Record(kLinkReadFailed, platform::kUsbErrorInvalidParam);
    }
    USBIOContext context;
    cusb_detail::sleep(kPause);
    if (const LinkResult opened = UsbOpen(context, Target(mManufacturer), Target(mProduct), Target(mSerial));
        opened != kLinkOk) {
        Record(opened, context.error);
        cusb_detail::sleep(kPause);
        return opened;
    }
    cusb_detail::sleep(kPause);
    if (UsbWrite(context, frame, static_cast<std::uint32_t>(length)) != kLinkOk) {
        cusb_detail::sleep(kPause);
        cusb_detail::close(context);
        Record(kLinkRequestWriteFailed, context.error);
        cusb_detail::sleep(kPause);
        return kLinkRequestWriteFailed;
    }
    cusb_detail::sleep(kPause);
    std::uint32_t received = kReplyLength;
    const LinkResult read = UsbRead(context, reply, received, kReadTimeout);
    cusb_detail::sleep(kPause);
    cusb_detail::close(context);
    if (read != kLinkOk) {
        Record(read, context.error);
    }
    cusb_detail::sleep(kPause);
    return read;
}

LinkResult CUsb::GetStatus(void* reply) {
    const protocol::Frame status = protocol::StatusRequestFrame();
    return GetSettings(status.data(), static_cast<int>(status.size()), reply);
}

LinkResult CUsb::SetSettings(const void* frame, int length, const void* secondFrame, int secondLength,
                             void* reply) {
    // A null second frame means there is none, whatever its length says.
    const bool hasSecond = secondFrame != nullptr;
    if (!ValidFrame(frame, length)) {
        return Record(kLinkCommandWriteFailed, platform::kUsbErrorInvalidParam);
    }
    if (hasSecond && !ValidFrame(secondFrame, secondLength)) {
        return Record(kLinkRequestWriteFailed, platform::kUsbErrorInvalidParam);
    }
    if (hasSecond && reply == nullptr) {
        return Record(kLinkReadFailed, platform::kUsbErrorInvalidParam);
    }
    USBIOContext context;
    cusb_detail::sleep(kShortPause);
    if (const LinkResult opened = UsbOpen(context, Target(mManufacturer), Target(mProduct), Target(mSerial));
        opened != kLinkOk) {
        return Record(opened, context.error);
    }
    cusb_detail::sleep(kPause);
    const LinkResult first = UsbWrite(context, frame, static_cast<std::uint32_t>(length)) == kLinkOk
                                 ? kLinkOk
                                 : kLinkCommandWriteFailed;
    if (!hasSecond || first != kLinkOk) {
        cusb_detail::sleep(kPause);
        cusb_detail::close(context);
        return first == kLinkOk ? kLinkOk : Record(first, context.error);
    }
    cusb_detail::sleep(kPause);
    if (UsbWrite(context, secondFrame, static_cast<std::uint32_t>(secondLength)) != kLinkOk) {
        cusb_detail::sleep(kPause);
        cusb_detail::close(context);
        return Record(kLinkRequestWriteFailed, context.error);
    }
    cusb_detail::sleep(kPause);
    std::uint32_t received = kReplyLength;
    const LinkResult read = UsbRead(context, reply, received, kReadTimeout);
    cusb_detail::sleep(kPause);
    cusb_detail::close(context);
    return read == kLinkOk ? kLinkOk : Record(read, context.error);
}

LinkResult CUsb::TestPrint(const void* frame, int length) {
    return SetSettings(frame, length, nullptr, 0, nullptr);
}

LinkResult CUsb::Record(LinkResult result, std::int32_t error) {
    mLastResult = static_cast<std::uint32_t>(result);
    mLastError = static_cast<std::uint32_t>(error);
    return result;
}
