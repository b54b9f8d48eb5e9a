#include "protocol/SettingValues.h"

#include <algorithm>
#include <cctype>

namespace protocol {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The index on the setting's line for a value no choice stands for.
int IndexOnLine(const SettingRow& setting, int value) {
    const int offset = value - setting.base;
    return setting.step != 0 && offset % setting.step == 0 ? offset / setting.step : -1;
}

} // namespace

std::int16_t ValueForIndex(SettingKind kind, int index) {
    const SettingRow* setting = SettingOf(kind);
    const int value = setting != nullptr ? setting->base + setting->step * index : index;
    return static_cast<std::int16_t>(value);
}

std::uint8_t WrittenByte(const SettingRow& setting, std::int16_t value, bool zero) {
    if (zero) {
        return 0x00;
    }
    return setting.fixedWrite ? setting.fixedValue : ValueByte(value);
}

const SettingChoice* ChoiceForValue(const SettingRow& setting, int value) {
    const std::uint8_t byte = ValueByte(static_cast<std::int16_t>(value));
    const auto found = std::find_if(setting.choices.begin(), setting.choices.end(),
                                    [byte](const SettingChoice& choice) { return choice.byte == byte; });
    return found != setting.choices.end() ? &*found : nullptr;
}

ValueDisplay DisplayForValue(SettingKind kind, int value) {
    const SettingRow* setting = SettingOf(kind);
    if (setting == nullptr) {
        return {};
    }
    if (const SettingChoice* choice = ChoiceForValue(*setting, value)) {
        return {true, {choice->text, static_cast<int>(choice - setting->choices.data())}};
    }
    return {true, {setting->unknown, IndexOnLine(*setting, value)}};
}

std::optional<std::string_view> WordForValue(SettingKind kind, int value) {
    const SettingRow* setting = SettingOf(kind);
    const SettingChoice* choice = setting != nullptr ? ChoiceForValue(*setting, value) : nullptr;
    if (choice == nullptr || choice->word.empty()) {
        return std::nullopt;
    }
    return choice->word;
}

std::optional<int> IndexForWord(SettingKind kind, std::string_view word) {
    const SettingRow* setting = SettingOf(kind);
    if (setting == nullptr) {
        return std::nullopt;
    }
    const auto list = setting->List();
    const auto found = std::find_if(list.begin(), list.end(), [word](const SettingChoice& choice) {
        return EqualsIgnoringCase(choice.word, word);
    });
    return found != list.end() ? std::optional<int>(static_cast<int>(found - list.begin())) : std::nullopt;
}

} // namespace protocol
