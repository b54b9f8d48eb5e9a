#include "cli/Output.h"

#include "cli/SettingNames.h"
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
    return QString::fromStdString(EnglishText(kind, shown.display.text));
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
    const CliSetting* setting = SettingOfKind(kind);
    return setting == nullptr
               ? QString::number(kind)
               : QString::fromUtf8(setting->name.data(), static_cast<qsizetype>(setting->name.size()));
}

QString SettingLine(protocol::SettingKind kind, int value) {
    const QString text = ShownText(kind, value);
    return text.isEmpty() ? QStringLiteral("%1: (%2)").arg(SettingName(kind)).arg(value)
                          : QStringLiteral("%1: %2 (%3)").arg(SettingName(kind), text).arg(value);
}

QJsonObject SettingJson(protocol::SettingKind kind, int value) {
    return QJsonObject{{QStringLiteral("setting"), SettingName(kind)},
                       {QStringLiteral("text"), ShownText(kind, value)},
                       {QStringLiteral("value"), value}};
}

} // namespace cli
