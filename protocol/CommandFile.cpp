#include "protocol/CommandFile.h"

#include "protocol/Frames.h"
#include "protocol/SettingValues.h"

namespace protocol {
namespace {

void Append(std::vector<std::uint8_t>& out, const Frame& frame) {
    out.insert(out.end(), frame.begin(), frame.end());
}

int SelectedIndex(const CommandSelections& selections, SettingKind kind) {
    const auto selected = selections.find(kind);
    return selected != selections.end() ? selected->second : -1;
}

std::vector<std::uint8_t> SettingsBytes(CommandGroup group, const CommandSelections& selections) {
    const std::optional<SettingTab> tab = TabOfGroup(group);
    if (!tab) {
        return {0x00};
    }
    std::vector<std::uint8_t> bytes;
    for (const SettingRow& setting : Settings()) {
        if (setting.tab == *tab) {
            const std::int16_t value = ValueForIndex(setting.kind, SelectedIndex(selections, setting.kind));
            Append(bytes, *WriteFrameFor(setting.kind, WrittenByte(setting, value, false)));
        }
    }
    return bytes;
}

} // namespace

std::optional<SettingTab> TabOfGroup(CommandGroup group) {
    switch (group) {
    case kPowerGroup:
        return SettingTab::Power;
    case kPrintGroup:
        return SettingTab::Print;
    default:
        return std::nullopt;
    }
}

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
