#include "protocol/CommandFile.h"

#include "protocol/Frames.h"
#include "protocol/SettingValues.h"

namespace protocol {
namespace {

void Append(std::vector<std::uint8_t>& out, const Frame& frame) {
    out.insert(out.end(), frame.begin(), frame.end());
}

void AppendSetting(std::vector<std::uint8_t>& out, SettingKind kind, int index) {
    Append(out, *WriteFrameFor(kind, ValueByte(ValueForIndex(kind, index))));
}

std::vector<std::uint8_t> SettingsBytes(CommandGroup group, const CommandSelections& s) {
    std::vector<std::uint8_t> bytes;
    switch (group) {
    case kPowerGroup:
        AppendSetting(bytes, kPowerOn, s.powerOn);
        AppendSetting(bytes, kAutoPowerOff, s.autoPowerOff);
        AppendSetting(bytes, kNetwork, s.network);
        break;
    case kPrintGroup:
        AppendSetting(bytes, kInfoPrint, s.infoPrint);
        Append(bytes, CommandModeWriteFrame(false));
        break;
    default:
        bytes.push_back(0x00);
        break;
    }
    return bytes;
}

} // namespace

std::vector<std::uint8_t> BuildCommandFile(CommandGroup group, const CommandSelections& selections) {
    const std::vector<std::uint8_t> settings = SettingsBytes(group, selections);
    const Frame mode = ModeFrame();
    std::vector<std::uint8_t> file;
    file.reserve(kCommandFileSettingsOffset + settings.size());
    file.insert(file.end(), kCommandFileHeader.begin(), kCommandFileHeader.end());
    file.insert(file.end(), kCommandFileConstant.begin(), kCommandFileConstant.end());
    std::uint64_t following = mode.size() + settings.size();
    for (std::size_t i = 0; i < kCommandFileLengthSize; ++i) {
        file.push_back(static_cast<std::uint8_t>(following & 0xFF));
        following >>= 8;
    }
    Append(file, mode);
    file.insert(file.end(), settings.begin(), settings.end());
    return file;
}

} // namespace protocol
