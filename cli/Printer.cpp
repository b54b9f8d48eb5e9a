#include "cli/Printer.h"

#include "usb/USBIOContext.h"

namespace cli {
namespace {

std::uint32_t Length(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes.size());
}

} // namespace

Printer::Printer(const std::string& serial) : serial_(serial) {
    link_.SetDeviceInf(&manufacturer_, &product_, &serial_);
}

LinkResult Printer::Fail(LinkResult result, std::int32_t status) {
    link_.mLastResult = static_cast<std::uint32_t>(result);
    link_.mLastError = static_cast<std::uint32_t>(status);
    return result;
}

// `second` empty: a read transaction (`first` is the request). Otherwise a set transaction.
LinkResult Printer::Exchange(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second,
                             std::vector<std::uint8_t>& reply) {
    USBIOContext context{};
    const LinkResult opened = link_.UsbOpen(context, &manufacturer_, &product_, &serial_);
    if (opened != kLinkOk) {
        return Fail(opened, context.error);
    }
    const bool readTransaction = second.empty();
    if (link_.UsbWrite(context, first.data(), Length(first)) != kLinkOk) {
        const std::int32_t status = context.error; // of the write, not of the close
        link_.UsbClose(context);
        return Fail(readTransaction ? kLinkWriteFailed : kLinkCommandWriteFailed, status);
    }
    if (!readTransaction && link_.UsbWrite(context, second.data(), Length(second)) != kLinkOk) {
        const std::int32_t status = context.error;
        link_.UsbClose(context);
        return Fail(kLinkRequestWriteFailed, status);
    }
    std::uint32_t length = static_cast<std::uint32_t>(reply.size());
    const LinkResult read = link_.UsbRead(context, reply.data(), length, kReadTimeout);
    const std::int32_t status = context.error;
    link_.UsbClose(context);
    return read == kLinkOk ? kLinkOk : Fail(read, status);
}

LinkResult Printer::Read(const protocol::ReadRequest& request, std::vector<std::uint8_t>& reply) {
    reply.assign(request.replyLength, 0);
    return Exchange(request.frame, {}, reply);
}

LinkResult Printer::Write(std::span<const std::uint8_t> frame, const protocol::ReadRequest& request,
                          std::vector<std::uint8_t>& reply) {
    reply.assign(request.replyLength, 0);
    return Exchange(frame, request.frame, reply);
}

LinkResult Printer::Status(std::vector<std::uint8_t>& reply) {
    reply.assign(protocol::kStatusReplyLength, 0);
    return link_.GetStatus(reply.data());
}

LinkResult Printer::Send(std::span<const std::uint8_t> bytes) {
    return link_.TestPrint(bytes.data(), static_cast<int>(bytes.size()));
}

} // namespace cli
