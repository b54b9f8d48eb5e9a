#include "simulator/PrinterSettings.h"

#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"

namespace simulator {

PrinterSettings::PrinterSettings() {
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        values_[setting.kind] =
            protocol::ValueByte(protocol::ValueForIndex(setting.kind, setting.firstChoice));
    }
}

std::uint8_t PrinterSettings::Get(protocol::SettingKind kind) const {
    const auto stored = values_.find(kind);
    return stored != values_.end() ? stored->second : 0;
}

void PrinterSettings::Set(protocol::SettingKind kind, std::uint8_t value) {
    if (const auto stored = values_.find(kind); stored != values_.end()) {
        stored->second = value;
    }
}

} // namespace simulator
