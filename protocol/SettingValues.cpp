#include "protocol/SettingValues.h"

#include <array>

namespace protocol {
namespace {

constexpr SettingText Key(std::string_view key) {
    return {TextSort::Key, key};
}
constexpr SettingText Verbatim(std::string_view text) {
    return {TextSort::Verbatim, text};
}
constexpr SettingText kEmpty{TextSort::Empty, {}};

constexpr std::array kPowerOnItems{Key("PowerON_OFF"), Key("PowerON_ON")};
constexpr std::array kAutoPowerOffItems{Verbatim("0"),  Verbatim("10"), Verbatim("20"), Verbatim("30"),
                                        Verbatim("40"), Verbatim("50"), Verbatim("60")};
constexpr std::array kNetworkItems{Key("NetworkSet1_1"), Key("NetworkSet1_2"), Key("NetworkSet1_3")};
constexpr std::array kInfoPrintItems{Key("InfoPrint_1"), Key("InfoPrint_2"), Key("InfoPrint_3")};
// Information print 0 has a text but no list entry.
constexpr SettingText kInfoPrintZero = Key("InfoPrint_4");
// Command mode reports 0, 1 or 3; its texts are not list entries the application fills.
constexpr std::array kCommandModeTexts{Key("Command_1"), Key("Command_2"), Key("Command_3")};
constexpr std::array<int, 3> kCommandModeValues{0, 1, 3};
// Power-on values the list cannot show read as this, untranslated.
constexpr SettingText kPowerOnOther = Verbatim("OFF");

constexpr int kInfoPrintBase = 3;

} // namespace

std::span<const SettingText> ListItems(SettingKind kind) {
    switch (kind) {
    case kPowerOn:
        return kPowerOnItems;
    case kAutoPowerOff:
        return kAutoPowerOffItems;
    case kNetwork:
        return kNetworkItems;
    case kInfoPrint:
        return kInfoPrintItems;
    default:
        return {};
    }
}

int InitialIndex(SettingKind kind) {
    switch (kind) {
    case kAutoPowerOff:
        return static_cast<int>(kAutoPowerOffItems.size()) - 1; // "60"
    case kNetwork:
        return static_cast<int>(kNetworkItems.size()) - 1; // "NetworkSet1_3"
    default:
        return 0;
    }
}

std::int16_t ValueForIndex(SettingKind kind, int index) {
    const int value = kind == kInfoPrint ? kInfoPrintBase - index : index;
    return static_cast<std::int16_t>(value);
}

ValueDisplay DisplayForValue(SettingKind kind, int value) {
    const auto inRange = [value](auto items) { return value >= 0 && value < static_cast<int>(items.size()); };
    switch (kind) {
    case kPowerOn:
        return {
            true,
            {inRange(kPowerOnItems) ? kPowerOnItems[static_cast<std::size_t>(value)] : kPowerOnOther, value}};
    case kAutoPowerOff:
        // anything the list cannot show reads as the longest time
        return {true,
                {inRange(kAutoPowerOffItems) ? kAutoPowerOffItems[static_cast<std::size_t>(value)]
                                             : kAutoPowerOffItems.back(),
                 value}};
    case kNetwork:
        return {true,
                {inRange(kNetworkItems) ? kNetworkItems[static_cast<std::size_t>(value)] : kEmpty, value}};
    case kInfoPrint: {
        const int index = kInfoPrintBase - value;
        if (value == 0) {
            return {true, {kInfoPrintZero, index}};
        }
        const bool listed = value >= 1 && value <= kInfoPrintBase;
        return {true,
                {listed ? kInfoPrintItems[static_cast<std::size_t>(index)] : kInfoPrintItems.front(), index}};
    }
    case kCommandMode:
        for (std::size_t i = 0; i < kCommandModeValues.size(); ++i) {
            if (kCommandModeValues[i] == value) {
                return {true, {kCommandModeTexts[i], static_cast<int>(i)}};
            }
        }
        return {true, {kEmpty, value}};
    default:
        return {};
    }
}

} // namespace protocol
