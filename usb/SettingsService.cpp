#include "usb/SettingsService.h"

#include "protocol/Frames.h"
#include "protocol/PrinterIdentity.h"
#include "protocol/SettingValues.h"

#include <array>

namespace {

using Reply = std::array<std::uint8_t, protocol::kMaxReplyLength>;

std::span<std::uint8_t> Wanted(Reply& reply, const protocol::ReadRequest& request) {
    return std::span(reply).first(request.replyLength);
}

int ValueIn(const Reply& reply, const protocol::ReadRequest& request) {
    return protocol::ReplyValue(reply[request.valuePosition]);
}

const std::string* Target(const std::optional<std::string>& target) {
    return target ? &*target : nullptr;
}

} // namespace

SettingsService::SettingsService(platform::UsbBus& bus)
    : bus_(bus), link_(bus), manufacturer_(protocol::kTargetManufacturer),
      product_(protocol::kTargetProduct) {}

void SettingsService::SetTarget(std::optional<std::string> manufacturer, std::optional<std::string> product,
                                std::optional<std::string> serial) {
    manufacturer_ = std::move(manufacturer);
    product_ = std::move(product);
    serial_ = std::move(serial);
}

LinkTargets SettingsService::Targets() const {
    return {Target(manufacturer_), Target(product_), Target(serial_)};
}

TransactionOutcome SettingsService::Transact(const TransactionPlan& plan) {
    return link_.Transact(Targets(), plan);
}

ReadOutcome SettingsService::ReadSetting(protocol::SettingKind kind, ProgressIndicator* progress) {
    const std::optional<protocol::ReadRequest> request = protocol::ReadRequestFor(kind);
    if (!request) {
        return {kRefusedKind, 0, 0};
    }
    Reply reply{};
    const TransactionOutcome done = Transact({.shape = TransactionPlan::Shape::Read,
                                              .frame = request->frame,
                                              .reply = Wanted(reply, *request),
                                              .requestWriteFailure = kLinkWriteFailed,
                                              .progress = progress});
    return {done.result, done.status, ValueIn(reply, *request)};
}

WriteOutcome SettingsService::WriteSetting(protocol::SettingKind kind, std::int16_t value, bool zero,
                                           ProgressIndicator* progress) {
    if (!protocol::IsReadableKind(kind)) {
        return {kRefusedKind, 0, 0, 0};
    }
    const protocol::Frame frame = kind == protocol::kCommandMode
                                      ? protocol::CommandModeWriteFrame(zero)
                                      : *protocol::WriteFrameFor(kind, protocol::ValueByte(zero ? 0 : value));
    // Every write frame ends with the value it carries, and the printer is expected to answer that
    // value; for command mode this is its fixed 01 (00 with `zero`).
    const int written = protocol::ReplyValue(frame.back());
    const protocol::ReadRequest request = *protocol::ReadRequestFor(kind);
    Reply reply{};
    const TransactionOutcome done = Transact({.shape = TransactionPlan::Shape::Set,
                                              .frame = frame,
                                              .request = request.frame,
                                              .reply = Wanted(reply, request),
                                              .progress = progress});
    return {done.result, done.status, written, ValueIn(reply, request)};
}

ResetOutcome SettingsService::Reset(ProgressIndicator* progress) {
    const protocol::ResetExchange frames = protocol::ResetExchangeFrames();
    Reply reply{};
    ResetOutcome outcome;
    outcome.reset = Transact({.shape = TransactionPlan::Shape::Set,
                              .frame = frames.resetFrame,
                              .request = frames.readRequest.frame,
                              .reply = Wanted(reply, frames.readRequest),
                              .progress = progress});
    if (outcome.reset.result == kLinkOk) {
        outcome.confirmation = ReadSetting(protocol::kAutoPowerOff, progress);
    }
    return outcome;
}

StatusOutcome SettingsService::ReadStatus() {
    StatusOutcome outcome;
    outcome.reply.assign(protocol::kStatusReplyLength, 0);
    const protocol::Frame request = protocol::StatusRequestFrame();
    outcome.outcome =
        Transact({.shape = TransactionPlan::Shape::Read, .frame = request, .reply = outcome.reply});
    return outcome;
}

TransactionOutcome SettingsService::Send(std::span<const std::uint8_t> bytes) {
    return Transact({.shape = TransactionPlan::Shape::Set, .frame = bytes});
}

PrinterListing SettingsService::ListPrinters() {
    PrinterListing listing;
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    listing.status = bus_.ListInterfaces(entries);
    const LinkTargets targets = Targets();
    for (const auto& entry : entries) {
        std::unique_ptr<platform::UsbInterface> intf;
        if (entry->CreateInterface(intf) != platform::kUsbOk || !intf ||
            !cusb_detail::IsPrinterInterface(*intf)) {
            continue;
        }
        // Unlike the open, listing does not look at other alternate settings: it takes each printer as
        // it is.
        ListedPrinter listed{cusb_detail::ReadPrinterIdentity(*intf), false};
        listed.target = cusb_detail::MatchesTargets(listed.identity, targets.manufacturer, targets.product,
                                                    targets.serial);
        listing.printers.push_back(std::move(listed));
    }
    return listing;
}
