// Scripts feed what `get` printed back into `set`: that must never change the printer. A value the
// lists offer comes back as the word that writes the very same byte; any other value is printed as a
// word `set` refuses.
#include "CliRunner.h"
#include "cli/ExitCodes.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"

#include <gtest/gtest.h>

namespace cli::test {
namespace {

TEST(RoundTrip, EveryByteHasAWordThatWritesItOrNone) {
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        if (!setting.Offered()) {
            continue;
        }
        const protocol::SettingKind kind = setting.kind;
        std::size_t words = 0;
        for (int byte = 0; byte < 256; ++byte) {
            SCOPED_TRACE(std::string(setting.key) + " byte " + std::to_string(byte));
            const auto word =
                protocol::WordForValue(kind, protocol::ReplyValue(static_cast<std::uint8_t>(byte)));
            if (!word) {
                continue;
            }
            ++words;
            const std::optional<int> index = protocol::IndexForWord(kind, *word);
            ASSERT_TRUE(index) << "set refuses the word get printed: " << *word;
            EXPECT_EQ(protocol::ValueByte(protocol::ValueForIndex(kind, *index)), byte);
        }
        EXPECT_EQ(words, setting.List().size()) << "every choice of the window has its word";
    }
}

// The whole way, through two processes and the simulated printer's state file.
TEST(RoundTrip, SetOfWhatGetPrintedLeavesThePrinterAsItWas) {
    struct Case {
        const char* setting;
        int byte;
    };
    const std::vector<Case> cases{{"power-on", 1},       {"power-on", 2},       {"auto-power-off", 0},
                                  {"auto-power-off", 4}, {"auto-power-off", 7}, {"network", 0},
                                  {"network", 2},        {"network", 5},        {"info-print", 3},
                                  {"info-print", 1},     {"info-print", 0}};
    CliRunner cli;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + " byte " + std::to_string(c.byte));
        const QByteArray state =
            QByteArray("[printer]\n") + c.setting + " = " + QByteArray::number(c.byte) + "\n";
        cli.WriteState(state);
        const CliRun get = cli.Run({"get", c.setting});
        ASSERT_EQ(get.exitCode, kExitSuccess) << get.err.toStdString();
        const QString word = QString::fromUtf8(get.out).section(QLatin1Char(' '), 1, 1);
        const CliRun set = cli.Run({"set", c.setting, word});
        EXPECT_TRUE(set.exitCode == kExitSuccess || set.exitCode == kExitUsage) << set.err.toStdString();
        const std::vector<std::uint8_t> after = ReadBytes(cli.StatePath());
        EXPECT_TRUE(
            QByteArray(reinterpret_cast<const char*>(after.data()), static_cast<qsizetype>(after.size()))
                .contains(QByteArray(c.setting) + " = " + QByteArray::number(c.byte) + "\n"))
            << "printed " << word.toStdString();
    }
}

} // namespace
} // namespace cli::test
