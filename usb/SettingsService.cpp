#include "usb/SettingsService.h"

#include "protocol/Frames.h"
#include "protocol/PrinterModel.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"

#include <algorithm>
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

const ListedPrinter* PrinterListing::InUse() const {
    const auto used = std::find_if(printers.begin(), printers.end(),
                                   [](const ListedPrinter& listed) { return listed.target; });
    return used != printers.end() ? &*used : nullptr;
}

std::size_t PrinterListing::Matching() const {
    return static_cast<std::size_t>(std::count_if(printers.begin(), printers.end(),
                                                  [](const ListedPrinter& listed) { return listed.target; }));
}

std::vector<PrinterIdentity> PrinterListing::ModelPrinters() const {
    const std::string maker(protocol::kTargetManufacturer);
    const std::string model(protocol::kTargetProduct);
    std::vector<PrinterIdentity> found;
    for (const ListedPrinter& listed : printers) {
        if (!listed.identity.accessRefused && MatchesTargets(listed.identity, &maker, &model, nullptr)) {
            found.push_back(listed.identity);
        }
    }
    return found;
}

bool PrinterListing::ShowsRefusedPrinter() const {
    return std::any_of(printers.begin(), printers.end(),
                       [](const ListedPrinter& listed) { return listed.identity.accessRefused; });
}

SettingsService::SettingsService(platform::UsbBus& bus) : bus_(bus), link_(bus) {
    SetTarget(std::string(protocol::kTargetManufacturer), std::string(protocol::kTargetProduct),
              std::nullopt);
}

void SettingsService::SetTarget(std::optional<std::string> manufacturer, std::optional<std::string> product,
                                std::optional<std::string> serial) {
    manufacturer_ = std::move(manufacturer);
    product_ = std::move(product);
    serial_ = std::move(serial);
    link_.SetDeviceInf(Target(manufacturer_), Target(product_), Target(serial_));
}

ReadOutcome SettingsService::ReadSetting(protocol::SettingKind kind, ProgressIndicator* progress) {
    const std::optional<protocol::ReadRequest> request = protocol::ReadRequestFor(kind);
    if (!request) {
        return {kRefusedKind, 0, 0};
    }
    Reply reply{};
    const TransactionOutcome done = link_.GetSettings(request->frame, Wanted(reply, *request), progress);
    return {done.result, done.status, ValueIn(reply, *request)};
}

WriteOutcome SettingsService::WriteSetting(protocol::SettingKind kind, std::int16_t value, bool zero,
                                           ProgressIndicator* progress) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    if (setting == nullptr) {
        return {kRefusedKind, 0, 0, 0};
    }
    const std::uint8_t byte = protocol::WrittenByte(*setting, value, zero);
    const protocol::Frame frame = *protocol::WriteFrameFor(kind, byte);
    const protocol::ReadRequest request = *protocol::ReadRequestFor(kind);
    Reply reply{};
    const TransactionOutcome done = link_.SetSettings(frame, request.frame, Wanted(reply, request), progress);
    // The printer is expected to answer the value the frame carried.
    return {done.result, done.status, protocol::ReplyValue(byte), ValueIn(reply, request)};
}

ResetOutcome SettingsService::Reset(ProgressIndicator* progress) {
    const protocol::ResetExchange frames = protocol::ResetExchangeFrames();
    Reply reply{};
    ResetOutcome outcome;
    outcome.reset = link_.SetSettings(frames.resetFrame, frames.readRequest.frame,
                                      Wanted(reply, frames.readRequest), progress);
    if (outcome.reset.result == kLinkOk) {
        outcome.confirmation = ReadSetting(protocol::kAutoPowerOff, progress);
    }
    return outcome;
}

StatusOutcome SettingsService::ReadStatus() {
    StatusOutcome outcome;
    outcome.reply.assign(protocol::kStatusReplyLength, 0);
    outcome.outcome = link_.GetStatus(outcome.reply);
    return outcome;
}

TransactionOutcome SettingsService::Send(std::span<const std::uint8_t> bytes) {
    return link_.TestPrint(bytes);
}

