#include "cli/SettingWords.h"

#include "platform/core/Localized.h"
#include "texts/SettingTexts.h"

#include <QStringList>

namespace cli {
namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString SettingName(protocol::SettingKind kind) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    return setting != nullptr ? FromView(setting->key) : QString::number(kind);
}

QString SettingNames() {
    QStringList names;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        names << FromView(setting.key);
    }
    return names.join(QStringLiteral(", "));
}

QString ValueWords(const protocol::SettingRow& setting) {
    QStringList words;
    QStringList texts;
    bool wordsSayIt = true; // each word is already what the window shows for it
    for (const protocol::SettingChoice& choice : setting.List()) {
        const QString word = FromView(choice.word);
        const QString text = texts::Shown(choice.text);
        words << word;
        texts << text;
        wordsSayIt = wordsSayIt && word.compare(text, Qt::CaseInsensitive) == 0;
    }
    if (words.isEmpty()) {
        return {};
    }
    QString values = words.join(QLatin1Char('|'));
    if (!setting.unit.key.empty()) {
        values += QStringLiteral(" (%1)").arg(platform::Localized(setting.unit.key));
    } else if (!wordsSayIt) {
        values += QStringLiteral(" (%1)").arg(texts.join(QStringLiteral(", ")));
    }
    return values;
}

QString SettingHelp(const protocol::SettingRow& setting) {
    return platform::Localized(setting.helpKey);
}

QString ShownText(const protocol::SettingRow& setting, const protocol::SettingText& text) {
    QString shown = texts::Shown(text);
    if (!setting.unit.terse.empty() && !shown.isEmpty()) {
        shown += QLatin1Char(' ') + FromView(setting.unit.terse);
    }
    return shown;
}

} // namespace cli
