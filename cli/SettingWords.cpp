#include "cli/SettingWords.h"

#include "platform/core/Localized.h"
#include "protocol/SettingValues.h"
#include "texts/SettingTexts.h"

#include <QStringList>

namespace cli {

QString SettingName(protocol::SettingKind kind) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    return setting != nullptr ? platform::FromUtf8(setting->key) : QString::number(kind);
}

QString SettingNames() {
    QStringList names;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        names << platform::FromUtf8(setting.key);
    }
    return names.join(QStringLiteral(", "));
}

QString ValueWords(const protocol::SettingRow& setting) {
    QStringList words;
    QStringList texts;
    bool wordsSayIt = true; // each word is already what the window shows for it
    for (const protocol::SettingChoice& choice : setting.List()) {
        const QString word = platform::FromUtf8(choice.word);
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

QString ValuesOf(protocol::SettingKind kind) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    return setting != nullptr ? ValueWords(*setting) : QString();
}

QString SettingHelp(const protocol::SettingRow& setting) {
    return platform::Localized(setting.helpKey);
}

QString ShownText(const protocol::SettingRow& setting, const protocol::SettingText& text) {
    QString shown = texts::Shown(text);
    if (!setting.unit.terse.empty() && !shown.isEmpty()) {
        shown += QLatin1Char(' ') + platform::FromUtf8(setting.unit.terse);
    }
    return shown;
}

std::optional<QString> ReadSettingName(const QString& word, const protocol::SettingRow*& setting) {
    setting = protocol::SettingNamed(word.toStdString());
    if (setting == nullptr) {
        return QStringLiteral("unknown setting \"%1\" (one of %2)").arg(word, SettingNames());
    }
    return std::nullopt;
}

std::optional<QString> ReadValueWord(protocol::SettingKind kind, const QString& word, int& index) {
    const auto found = protocol::IndexForWord(kind, word.toStdString());
    if (!found) {
        return QStringLiteral("\"%1\" is not a value of %2 (%3)")
            .arg(word, SettingName(kind), ValuesOf(kind));
    }
    index = *found;
    return std::nullopt;
}

std::optional<QString> ReadChosenValue(const QString& setting, const QString& word, ChosenValue& chosen) {
    const protocol::SettingRow* found = nullptr;
    if (auto error = ReadSettingName(setting, found)) {
        return error;
    }
    if (!found->Offered()) {
        return QStringLiteral("%1 is read-only").arg(setting);
    }
    chosen.kind = found->kind;
    return ReadValueWord(found->kind, word, chosen.index);
}

} // namespace cli
