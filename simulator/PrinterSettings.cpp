#include "simulator/PrinterSettings.h"

namespace simulator {
namespace {

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

} // namespace simulator
