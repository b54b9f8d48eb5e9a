#include "cli/Output.h"

#include "cli/SettingNames.h"
#include "protocol/SettingNames.h"
#include "protocol/SettingValues.h"

#include <QJsonDocument>
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

} // namespace

void PrintLine(const QString& line) {
    Write(stdout, (line + QLatin1Char('\n')).toUtf8());
}

void PrintJson(const QJsonObject& document) {
    Write(stdout, QJsonDocument(document).toJson(QJsonDocument::Indented));
}

void PrintError(const QString& message) {
    Write(stderr, (QStringLiteral("lm360rctl: ") + message + QLatin1Char('\n')).toUtf8());
}

QString SettingName(protocol::SettingKind kind) {
    const std::string_view name = protocol::SettingName(kind);
    return name.empty() ? QString::number(kind)
                        : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString ValueText(protocol::SettingKind kind, int value) {
    const QString text = ShownText(kind, value);
    return text.isEmpty() ? QStringLiteral("(%1)").arg(value)
                          : QStringLiteral("%1 (%2)").arg(text).arg(value);
}

QString SettingLine(protocol::SettingKind kind, int value) {
    return SettingName(kind) + QStringLiteral(": ") + ValueText(kind, value);
}

QJsonObject SettingJson(protocol::SettingKind kind, int value) {
    return QJsonObject{{QStringLiteral("setting"), SettingName(kind)},
                       {QStringLiteral("text"), ShownText(kind, value)},
                       {QStringLiteral("value"), value}};
}

} // namespace cli
