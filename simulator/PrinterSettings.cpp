#include "simulator/PrinterSettings.h"

namespace simulator {
namespace {

constexpr std::array<std::string_view, 5> kNames{"power-on", "auto-power-off", "network", "info-print",
                                                 "command-mode"};

std::size_t Slot(protocol::SettingKind kind) {
    return static_cast<std::size_t>(kind - protocol::kFirstValueKind);
}

} // namespace

std::uint8_t PrinterSettings::Get(protocol::SettingKind kind) const {
    return protocol::IsReadableKind(kind) ? values[Slot(kind)] : 0;
}

void PrinterSettings::Set(protocol::SettingKind kind, std::uint8_t value) {
    if (protocol::IsReadableKind(kind)) {
        values[Slot(kind)] = value;
    }
}

std::string_view SettingName(protocol::SettingKind kind) {
    return protocol::IsReadableKind(kind) ? kNames[Slot(kind)] : std::string_view();
}

std::optional<protocol::SettingKind> SettingKindNamed(std::string_view name) {
    for (protocol::SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind; ++kind) {
        if (kNames[Slot(kind)] == name) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace simulator
