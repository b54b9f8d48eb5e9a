#include "cli/CommandGroups.h"

#include "platform/core/Localized.h"
#include "protocol/SettingsTable.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace cli {
namespace {

constexpr std::array<GroupWord, 2> kGroups{
    {{"power", protocol::kPowerGroup}, {"print", protocol::kPrintGroup}}};

} // namespace

std::span<const GroupWord> GroupWords() {
    return kGroups;
}

const GroupWord* FindGroup(const QString& name) {
    const auto* it = std::find_if(kGroups.begin(), kGroups.end(),
                                  [&name](const GroupWord& g) { return name == QLatin1String(g.name); });
    return it == kGroups.end() ? nullptr : &*it;
}

QString GroupName(protocol::CommandGroup group) {
    const auto* it = std::find_if(kGroups.begin(), kGroups.end(),
                                  [group](const GroupWord& g) { return g.group == group; });
    return it == kGroups.end() ? QString::number(group) : QLatin1String(it->name);
}

QString GroupSettings(protocol::CommandGroup group) {
    QStringList names;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (protocol::TabOfGroup(group) == setting.tab) {
            names << platform::FromUtf8(setting.key);
        }
    }
    return names.join(QStringLiteral(", "));
}

} // namespace cli
