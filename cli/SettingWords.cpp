#include "cli/SettingWords.h"

#include "cli/Output.h"

#include <QStringList>

namespace cli {
namespace {

QString SettingNames() {
    QStringList names;
    for (const CliSetting& s : CliSettings()) {
        names << SettingName(s.kind);
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

QString ValuesOf(protocol::SettingKind kind) {
    const std::string_view values = SettingOfKind(kind)->values;
    return QString::fromUtf8(values.data(), static_cast<qsizetype>(values.size()));
}

std::optional<QString> ReadSettingName(const QString& word, const CliSetting*& setting) {
    setting = FindSetting(word.toStdString());
    if (setting == nullptr) {
        return QStringLiteral("unknown setting \"%1\" (one of %2)").arg(word, SettingNames());
    }
    return std::nullopt;
}

std::optional<QString> ReadValueWord(protocol::SettingKind kind, const QString& word, int& index) {
    const auto found = IndexForValueWord(kind, word.toStdString());
    if (!found) {
        return QStringLiteral("\"%1\" is not a value of %2 (%3)")
            .arg(word, SettingName(kind), ValuesOf(kind));
    }
    index = *found;
    return std::nullopt;
}

std::optional<QString> ReadSettingChoice(const QString& setting, const QString& word, SettingChoice& choice) {
    const CliSetting* found = nullptr;
    if (auto error = ReadSettingName(setting, found)) {
        return error;
    }
    if (!found->writable) {
        return QStringLiteral("%1 is read-only").arg(setting);
    }
    choice.kind = found->kind;
    return ReadValueWord(found->kind, word, choice.index);
}

} // namespace cli
