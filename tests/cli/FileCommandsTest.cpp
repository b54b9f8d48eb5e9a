// save-commands and inspect through the real executable: no printer is involved.
#include "CliRunner.h"
#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "protocol/CommandFile.h"
#include "tests/support/Selections.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace cli::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct SaveCase {
    const char* name;
    QStringList options;
    protocol::CommandGroup group;
    protocol::CommandSelections selections; // what the application's lists would show
};

class SaveCommands : public testing::TestWithParam<SaveCase> {};

TEST_P(SaveCommands, WritesTheApplicationsBytesAndInspectAcceptsThem) {
    const SaveCase& c = GetParam();
    CliRunner cli;
    const QString group =
        c.group == protocol::kPowerGroup ? QStringLiteral("power") : QStringLiteral("print");
    const CliRun save = cli.Run(QStringList{QStringLiteral("save-commands"), group, QStringLiteral("-o"),
                                            cli.Path(QStringLiteral("cmd"))} +
                                c.options);
    ASSERT_EQ(save.exitCode, kExitSuccess) << save.err.toStdString();
    EXPECT_EQ(ReadBytes(cli.Path(QStringLiteral("cmd.bin"))),
              protocol::BuildCommandFile(c.group, c.selections));

    const CliRun inspect = cli.Run({QStringLiteral("inspect"), cli.Path(QStringLiteral("cmd.bin"))});
    EXPECT_EQ(inspect.exitCode, kExitSuccess) << inspect.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SaveCommands,
    testing::Values(
        SaveCase{"PowerDefaults", {}, protocol::kPowerGroup, Selections(0, 6, 2, 0)},
        SaveCase{"PowerAllGiven",
                 {"--power-on", "on", "--auto-power-off", "0", "--network", "1"},
                 protocol::kPowerGroup,
                 Selections(1, 0, 0, 0)},
        SaveCase{"PowerSomeGiven", {"--auto-power-off", "30"}, protocol::kPowerGroup, Selections(0, 3, 2, 0)},
        SaveCase{"PrintDefaults", {}, protocol::kPrintGroup, Selections(0, 6, 2, 0)},
        SaveCase{"PrintThirdItem", {"--info-print", "3"}, protocol::kPrintGroup, Selections(0, 6, 2, 2)}),
    [](const testing::TestParamInfo<SaveCase>& p) { return std::string(p.param.name); });

TEST(SaveCommandsFile, ExtensionAddedOnlyWhenMissing) {
    CliRunner cli;
    for (const char* name : {"a", "b.bin", "c.BIN", "d.bin.txt"}) {
        const CliRun run = cli.Run({"save-commands", "power", "-o", cli.Path(name)});
        EXPECT_EQ(run.exitCode, kExitSuccess) << name << run.err.toStdString();
    }
    QStringList files = QDir(cli.Path(".")).entryList(QDir::Files);
    files.removeAll(QStringLiteral("printers.state"));
    files.sort();
    EXPECT_EQ(files, QStringList({"a.bin", "b.bin", "c.BIN", "d.bin.txt.bin"}));
}

// A write that fails leaves whatever was there before, reports the failure and never success.
TEST(SaveCommandsFile, FailedWriteKeepsTheOldFile) {
    CliRunner cli;
    const Bytes old{'o', 'l', 'd'};
    WriteBytes(cli.Path("keep.bin"), old);

    const CliRun full = cli.RunWithFileSizeLimit({"save-commands", "power", "-o", cli.Path("keep.bin")}, 10);
    EXPECT_EQ(full.exitCode, kExitFileError);
    EXPECT_TRUE(full.out.isEmpty());
    EXPECT_TRUE(full.err.startsWith("lm360rctl: cannot write")) << full.err.toStdString();
    EXPECT_EQ(ReadBytes(cli.Path("keep.bin")), old);
    EXPECT_EQ(QDir(cli.Path(".")).entryList(QDir::Files), QStringList{"keep.bin"})
        << "no temporary file left";

    const CliRun missing = cli.Run({"save-commands", "power", "-o", cli.Path("no/such/dir/x")});
    EXPECT_EQ(missing.exitCode, kExitFileError);
    EXPECT_FALSE(QDir(cli.Path("no")).exists());
}

