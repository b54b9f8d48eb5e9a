#include "texts/SettingTexts.h"

#include "platform/core/Localized.h"
#include "protocol/SettingValues.h"

namespace texts {

QString Shown(const protocol::SettingText& text) {
    switch (text.sort) {
    case protocol::TextSort::Key:
        return platform::Localized(text.text);
    case protocol::TextSort::Verbatim:
        return platform::FromUtf8(text.text);
    case protocol::TextSort::Empty:
        break;
    }
    return {};
}

QString SettingTitle(protocol::SettingKind kind) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    if (setting == nullptr) {
        return QString::number(kind);
    }
    return setting->titleKey.empty() ? platform::FromUtf8(setting->key)
                                     : platform::Localized(setting->titleKey);
}

QString ValueWithCode(protocol::SettingKind kind, int value) {
    QString text = Shown(protocol::DisplayForValue(kind, value).display.text);
    if (text.isEmpty()) {
        return QStringLiteral("(%1)").arg(value);
    }
    if (const protocol::SettingRow* setting = protocol::SettingOf(kind); !setting->unit.key.empty()) {
        text += QLatin1Char(' ') + platform::Localized(setting->unit.key);
    }
    return QStringLiteral("%1 (%2)").arg(text).arg(value);
}

} // namespace texts
