#pragma once

#include "protocol/SettingKind.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// Everything lm360rctl prints goes through here: results on stdout, one line per error on stderr.
void PrintLine(const QString& line);
void PrintJson(const QJsonObject& document);
void PrintError(const QString& message); // prefixed with the program's name

// A setting's value as the application shows it and as the printer sent it:
// "auto-power-off: 60 min (6)", or {"setting": "auto-power-off", "text": "60 min", "value": 6}.
QString SettingLine(protocol::SettingKind kind, int value);
QJsonObject SettingJson(protocol::SettingKind kind, int value);

QString SettingName(protocol::SettingKind kind);

} // namespace cli