// "-" is the standard stream on both sides; a folder is never taken for a file name.
TEST(SaveCommandsFile, OutputGoesWhereItIsAskedToOrNowhere) {
    CliRunner cli;
    const Bytes power = protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 0, 0, 0));
    const CliRun piped = cli.Run(
        {"save-commands", "power", "--power-on", "on", "--auto-power-off", "0", "--network", "1", "-o", "-"});
    ASSERT_EQ(piped.exitCode, kExitSuccess) << piped.err.toStdString();
    EXPECT_EQ(Bytes(piped.out.begin(), piped.out.end()), power) << "the file itself, nothing else";
    const CliRun read = cli.RunWithInput({"inspect", "-"}, piped.out);
    EXPECT_EQ(read.exitCode, kExitSuccess) << read.err.toStdString();
    EXPECT_TRUE(read.out.contains("power-on: on (On)")) << read.out.toStdString();

    QDir(cli.Path(".")).mkdir("folder");
    for (const QString& folder : {cli.Path("folder"), cli.Path("folder") + "/", cli.Path("absent") + "/"}) {
        const CliRun run = cli.Run({"save-commands", "power", "-o", folder});
        EXPECT_EQ(run.exitCode, kExitFileError) << folder.toStdString();
        EXPECT_TRUE(run.err.contains("folder")) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(cli.Path("folder")).isEmpty());
    EXPECT_FALSE(QFile::exists(cli.Path("folder.bin")));
    EXPECT_EQ(cli.Run({"save-commands", "power", "--json", "-o", "-"}).exitCode, kExitUsage);
}

TEST(Inspect, ReportsTheFirstFaultWithItsOffset) {
    CliRunner cli;
    Bytes file = protocol::BuildCommandFile(protocol::kPowerGroup, Selections(0, 6, 2, 0));
    file.push_back(0x00);
    WriteBytes(cli.Path("long.bin"), file);

    const CliRun text = cli.Run({"inspect", cli.Path("long.bin")});
    EXPECT_EQ(text.exitCode, kExitInvalidFile);
    EXPECT_TRUE(text.out.isEmpty());
    EXPECT_TRUE(text.err.contains("offset 8")) << text.err.toStdString();
    EXPECT_EQ(text.err.count('\n'), 1);

    const CliRun json = cli.Run({"inspect", "--json", cli.Path("long.bin")});
    EXPECT_EQ(json.exitCode, kExitInvalidFile);
    const QJsonObject verdict = QJsonDocument::fromJson(json.out).object();
    EXPECT_FALSE(verdict.value("valid").toBool(true));
    EXPECT_EQ(verdict.value("offset").toInt(), 8);

    EXPECT_EQ(cli.Run({"inspect", cli.Path("absent.bin")}).exitCode, kExitFileError);
}

TEST(Inspect, PrintsTheSettingsAFileCarries) {
    CliRunner cli;
    WriteBytes(cli.Path("p.bin"), protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 3, 0, 0)));
    const CliRun run = cli.Run({"inspect", cli.Path("p.bin")});
    ASSERT_EQ(run.exitCode, kExitSuccess);
    EXPECT_TRUE(run.out.contains("power-on: on (On)\nauto-power-off: 30 (30 min)\nnetwork: 1 (Mode 1)\n"))
        << run.out.toStdString();
}

// Every mistake on the command line is status 1 with one line on stderr and nothing on stdout.
TEST(CommandLine, MistakesAreUsageErrors) {
    CliRunner cli;
    const QList<QStringList> mistakes{
        {},
        {"frobnicate"},
        {"get", "speed"},
        {"get", "--output", "x"},
        {"set", "power-on"},
        {"set", "power-on", "maybe"},
        {"set", "auto-power-off", "15"},
        {"set", "network", "0"},
        {"set", "info-print", "4"},
        {"set", "command-mode", "1"},
        {"status", "extra"},
        {"save-commands", "power"},
        {"save-commands", "sound", "-o", "x"},
        {"save-commands", "print", "--network", "1", "-o", "x"},
        {"save-commands", "power", "--power-on", "2", "-o", "x"},
        {"inspect"},
        {"--serial"},
        {"get", "--wait", "nan"},
        {"get", "--wait", "inf"},
        {"get", "--wait", "-1"},
        {"get", "--wait", "3601"},
        {"get", "--wait", "5s"},
        {"get", "--wait", ""},
    };
    for (const QStringList& arguments : mistakes) {
        const CliRun run = cli.Run(arguments);
        EXPECT_EQ(run.exitCode, kExitUsage) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(cli.Path("x.bin")));
}

// How long a printer in use is waited for, to the millisecond, fractions of a second included.
TEST(CommandLine, WaitTakesSecondsWithFractions) {
    const std::vector<std::pair<QString, int>> waits{{"0.5", 500},  {"0", 0},         {"2", 2000},
                                                     {"0.25", 250}, {"1.0005", 1001}, {"3600", 3600000}};
    for (const auto& [word, milliseconds] : waits) {
        const ParsedCommandLine parsed = ParseCommandLine({"lm360rctl", "get", "--wait", word});
        ASSERT_EQ(parsed.outcome, ParsedCommandLine::Outcome::Run) << word.toStdString();
        EXPECT_EQ(parsed.invocation.waitMilliseconds, milliseconds) << word.toStdString();
    }
    EXPECT_EQ(ParseCommandLine({"lm360rctl", "get"}).invocation.waitMilliseconds, -1) << "the default";
}

} // namespace
} // namespace cli::test
