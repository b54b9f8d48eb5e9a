#include "cli/Output.h"

#include "cli/OutputRedirect.h"
#include "cli/SettingNames.h"
#include "protocol/SettingNames.h"
#include "protocol/SettingValues.h"

#include <QJsonDocument>
#include <QStringList>
#include <cstdio>

namespace cli {
namespace {

void Write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

QString ShownText(protocol::SettingKind kind, int value) {
    const protocol::ValueDisplay shown = protocol::DisplayForValue(kind, value);
    return QString::fromStdString(cli::ShownText(kind, shown.display.text));
}

// A value no word stands for keeps only a text that names it (information print's fourth state), not
// the fallback the window shows for it, which would name another value.
QString UnknownValueText(protocol::SettingKind kind, int value) {
    const protocol::ValueDisplay shown = protocol::DisplayForValue(kind, value);
    QStringList parts;
    if (shown.display.text.sort == protocol::TextSort::Key) {
        parts << QString::fromStdString(cli::ShownText(kind, shown.display.text));
    }
    parts << QStringLiteral("byte %1").arg(protocol::ValueByte(static_cast<std::int16_t>(value)));
    return parts.join(QStringLiteral(", "));
}

QJsonValue Word(protocol::SettingKind kind, int value) {
    const auto word = ValueWordFor(kind, value);
    return word ? QJsonValue(QString::fromStdString(*word)) : QJsonValue(QJsonValue::Null);
}

} // namespace

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

QString SettingName(protocol::SettingKind kind) {
    const std::string_view name = protocol::SettingName(kind);
    return name.empty() ? QString::number(kind)
                        : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString ValueText(protocol::SettingKind kind, int value) {
    if (const auto word = ValueWordFor(kind, value)) {
        return QStringLiteral("%1 (%2)").arg(QString::fromStdString(*word), ShownText(kind, value));
    }
    return QStringLiteral("unknown (%1)").arg(UnknownValueText(kind, value));
}

QString SettingLine(protocol::SettingKind kind, int value) {
    return SettingName(kind) + QStringLiteral(": ") + ValueText(kind, value);
}

QJsonObject SettingJson(protocol::SettingKind kind, int value) {
    const bool known = ValueWordFor(kind, value).has_value();
    return QJsonObject{
        {QStringLiteral("setting"), SettingName(kind)},
        {QStringLiteral("value"), Word(kind, value)},
        {QStringLiteral("text"), known ? ShownText(kind, value) : UnknownValueText(kind, value)},
        {QStringLiteral("byte"), protocol::ValueByte(static_cast<std::int16_t>(value))}};
}

} // namespace cli