PrinterListing SettingsService::ListPrinters() {
    PrinterListing listing;
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    listing.status = bus_.ListInterfaces(entries);
    for (const auto& entry : entries) {
        std::unique_ptr<platform::UsbInterface> intf;
        if (entry->CreateInterface(intf) != platform::kUsbOk || !intf || !IsPrinterInterface(*intf)) {
            continue;
        }
        // Unlike the open, listing does not look at other alternate settings: it takes each printer as
        // it is.
        ListedPrinter listed{ReadPrinterIdentity(*intf), false};
        listed.target =
            MatchesTargets(listed.identity, Target(manufacturer_), Target(product_), Target(serial_));
        listing.printers.push_back(std::move(listed));
    }
    return listing;
}

DesiredOutcome SettingsService::ApplyDesired(std::span<const DesiredValue> desired, bool check,
                                             ProgressIndicator* progress) {
    DesiredOutcome outcome;
    const auto fail = [&outcome](protocol::SettingKind kind, DesiredOutcome::Step step, LinkResult result,
                                 std::int32_t status) {
        outcome.result = result;
        outcome.status = status;
        outcome.failedKind = kind;
        outcome.failedStep = step;
        return outcome;
    };
    // Everything is read before anything is written, so a printer that cannot be read is left as it is.
    for (const DesiredValue& wanted : desired) {
        const ReadOutcome read = ReadSetting(wanted.kind, progress);
        if (read.result != kLinkOk) {
            return fail(wanted.kind, DesiredOutcome::Step::Read, read.result, read.status);
        }
        const int value = protocol::ReplyValue(protocol::ValueByte(wanted.value));
        outcome.settings.push_back({wanted.kind, value, read.value, read.value});
    }
    for (std::size_t i = 0; i < outcome.settings.size(); ++i) {
        SettingChange& change = outcome.settings[i];
        if (SettingChange::SameValue(change.before, change.desired)) {
            continue;
        }
        if (check) {
            change.after = change.desired;
            continue;
        }
        const WriteOutcome write = WriteSetting(change.kind, desired[i].value, false, progress);
        if (write.result != kLinkOk) {
            outcome.settings.resize(i + 1);
            change.after = change.before;
            return fail(change.kind,
                        FailedReadingBack(write.result) ? DesiredOutcome::Step::ReadBack
                                                        : DesiredOutcome::Step::Write,
                        write.result, write.status);
        }
        change.written = true;
        change.after = write.answered;
    }
    return outcome;
}

std::optional<PrinterIdentity> SettingsService::PrinterInUse(std::size_t* matching) {
    const PrinterListing listing = ListPrinters();
    if (matching != nullptr) {
        *matching = listing.Matching();
    }
    const ListedPrinter* used = listing.InUse();
    return used != nullptr ? std::optional(used->identity) : std::nullopt;
}

std::vector<ModelPrinter> SettingsService::EveryModelPrinter(platform::UsbStatus& status) {
    SettingsService any(bus_);
    const PrinterListing listing = any.ListPrinters();
    status = listing.status;
    std::vector<ModelPrinter> printers;
    for (const ListedPrinter& listed : listing.printers) {
        if (listed.target) {
            printers.push_back({listed.identity});
        }
    }
    const std::string maker(protocol::kTargetManufacturer);
    const std::string model(protocol::kTargetProduct);
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const std::string serial = printers[i].identity.serial.value_or(std::string());
        if (serial.empty()) {
            printers[i].reach =
                printers.size() == 1 ? ModelPrinter::Reach::Alone : ModelPrinter::Reach::NoSerialAmongSeveral;
            continue;
        }
        const auto first = std::find_if(printers.begin(), printers.end(), [&](const ModelPrinter& p) {
            return MatchesTargets(p.identity, &maker, &model, &serial);
        });
        if (first != printers.begin() + static_cast<std::ptrdiff_t>(i)) {
            printers[i].reach = ModelPrinter::Reach::SerialListedBefore;
        }
    }
    return printers;
}

SettingsService SettingsService::ForPrinter(const PrinterIdentity& printer) const {
    SettingsService service(bus_);
    service.SetTarget(std::string(protocol::kTargetManufacturer), std::string(protocol::kTargetProduct),
                      printer.serial.value_or(std::string()));
    return service;
}
