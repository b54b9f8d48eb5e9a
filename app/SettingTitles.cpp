#include "app/SettingTitles.h"

#include "platform/core/Localized.h"
#include "protocol/SettingNames.h"
#include "protocol/SettingValues.h"

std::string_view SettingTitleKey(protocol::SettingKind kind) {
    switch (kind) {
    case protocol::kPowerOn:
        return "PowerOnBoxName";
    case protocol::kAutoPowerOff:
        return "AutoPowerOffBoxName";
    case protocol::kNetwork:
        return "NetworkSetName";
    case protocol::kInfoPrint:
        return "InfoPrintBoxName";
    default:
        return {};
    }
}

QString SettingTitle(protocol::SettingKind kind) {
    const std::string_view key = SettingTitleKey(kind);
    if (!key.empty()) {
        return platform::Localized(key);
    }
    const std::string_view name = protocol::SettingName(kind);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString ValueWithCode(protocol::SettingKind kind, int value) {
    QString text = platform::Localized(protocol::DisplayForValue(kind, value).display.text);
    if (text.isEmpty()) {
        return QStringLiteral("(%1)").arg(value);
    }
    if (kind == protocol::kAutoPowerOff) {
        text += QLatin1Char(' ') + platform::Localized("Munutes");
    }
    return QStringLiteral("%1 (%2)").arg(text).arg(value);
}
