#include "cli/Completion.h"

#include "cli/CommandGroups.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "cli/SettingWords.h"
#include "platform/core/Localized.h"
#include "protocol/CommandFile.h"
#include "protocol/SettingsTable.h"
#include "texts/SettingTexts.h"

#include <optional>

namespace cli {
namespace {

void Candidate(const QString& word, const QString& description) {
    PrintLine(description.isEmpty() ? word : word + QLatin1Char('\t') + description);
}

void Settings(bool offeredOnly) {
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (setting.Offered() || !offeredOnly) {
            Candidate(platform::FromUtf8(setting.key), texts::SettingTitle(setting.kind));
        }
    }
}

int Values(const QString& name) {
    const protocol::SettingRow* setting = protocol::SettingNamed(name.toStdString());
    if (setting == nullptr) {
        return kExitUsage;
    }
    for (const protocol::SettingChoice& choice : setting->List()) {
        Candidate(platform::FromUtf8(choice.word), ShownText(*setting, choice.text));
    }
    return kExitSuccess;
}

void GroupOptions(const QString& name) {
    const GroupWord* group = FindGroup(name);
    const std::optional<protocol::SettingTab> tab =
        group != nullptr ? protocol::TabOfGroup(group->group) : std::nullopt;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (setting.Offered() && (!tab || setting.tab == *tab)) {
            Candidate(QStringLiteral("--") + platform::FromUtf8(setting.key),
                      texts::SettingTitle(setting.kind));
        }
    }
}

} // namespace

int RunCompletion(const QStringList& words) {
    const QString what = words.value(0);
    const QString argument = words.value(1);
    if (what == QLatin1String("settings") || what == QLatin1String("writable")) {
        Settings(what == QLatin1String("writable"));
    } else if (what == QLatin1String("values")) {
        return Values(argument);
    } else if (what == QLatin1String("commands")) {
        // All of them, or those that take an option: --serial and --wait ("printer"), --all ("every").
        for (const CommandSpec& command : Commands()) {
            if (argument.isEmpty() || (argument == QLatin1String("printer") && command.talksToPrinter) ||
                (argument == QLatin1String("every") && command.everyPrinter)) {
                Candidate(QLatin1String(command.name), QLatin1String(command.summary));
            }
        }
    } else if (what == QLatin1String("groups")) {
        for (const GroupWord& group : GroupWords()) {
            Candidate(QLatin1String(group.name), GroupSettings(group.group));
        }
    } else if (what == QLatin1String("group-options")) {
        GroupOptions(argument);
    } else {
        return kExitUsage;
    }
    return kExitSuccess;
}

} // namespace cli
