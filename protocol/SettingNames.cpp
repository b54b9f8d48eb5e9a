#include "protocol/SettingNames.h"

#include <array>

namespace protocol {
namespace {

constexpr std::array<std::string_view, 5> kNames{"power-on", "auto-power-off", "network", "info-print",
                                                 "command-mode"};

std::size_t Slot(SettingKind kind) {
    return static_cast<std::size_t>(kind - kFirstValueKind);
}

} // namespace

std::string_view SettingName(SettingKind kind) {
    return IsReadableKind(kind) ? kNames[Slot(kind)] : std::string_view();
}

std::optional<SettingKind> SettingKindNamed(std::string_view name) {
    for (SettingKind kind = kFirstValueKind; kind <= kLastValueKind; ++kind) {
        if (kNames[Slot(kind)] == name) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace protocol
