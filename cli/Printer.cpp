#include "cli/Printer.h"

#include "usb/ExchangeTransactions.h"

namespace cli {
Printer::Printer(const std::string& serial) : serial_(serial) {
    link_.SetDeviceInf(&manufacturer_, &product_, &serial_);
}

// `second` empty: a read transaction (`first` is the request). Otherwise a set transaction.
LinkResult Printer::Exchange(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second,
                             std::vector<std::uint8_t>& reply) {
    const ExchangeTargets targets{&manufacturer_, &product_, &serial_};
    return second.empty() ? ReadTransaction(link_, targets, first, reply, nullptr)
                          : SetTransaction(link_, targets, first, second, reply, nullptr);
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
