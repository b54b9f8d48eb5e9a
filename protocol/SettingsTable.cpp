#include "protocol/SettingsTable.h"

#include <algorithm>

namespace protocol {
namespace {

constexpr std::uint8_t ESC = 0x1B;

constexpr std::array kPowerOnChoices{
    SettingChoice{0, "off", Key("PowerON_OFF")},
    SettingChoice{1, "on", Key("PowerON_ON")},
};
// The minute values are the same in every language; the value byte counts tens of minutes.
constexpr std::array kAutoPowerOffChoices{
    SettingChoice{0, "0", Verbatim("0")},   SettingChoice{1, "10", Verbatim("10")},
    SettingChoice{2, "20", Verbatim("20")}, SettingChoice{3, "30", Verbatim("30")},
    SettingChoice{4, "40", Verbatim("40")}, SettingChoice{5, "50", Verbatim("50")},
    SettingChoice{6, "60", Verbatim("60")},
};
// The command line numbers the modes as the window's list does: its first, second, third entry.
constexpr std::array kNetworkChoices{
    SettingChoice{0, "1", Key("NetworkSet1_1")},
    SettingChoice{1, "2", Key("NetworkSet1_2")},
    SettingChoice{2, "3", Key("NetworkSet1_3")},
};
// Information print runs backwards (3 - index), and its 0 has a text but no list entry or word.
constexpr std::array kInfoPrintChoices{
    SettingChoice{3, "1", Key("InfoPrint_1")},
    SettingChoice{2, "2", Key("InfoPrint_2")},
    SettingChoice{1, "3", Key("InfoPrint_3")},
    SettingChoice{0, {}, Key("InfoPrint_4")},
};
// Command mode reports 0, 1 or 3; the window never offers it, and its frame always carries 01.
constexpr std::array kCommandModeChoices{
    SettingChoice{0, "1", Key("Command_1")},
    SettingChoice{1, "2", Key("Command_2")},
    SettingChoice{3, "3", Key("Command_3")},
};

constexpr std::array<SettingRow, 5> kSettings{{
    {.kind = kPowerOn,
     .key = "power-on",
     .outlet = "powerOn",
     .prefix = {ESC, 'i', 'U', 'p'},
     .family = FrameFamily::U,
     .choices = kPowerOnChoices,
     .listed = kPowerOnChoices.size(),
     .firstChoice = 0,
     // power-on values the list cannot show read as this, untranslated
     .unknown = Verbatim("OFF"),
     .tab = SettingTab::Power,
     .titleKey = "PowerOnBoxName",
     .helpKey = "PowerOnHelp"},
    {.kind = kAutoPowerOff,
     .key = "auto-power-off",
     .outlet = "autoPowerOff",
     .prefix = {ESC, 'i', 'U', 'A'},
     .family = FrameFamily::U,
     .choices = kAutoPowerOffChoices,
     .listed = kAutoPowerOffChoices.size(),
     .firstChoice = 6,
     // anything the list cannot show reads as the longest time
     .unknown = Verbatim("60"),
     .tab = SettingTab::Power,
     .titleKey = "AutoPowerOffBoxName",
     .helpKey = "AutoPowerOffLabel",
     .helpShown = true,
     .unit = {"Munutes", "min"}},
    {.kind = kNetwork,
     .key = "network",
     .outlet = "networkSet",
     .prefix = {ESC, 'i', 'X', 'K'},
     .family = FrameFamily::X,
     .choices = kNetworkChoices,
     .listed = kNetworkChoices.size(),
     .firstChoice = 2,
     .unknown = kNoText,
     .tab = SettingTab::Power,
     .titleKey = "NetworkSetName",
     .helpKey = "NetworkSetHelp"},
    {.kind = kInfoPrint,
     .key = "info-print",
     .outlet = "infoPrint",
     .prefix = {ESC, 'i', 'X', 'o'},
     .family = FrameFamily::X,
     .choices = kInfoPrintChoices,
     .listed = 3,
     .firstChoice = 0,
     .base = 3,
     .step = -1,
     .unknown = Key("InfoPrint_1"),
     .tab = SettingTab::Print,
     .titleKey = "InfoPrintBoxName",
     .helpKey = "InfoPrintHelp"},
    {.kind = kCommandMode,
     .key = "command-mode",
     .outlet = "command",
     .prefix = {ESC, 'i', 'U', 'a'},
     .family = FrameFamily::U,
     .choices = kCommandModeChoices,
     .listed = 0,
     .firstChoice = 0,
     .unknown = kNoText,
     .fixedWrite = true,
     .fixedValue = 0x01,
     .tab = SettingTab::Print,
     .titleKey = "CommandModeBoxName",
     .helpKey = "CommandModeHelp"},
}};

} // namespace

std::span<const SettingRow> Settings() {
    return kSettings;
}

const SettingRow* SettingOf(SettingKind kind) {
    const auto* row = std::find_if(kSettings.begin(), kSettings.end(),
                                   [kind](const SettingRow& r) { return r.kind == kind; });
    return row == kSettings.end() ? nullptr : &*row;
}

const SettingRow* SettingNamed(std::string_view key) {
    const auto* row =
        std::find_if(kSettings.begin(), kSettings.end(), [key](const SettingRow& r) { return r.key == key; });
    return row == kSettings.end() ? nullptr : &*row;
}

} // namespace protocol
