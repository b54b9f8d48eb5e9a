#include "protocol/Frames.h"

#include "protocol/SettingsTable.h"

#include <algorithm>
#include <array>

namespace protocol {
namespace {

constexpr std::uint8_t ESC = 0x1B;

constexpr std::array<std::uint8_t, 1> kUReadTail{0x01};
constexpr std::array<std::uint8_t, 1> kUWriteTail{0x00};
constexpr std::array<std::uint8_t, 3> kXReadTail{'1', 0x00, 0x00};
constexpr std::array<std::uint8_t, 3> kXWriteTail{'2', 0x01, 0x00};
constexpr std::uint32_t kUReplyLength = 32;
constexpr std::size_t kUValuePosition = 30;
constexpr std::uint32_t kXReplyLength = 3;
constexpr std::size_t kXValuePosition = 2;

constexpr std::array<std::uint8_t, 4> kResetFrame{ESC, 'i', 'U', 'i'};
constexpr std::array<std::uint8_t, 2> kInitializeFrame{ESC, '@'};
constexpr std::array<std::uint8_t, 4> kModeFrame{ESC, 'i', 'a', 0x01};
constexpr std::array<std::uint8_t, 3> kStatusRequestFrame{ESC, 'i', 'S'};

template <std::size_t N> Frame ToFrame(const std::array<std::uint8_t, N>& bytes) {
    return Frame(bytes.begin(), bytes.end());
}

Frame Concat(const std::array<std::uint8_t, 4>& prefix, std::span<const std::uint8_t> tail) {
    Frame frame(prefix.begin(), prefix.end());
    frame.insert(frame.end(), tail.begin(), tail.end());
    return frame;
}

std::span<const std::uint8_t> ReadTail(FrameFamily family) {
    return family == FrameFamily::U ? std::span<const std::uint8_t>(kUReadTail)
                                    : std::span<const std::uint8_t>(kXReadTail);
}

std::span<const std::uint8_t> WriteTail(FrameFamily family) {
    return family == FrameFamily::U ? std::span<const std::uint8_t>(kUWriteTail)
                                    : std::span<const std::uint8_t>(kXWriteTail);
}

Frame WriteFrame(const SettingRow& k, std::uint8_t value) {
    Frame frame = Concat(k.prefix, WriteTail(k.family));
    frame.push_back(value);
    return frame;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> frame) {
    return bytes.size() >= frame.size() && std::equal(frame.begin(), frame.end(), bytes.begin());
}

} // namespace

std::optional<ReadRequest> ReadRequestFor(SettingKind kind) {
    const SettingRow* k = SettingOf(kind);
    if (k == nullptr) {
        return std::nullopt;
    }
    const bool u = k->family == FrameFamily::U;
    return ReadRequest{Concat(k->prefix, ReadTail(k->family)), u ? kUReplyLength : kXReplyLength,
                       u ? kUValuePosition : kXValuePosition};
}

std::optional<Frame> WriteFrameFor(SettingKind kind, std::uint8_t value) {
    const SettingRow* k = SettingOf(kind);
    if (k == nullptr) {
        return std::nullopt;
    }
    return WriteFrame(*k, value);
}

ResetExchange ResetExchangeFrames() {
    return ResetExchange{ToFrame(kResetFrame), *ReadRequestFor(kPowerOn)};
}

Frame InitializeFrame() {
    return ToFrame(kInitializeFrame);
}
Frame ModeFrame() {
    return ToFrame(kModeFrame);
}
Frame StatusRequestFrame() {
    return ToFrame(kStatusRequestFrame);
}

std::optional<RecognizedFrame> RecognizeFrame(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, kInitializeFrame)) {
        return RecognizedFrame{FrameType::Initialize, 0, kInitializeFrame.size(), 0};
    }
    if (StartsWith(bytes, kModeFrame)) {
        return RecognizedFrame{FrameType::Mode, 0, kModeFrame.size(), 0};
    }
    if (StartsWith(bytes, kStatusRequestFrame)) {
        return RecognizedFrame{FrameType::Status, 0, kStatusRequestFrame.size(), 0};
    }
    if (StartsWith(bytes, kResetFrame)) {
        return RecognizedFrame{FrameType::Reset, kReset, kResetFrame.size(), 0};
    }
    for (const SettingRow& k : Settings()) {
        if (!StartsWith(bytes, k.prefix)) {
            continue;
        }
        const auto rest = bytes.subspan(k.prefix.size());
        const Frame read = Concat(k.prefix, ReadTail(k.family));
        if (StartsWith(bytes, read)) {
            return RecognizedFrame{FrameType::Read, k.kind, read.size(), 0};
        }
        const auto writeTail = WriteTail(k.family);
        if (StartsWith(rest, writeTail) && rest.size() > writeTail.size()) {
            return RecognizedFrame{FrameType::Write, k.kind, k.prefix.size() + writeTail.size() + 1,
                                   rest[writeTail.size()]};
        }
    }
    return std::nullopt;
}

} // namespace protocol
