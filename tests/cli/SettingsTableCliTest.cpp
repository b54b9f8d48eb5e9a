// Every setting of the table, every value the window offers for it, the whole way through the
// command line and the simulated printer: set and get by its word, save-commands and inspect, and the
// words the completions are given. A new row of the table is tried here without another line of test.
#include "CliRunner.h"
#include "cli/ExitCodes.h"
#include "protocol/CommandFile.h"
#include "protocol/SettingsTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <gtest/gtest.h>

namespace cli::test {
namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject FirstSetting(const CliRun& run) {
    return QJsonDocument::fromJson(run.out).object().value("settings").toArray().first().toObject();
}

std::string Trace(const protocol::SettingRow& setting, const protocol::SettingChoice& choice) {
    return std::string(setting.key) + " " + std::string(choice.word);
}

TEST(SettingsTableThroughTheCommandLine, EveryChoiceIsSetReadSavedAndInspectedByItsWord) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = T1\n");
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        const QString key = FromView(setting.key);
        for (const protocol::SettingChoice& choice : setting.List()) {
            SCOPED_TRACE(Trace(setting, choice));
            const QString word = FromView(choice.word);
            const CliRun set = cli.Run({"set", key, word});
            ASSERT_EQ(set.exitCode, kExitSuccess) << set.err.toStdString();
            EXPECT_TRUE(QString::fromUtf8(set.out).startsWith(key + ": " + word + " ("));
            // A new process reads the printer's byte back as the same word.
            const QJsonObject read = FirstSetting(cli.Run({"get", key, "--json"}));
            EXPECT_EQ(read.value("value").toString(), word);
            EXPECT_EQ(read.value("byte").toInt(), choice.byte);

            const QString group = setting.tab == protocol::SettingTab::Power ? "power" : "print";
            const QString file = cli.Path(key + word + ".bin");
            const CliRun save = cli.Run({"save-commands", group, "--" + key, word, "-o", file});
            ASSERT_EQ(save.exitCode, kExitSuccess) << save.err.toStdString();
            const QJsonArray carried = QJsonDocument::fromJson(cli.Run({"inspect", file, "--json"}).out)
                                           .object()
                                           .value("settings")
                                           .toArray();
            const auto found = std::find_if(carried.begin(), carried.end(), [&key](const QJsonValue& s) {
                return s.toObject().value("setting").toString() == key;
            });
            ASSERT_NE(found, carried.end());
            EXPECT_EQ(found->toObject().value("byte").toInt(), choice.byte);
            EXPECT_EQ(found->toObject().value("value").toString(), word);
        }
    }
}

TEST(SettingsTableThroughTheCommandLine, ASettingTheUserCannotChooseIsReadOnly) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = T1\n");
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (setting.Offered()) {
            continue;
        }
        const QString key = FromView(setting.key);
        const CliRun set = cli.Run({"set", key, FromView(setting.choices.front().word)});
        EXPECT_EQ(set.exitCode, kExitUsage) << key.toStdString();
        EXPECT_TRUE(set.err.contains("read-only")) << set.err.toStdString();
        EXPECT_EQ(cli.Run({"get", key}).exitCode, kExitSuccess) << key.toStdString();
    }
}

TEST(SettingsTableThroughTheCommandLine, CompletionsAreGivenTheTablesNamesAndWords) {
    CliRunner cli;
    QStringList all;
    QStringList writable;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        all << FromView(setting.key);
        if (!setting.Offered()) {
            continue;
        }
        writable << FromView(setting.key);
        QStringList words;
        for (const protocol::SettingChoice& choice : setting.List()) {
            words << FromView(choice.word);
        }
        const CliRun values = cli.Run({"__complete", "values", FromView(setting.key)});
        ASSERT_EQ(values.exitCode, kExitSuccess);
        QStringList offered;
        for (const QString& line : QString::fromUtf8(values.out).split('\n', Qt::SkipEmptyParts)) {
            offered << line.section('\t', 0, 0);
        }
        EXPECT_EQ(offered, words) << setting.key;
    }
    const auto words = [&cli](const QStringList& arguments) {
        QStringList found;
        for (const QString& line :
             QString::fromUtf8(cli.Run(arguments).out).split('\n', Qt::SkipEmptyParts)) {
            found << line.section('\t', 0, 0);
        }
        return found;
    };
    EXPECT_EQ(words({"__complete", "settings"}), all);
    EXPECT_EQ(words({"__complete", "writable"}), writable);
    EXPECT_EQ(cli.Run({"__complete", "values", "no-such-setting"}).exitCode, kExitUsage);
    EXPECT_EQ(cli.Run({"__complete", "nothing"}).exitCode, kExitUsage);
}

} // namespace
} // namespace cli::test
