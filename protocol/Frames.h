#pragma once

#include "protocol/SettingKind.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace protocol {

using Frame = std::vector<std::uint8_t>;

// A read request and the reply it is answered with.
struct ReadRequest {
    Frame frame;
    std::uint32_t replyLength = 0;
    std::size_t valuePosition = 0; // index of the value byte in the reply
};

// The reset: the reset frame, then the power-on read request, whose reply is not examined.
struct ResetExchange {
    Frame resetFrame;
    ReadRequest readRequest;
};

// Settings of the table; nullopt for any other kind.
std::optional<ReadRequest> ReadRequestFor(SettingKind kind);

// The setting's write frame with the value byte at the end (WrittenByte says which); nullopt for a
// kind without a row.
std::optional<Frame> WriteFrameFor(SettingKind kind, std::uint8_t value);

ResetExchange ResetExchangeFrames();

// Sent on every open of the printer, in this order.
Frame InitializeFrame(); // ESC "@"
Frame ModeFrame();       // ESC "i" "a" 01; also the mode frame of a command file

// ESC "i" "S", answered by a 32-byte status reply.
Frame StatusRequestFrame();
inline constexpr std::uint32_t kStatusReplyLength = 32;

// Largest reply of any request; callers size their reply buffers with it.
inline constexpr std::uint32_t kMaxReplyLength = 32;

// What a complete frame at the start of some bytes is: the simulated printer interprets its input
// with this, and command files are checked with it, so both agree with the frames built above.
enum class FrameType { Initialize, Mode, Status, Read, Write, Reset };
struct RecognizedFrame {
    FrameType type = FrameType::Initialize;
    SettingKind kind = 0;   // Read and Write; kReset for Reset
    std::size_t length = 0; // bytes the frame takes
    std::uint8_t value = 0; // Write only
};
std::optional<RecognizedFrame> RecognizeFrame(std::span<const std::uint8_t> bytes);

} // namespace protocol
