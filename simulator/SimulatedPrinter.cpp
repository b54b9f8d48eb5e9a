#include "simulator/SimulatedPrinter.h"

#include "platform/usbhost/UsbRequests.h"
#include "protocol/Frames.h"
#include "protocol/SettingsTable.h"

#include <algorithm>

namespace simulator {
namespace {

using namespace platform; // the USB request constants

// Replies start with a fixed mark and the reply's length, as a status reply does.
constexpr std::uint8_t kReplyMark = 0x80;
// Replies nobody reads are dropped beyond this, so a host that never reads cannot grow them forever.
constexpr std::size_t kMaxPendingReply = 64 * 1024;

// Every frame the printer knows, with 00 in place of a write frame's value: a buffer that is a
// strict prefix of one of them may still become that frame.
const std::vector<protocol::Frame>& KnownFrames() {
    static const std::vector<protocol::Frame> frames = [] {
        std::vector<protocol::Frame> all{protocol::InitializeFrame(), protocol::ModeFrame(),
                                         protocol::StatusRequestFrame(),
                                         protocol::ResetExchangeFrames().resetFrame};
        for (const protocol::SettingRow& setting : protocol::Settings()) {
            all.push_back(protocol::ReadRequestFor(setting.kind)->frame);
            all.push_back(*protocol::WriteFrameFor(setting.kind, 0));
        }
        return all;
    }();
    return frames;
}

bool MayBecomeFrame(std::span<const std::uint8_t> bytes) {
    return std::any_of(KnownFrames().begin(), KnownFrames().end(), [bytes](const protocol::Frame& frame) {
        return bytes.size() < frame.size() && std::equal(bytes.begin(), bytes.end(), frame.begin());
    });
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, std::uint16_t length) {
    bytes.resize(std::min<std::size_t>(bytes.size(), length));
    return bytes;
}

} // namespace

SimulatedPrinter::SimulatedPrinter(DeviceIdentity identity, PrinterSettings settings)
    : identity_(std::move(identity)), settings_(settings) {}

void SimulatedPrinter::Receive(std::span<const std::uint8_t> bytes) {
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    Interpret();
}

void SimulatedPrinter::Interpret() {
    std::size_t pos = 0;
    while (pos < input_.size()) {
        const std::span<const std::uint8_t> rest(input_.data() + pos, input_.size() - pos);
        const auto frame = protocol::RecognizeFrame(rest);
        if (!frame) {
            if (MayBecomeFrame(rest)) {
                break;
            }
            ++pos;
            continue;
        }
        pos += frame->length;
        if (frameObserver_) {
            frameObserver_(frame->type, frame->kind);
        }
        switch (frame->type) {
        case protocol::FrameType::Initialize:
            reply_.clear();
            break;
        case protocol::FrameType::Mode:
            break;
        case protocol::FrameType::Status:
            AppendStatusReply();
            break;
        case protocol::FrameType::Read:
            AppendSettingReply(frame->kind);
            break;
        case protocol::FrameType::Write:
            if (!refused_.contains(frame->kind)) {
                PrinterSettings changed = settings_;
                changed.Set(frame->kind, frame->value);
                ChangeSettings(changed);
            }
            break;
        case protocol::FrameType::Reset:
            ChangeSettings(PrinterSettings{});
            break;
        }
    }
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(pos));
}

void SimulatedPrinter::ChangeSettings(const PrinterSettings& settings) {
    if (settings == settings_) {
        return;
    }
    settings_ = settings;
    if (observer_) {
        observer_(settings_);
    }
}

void SimulatedPrinter::AppendSettingReply(protocol::SettingKind kind) {
    const auto request = protocol::ReadRequestFor(kind);
    std::vector<std::uint8_t> reply(request->replyLength, 0);
    reply[0] = kReplyMark;
    reply[1] = static_cast<std::uint8_t>(request->replyLength);
    reply[request->valuePosition] = settings_.Get(kind);
    if (reply_.size() + reply.size() <= kMaxPendingReply) {
        reply_.insert(reply_.end(), reply.begin(), reply.end());
    }
}

void SimulatedPrinter::AppendStatusReply() {
    std::vector<std::uint8_t> reply(protocol::kStatusReplyLength, 0);
    reply[0] = kReplyMark;
    reply[1] = static_cast<std::uint8_t>(protocol::kStatusReplyLength);
    if (reply_.size() + reply.size() <= kMaxPendingReply) {
        reply_.insert(reply_.end(), reply.begin(), reply.end());
    }
}

std::size_t SimulatedPrinter::TakeReply(std::span<std::uint8_t> room) {
    const std::size_t count = std::min(room.size(), reply_.size());
    std::copy_n(reply_.begin(), count, room.begin());
    reply_.erase(reply_.begin(), reply_.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

std::optional<std::vector<std::uint8_t>> SimulatedPrinter::AnswerControl(const ControlSetup& setup) const {
    if (setup.bmRequestType == kRequestTypeClassInterfaceIn && setup.bRequest == kRequestGetDeviceId) {
        return Truncated(DeviceIdReply(identity_.deviceId), setup.wLength);
    }
    if (setup.bmRequestType != kRequestTypeStandardDeviceIn || setup.bRequest != kRequestGetDescriptor) {
        return std::nullopt;
    }
    const auto type = static_cast<std::uint8_t>(setup.wValue >> 8);
    const auto index = static_cast<std::uint8_t>(setup.wValue & 0xFF);
    const std::vector<std::uint8_t> device = DeviceDescriptor(identity_);
    if (type == kDescriptorTypeDevice && index == 0) {
        return Truncated(device, setup.wLength);
    }
    if (type != kDescriptorTypeString) {
        return std::nullopt;
    }
    if (index == 0) {
        return Truncated(LanguageIdsDescriptor(), setup.wLength);
    }
    // Indexes as the device descriptor gives them (bytes 14-16); a string it does not name stalls.
    const std::optional<std::string>* named[] = {&identity_.manufacturer, &identity_.product,
                                                 &identity_.serial};
    for (std::size_t i = 0; i < 3; ++i) {
        if (device[kManufacturerStringIndexAt + i] == index && named[i]->has_value()) {
            return Truncated(StringDescriptor(**named[i]), setup.wLength);
        }
    }
    return std::nullopt;
}

} // namespace simulator
