#include "cli/Output.h"

#include "cli/OutputRedirect.h"
#include "cli/SettingWords.h"
#include "platform/core/Localized.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"

#include <QJsonDocument>
#include <QStringList>
#include <cstdio>

namespace cli {
namespace {

void Write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

QString Shown(protocol::SettingKind kind, const protocol::SettingText& text) {
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    return setting != nullptr ? ShownText(*setting, text) : QString();
}

// A value no word stands for keeps only a text that names that value (information print's fourth
// state), not the fallback the window shows for it, which would name another value.
QString UnknownValueText(protocol::SettingKind kind, int value) {
    QStringList parts;
    const protocol::SettingRow* setting = protocol::SettingOf(kind);
    if (const protocol::SettingChoice* choice =
            setting != nullptr ? protocol::ChoiceForValue(*setting, value) : nullptr) {
        parts << Shown(kind, choice->text);
    }
    parts << QStringLiteral("byte %1").arg(protocol::ValueByte(static_cast<std::int16_t>(value)));
    return parts.join(QStringLiteral(", "));
}

QString KnownValueText(protocol::SettingKind kind, int value) {
    return Shown(kind, protocol::DisplayForValue(kind, value).display.text);
}

} // namespace

QJsonValue ValueWordJson(protocol::SettingKind kind, int value) {
    const auto word = protocol::WordForValue(kind, value);
    return word ? QJsonValue(platform::FromUtf8(*word)) : QJsonValue(QJsonValue::Null);
}

void PrintLine(const QString& line) {
    if (OutputRedirect* redirect = OutputRedirect::Active()) {
        redirect->Line(line);
        return;
    }
    Write(stdout, (line + QLatin1Char('\n')).toUtf8());
}

void PrintJson(const QJsonObject& document) {
    if (OutputRedirect* redirect = OutputRedirect::Active()) {
        redirect->Json(document);
        return;
    }
    Write(stdout, QJsonDocument(document).toJson(QJsonDocument::Indented));
}

void PrintError(const QString& message) {
    if (OutputRedirect* redirect = OutputRedirect::Active()) {
        redirect->Error(message);
        return;
    }
    Write(stderr, (QStringLiteral("lm360rctl: ") + message + QLatin1Char('\n')).toUtf8());
}

QString ValueText(protocol::SettingKind kind, int value) {
    if (const auto word = protocol::WordForValue(kind, value)) {
        return QStringLiteral("%1 (%2)").arg(platform::FromUtf8(*word), KnownValueText(kind, value));
    }
    return QStringLiteral("unknown (%1)").arg(UnknownValueText(kind, value));
}

QString SettingLine(protocol::SettingKind kind, int value) {
    return SettingName(kind) + QStringLiteral(": ") + ValueText(kind, value);
}

QJsonObject SettingJson(protocol::SettingKind kind, int value) {
    const bool known = protocol::WordForValue(kind, value).has_value();
    return QJsonObject{
        {QStringLiteral("setting"), SettingName(kind)},
        {QStringLiteral("value"), ValueWordJson(kind, value)},
        {QStringLiteral("text"), known ? KnownValueText(kind, value) : UnknownValueText(kind, value)},
        {QStringLiteral("byte"), protocol::ValueByte(static_cast<std::int16_t>(value))}};
}

} // namespace cli
