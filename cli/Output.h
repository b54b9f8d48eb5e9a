#pragma once

#include "protocol/SettingKind.h"

#include <QJsonObject>
#include <QString>

namespace cli {

// Everything lm360rctl prints goes through here: results on stdout, one line per error on stderr.
void PrintLine(const QString& line);
void PrintJson(const QJsonObject& document);
void PrintError(const QString& message); // prefixed with the program's name

// A setting's value as `set` takes it, then what the window shows for it: "auto-power-off: 60 (60 min)";
// a value no word stands for is "unknown (byte 7)". In JSON the word (or null), the text and the
// printer's byte: {"setting": "auto-power-off", "value": "60", "text": "60 min", "byte": 6}.
// `value` is the reply's value byte as a signed number.
QString SettingLine(protocol::SettingKind kind, int value);
QString ValueText(protocol::SettingKind kind, int value); // "60 (60 min)"
QJsonObject SettingJson(protocol::SettingKind kind, int value);
// The word alone, as JSON: null for a value no word stands for.
QJsonValue ValueWordJson(protocol::SettingKind kind, int value);

} // namespace cli
