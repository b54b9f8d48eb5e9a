#include "protocol/CommandFileReader.h"

#include "protocol/CommandFile.h"
#include "protocol/Frames.h"

#include <algorithm>

namespace protocol {
namespace {

// Compares a fixed part of the file; the fault is at the first differing byte, or at the end of
// the file when it stops inside the part.
std::optional<CommandFileFault> ExpectBytes(std::span<const std::uint8_t> file, std::size_t offset,
                                            std::span<const std::uint8_t> expected, const char* part,
                                            const char* spelled) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t at = offset + i;
        if (at >= file.size()) {
            return CommandFileFault{file.size(), std::string("file ends inside the ") + part};
        }
        if (file[at] != expected[i]) {
            return CommandFileFault{at, std::string("the ") + part + " is not " + spelled};
        }
    }
    return std::nullopt;
}

std::optional<CommandFileFault> CheckLengthField(std::span<const std::uint8_t> file) {
    constexpr std::size_t end = kCommandFileLengthOffset + kCommandFileLengthSize;
    if (file.size() < end) {
        return CommandFileFault{file.size(), "file ends inside the length field"};
    }
    std::uint64_t announced = 0;
    for (std::size_t i = kCommandFileLengthSize; i-- > 0;) {
        announced = (announced << 8) | file[kCommandFileLengthOffset + i];
    }
    const std::uint64_t following = file.size() - end;
    if (announced != following) {
        return CommandFileFault{kCommandFileLengthOffset,
                                "the length field says " + std::to_string(announced) +
                                    " bytes follow it, but " + std::to_string(following) + " do"};
    }
    return std::nullopt;
}

const char* FrameName(FrameType type) {
    switch (type) {
    case FrameType::Initialize:
        return "an initialize frame";
    case FrameType::Mode:
        return "a mode frame";
    case FrameType::Status:
        return "a status request";
    case FrameType::Read:
        return "a read request";
    case FrameType::Reset:
        return "a reset frame";
    case FrameType::Write:
        break;
    }
    return "a write frame";
}

} // namespace

CommandFileCheck CheckCommandFile(std::span<const std::uint8_t> file) {
    CommandFileCheck check;
    const Frame mode = ModeFrame();
    check.fault = ExpectBytes(file, 0, kCommandFileHeader, "header", "ESC \"i\" \"U\" \"O\"");
    if (!check.fault) {
        check.fault = ExpectBytes(file, kCommandFileHeader.size(), kCommandFileConstant, "constant",
                                  "DLE \"4\" \"6\" NUL");
    }
    if (!check.fault) {
        check.fault = CheckLengthField(file);
    }
    if (!check.fault) {
        check.fault =
            ExpectBytes(file, kCommandFileModeFrameOffset, mode, "mode frame", "ESC \"i\" \"a\" 01");
    }
    std::size_t offset = kCommandFileModeFrameOffset + mode.size();
    while (!check.fault && offset < file.size()) {
        const auto frame = RecognizeFrame(file.subspan(offset));
        if (!frame) {
            check.fault = CommandFileFault{offset, "not a setting's write frame"};
        } else if (frame->type != FrameType::Write) {
            check.fault = CommandFileFault{offset, std::string(FrameName(frame->type)) +
                                                       " is not a setting's write frame"};
        } else {
            check.settings.push_back(CarriedSetting{frame->kind, frame->value, offset});
            offset += frame->length;
        }
    }
    return check;
}

} // namespace protocol
