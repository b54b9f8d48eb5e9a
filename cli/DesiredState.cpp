#include "cli/DesiredState.h"

#include "cli/ExitCodes.h"
#include "cli/FileCommands.h"
#include "cli/Output.h"
#include "platform/core/Localized.h"
#include "protocol/CommandFileReader.h"
#include "protocol/SettingValues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cctype>

namespace cli {
namespace {

// Later choices for a setting replace earlier ones; the result is in setting order.
void Choose(std::vector<ChosenValue>& choices, const ChosenValue& choice) {
    const auto same = std::find_if(choices.begin(), choices.end(),
                                   [&choice](const ChosenValue& c) { return c.kind == choice.kind; });
    if (same != choices.end()) {
        *same = choice;
        return;
    }
    choices.push_back(choice);
    std::sort(choices.begin(), choices.end(),
              [](const ChosenValue& a, const ChosenValue& b) { return a.kind < b.kind; });
}

bool Chosen(const std::vector<ChosenValue>& choices, protocol::SettingKind kind) {
    return std::any_of(choices.begin(), choices.end(),
                       [kind](const ChosenValue& c) { return c.kind == kind; });
}

// A setting in a document or file, unless it is read-only: then nothing is chosen and nothing is wrong.
// Named twice, it says two things at once, as on the command line.
std::optional<QString> ChooseFromFile(std::vector<ChosenValue>& choices, const QString& setting,
                                      const QString& word) {
    const protocol::SettingRow* found = nullptr;
    if (auto error = ReadSettingName(setting, found)) {
        return error;
    }
    if (!found->Offered()) {
        return std::nullopt;
    }
    ChosenValue choice{found->kind};
    if (auto error = ReadValueWord(found->kind, word, choice.index)) {
        return error;
    }
    if (Chosen(choices, choice.kind)) {
        return QStringLiteral("%1 is given twice").arg(SettingName(choice.kind));
    }
    Choose(choices, choice);
    return std::nullopt;
}

// A value word in `get --json`'s document: a string as printed, null for a value no word stands for,
// which `set` refuses as the text output's "unknown"; a whole number as written by hand.
std::optional<QString> DocumentWord(const QJsonValue& value) {
    if (value.isString()) {
        return value.toString();
    }
    if (value.isNull()) {
        return QStringLiteral("unknown");
    }
    if (value.isDouble() && value.toDouble() == static_cast<double>(value.toInteger())) {
        return QString::number(value.toInteger());
    }
    return std::nullopt;
}

std::optional<QString> ReadDocument(const QByteArray& text, std::vector<ChosenValue>& choices) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return QStringLiteral("not valid JSON at offset %1: %2")
            .arg(parseError.offset)
            .arg(parseError.errorString());
    }
    const QJsonObject root = document.object();
    if (root.contains(QStringLiteral("printers"))) {
        return QStringLiteral("it holds several printers' settings (get --all); give one printer's document");
    }
    const QJsonValue settings = root.value(QStringLiteral("settings"));
    if (!settings.isArray()) {
        return QStringLiteral("not the document get --json prints (no \"settings\" list)");
    }
    const QJsonArray list = settings.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonObject entry = list[i].toObject();
        const QJsonValue name = entry.value(QStringLiteral("setting"));
        const std::optional<QString> word = DocumentWord(entry.value(QStringLiteral("value")));
        if (!name.isString() || !word) {
            return QStringLiteral("settings entry %1 has no \"setting\" name and \"value\" word").arg(i + 1);
        }
        if (auto error = ChooseFromFile(choices, name.toString(), *word)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<QString> ReadCommandFileSettings(std::span<const std::uint8_t> bytes,
                                               std::vector<ChosenValue>& choices) {
    for (const protocol::CarriedSetting& carried : protocol::CheckCommandFile(bytes).settings) {
        const auto word = protocol::WordForValue(carried.kind, protocol::ReplyValue(carried.value));
        const QString shown = word ? platform::FromUtf8(*word) : QStringLiteral("unknown");
        if (auto error = ChooseFromFile(choices, SettingName(carried.kind), shown)) {
            return QStringLiteral("at offset %1: %2").arg(carried.offset).arg(*error);
        }
    }
    return std::nullopt;
}

// JSON starts with "{" or "[" (after any white space); a command file with its escape byte.
bool LooksLikeJson(std::span<const std::uint8_t> bytes) {
    const auto first =
        std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return std::isspace(b) == 0; });
    return first != bytes.end() && (*first == '{' || *first == '[');
}

} // namespace

std::optional<QString> ReadAssignments(const QStringList& words, std::vector<ChosenValue>& choices) {
    for (const QString& word : words) {
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals < 0) {
            return QStringLiteral("\"%1\" is not SETTING=VALUE (for example power-on=on)").arg(word);
        }
        ChosenValue choice;
        if (auto error = ReadChosenValue(word.left(equals), word.mid(equals + 1), choice)) {
            return error;
        }
        if (Chosen(choices, choice.kind)) {
            return QStringLiteral("%1 is given twice").arg(SettingName(choice.kind));
        }
        Choose(choices, choice);
    }
    return std::nullopt;
}

std::optional<std::vector<ChosenValue>> ReadDesiredState(const Invocation& invocation, int& exitCode) {
    exitCode = kExitSuccess;
    std::vector<ChosenValue> choices;
    if (!invocation.file.isEmpty()) {
        const auto bytes = ReadInputFile(invocation.file, exitCode);
        if (!bytes) {
            return std::nullopt;
        }
        std::optional<QString> error;
        if (LooksLikeJson(*bytes)) {
            error = ReadDocument(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                            static_cast<qsizetype>(bytes->size())),
                                 choices);
        } else if (CheckCommandFileBytes(invocation.file, *bytes, false, false, exitCode)) {
            error = ReadCommandFileSettings(*bytes, choices);
        } else {
            return std::nullopt; // the command file's fault is reported, as inspect reports it
        }
        if (error) {
            PrintError(QStringLiteral("%1: %2").arg(invocation.file, *error));
            exitCode = kExitInvalidFile;
            return std::nullopt;
        }
    }
    for (const ChosenValue& choice : invocation.choices) {
        Choose(choices, choice);
    }
    return choices;
}

} // namespace cli
