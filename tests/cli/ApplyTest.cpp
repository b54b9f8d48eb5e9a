// apply through the real executable and the simulated printer: it brings a printer to the settings
// wanted, writes only what differs, and refuses and fails in set's own words.
#include "CliRunner.h"
#include "cli/ExitCodes.h"
#include "protocol/CommandFile.h"
#include "tests/support/Selections.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace cli::test {
namespace {

const QByteArray kTwoPrinters = "[printer]\nserial = A\n[printer]\nserial = B\n";

QJsonObject Json(const CliRun& run) {
    return QJsonDocument::fromJson(run.out).object();
}

QByteArray StateOf(const CliRunner& cli) {
    const std::vector<std::uint8_t> bytes = ReadBytes(cli.StatePath());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

TEST(Apply, WritesWhatDiffersThenNothingAndSaysBeforeAndAfter) {
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    const QStringList apply{"apply", "power-on=on", "auto-power-off=60", "network=1", "--serial", "A"};
    const CliRun first = cli.Run(apply);
    ASSERT_EQ(first.exitCode, kExitSuccess) << first.err.toStdString();
    EXPECT_EQ(first.out, "power-on: off (Off) -> on (On)\n"
                         "auto-power-off: 60 (60 min), unchanged\n"
                         "network: 3 (Mode 3) -> 1 (Mode 1)\n");
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    EXPECT_EQ(cli.Run({"get", "power-on", "network", "--serial", "A"}).out,
              "power-on: on (On)\nnetwork: 1 (Mode 1)\n");
    EXPECT_EQ(cli.Run({"get", "power-on", "--serial", "B"}).out, "power-on: off (Off)\n")
        << "B is left alone";

    const QByteArray state = StateOf(cli);
    const CliRun second = cli.Run(apply + QStringList{"--json"});
    ASSERT_EQ(second.exitCode, kExitSuccess) << second.err.toStdString();
    EXPECT_EQ(StateOf(cli), state);
    const QJsonObject printer{{"manufacturer", "Tamblor"}, {"product", "LM-360R"}, {"serial", "A"}};
    EXPECT_EQ(Json(second), (QJsonObject{{"changed", false},
                                         {"check", false},
                                         {"printer", printer},
                                         {"settings", QJsonArray{QJsonObject{{"setting", "power-on"},
                                                                             {"desired", "on"},
                                                                             {"before", "on"},
                                                                             {"after", "on"},
                                                                             {"changed", false}},
                                                                 QJsonObject{{"setting", "auto-power-off"},
                                                                             {"desired", "60"},
                                                                             {"before", "60"},
                                                                             {"after", "60"},
                                                                             {"changed", false}},
                                                                 QJsonObject{{"setting", "network"},
                                                                             {"desired", "1"},
                                                                             {"before", "1"},
                                                                             {"after", "1"},
                                                                             {"changed", false}}}}}));
}

TEST(Apply, CheckSaysWhatWouldChangeAndWritesNothing) {
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    const QByteArray state = StateOf(cli);
    const CliRun text = cli.Run({"apply", "info-print=3", "power-on=off", "--check", "--serial", "B"});
    ASSERT_EQ(text.exitCode, kExitSuccess) << text.err.toStdString();
    EXPECT_EQ(text.out, "power-on: off (Off), unchanged\n"
                        "info-print: 1 (Full report) -> 3 (Short report), would change\n");
    const QJsonObject json = Json(cli.Run({"apply", "info-print=3", "--check", "--json"}));
    EXPECT_TRUE(json.value("changed").toBool());
    EXPECT_TRUE(json.value("check").toBool());
    EXPECT_EQ(json.value("settings").toArray()[0].toObject().value("after").toString(), "3");
    EXPECT_EQ(StateOf(cli), state);
    EXPECT_EQ(cli.Run({"get", "info-print"}).out, "info-print: 1 (Full report)\n");
}

// A printer that keeps its old value: the others are still written, and the difference is said in
// set's words with set's status.
TEST(Apply, RefusedValueIsAMismatchAndTheRestIsWritten) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\nrefuse = network\n");
    const CliRun run = cli.Run({"apply", "network=1", "power-on=on"});
    EXPECT_EQ(run.exitCode, kExitMismatch);
    EXPECT_EQ(run.out, "power-on: off (Off) -> on (On)\nnetwork: 3 (Mode 3), unchanged\n");
    EXPECT_EQ(run.err, cli.Run({"set", "network", "1"}).err);
    EXPECT_EQ(run.err, "lm360rctl: network: wrote 1 (Mode 1), but the printer answered 3 (Mode 3)\n");
    EXPECT_EQ(cli.Run({"get", "power-on"}).out, "power-on: on (On)\n");
}

// What set refuses, apply refuses with the same line and status, before any printer is asked.
TEST(Apply, RefusesWhatSetRefusesInItsWords) {
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    const QByteArray state = StateOf(cli);
    const QList<QStringList> refused{{"command-mode", "1"},     {"power-on", "maybe"},
                                     {"auto-power-off", "15"},  {"network", "0"},
                                     {"info-print", "unknown"}, {"speed", "1"}};
    for (const QStringList& pair : refused) {
        const CliRun set = cli.Run({"set", pair[0], pair[1]});
        const CliRun apply = cli.Run({"apply", "power-on=on", pair[0] + "=" + pair[1]});
        EXPECT_EQ(apply.exitCode, kExitUsage) << pair.join(' ').toStdString();
        EXPECT_EQ(apply.exitCode, set.exitCode);
        EXPECT_EQ(apply.err, set.err);
        EXPECT_EQ(apply.err.count('\n'), 1) << apply.err.toStdString();
        EXPECT_TRUE(apply.out.isEmpty());
    }
    const QList<QStringList> mistakes{{"apply"},
                                      {"apply", "power-on"},
                                      {"apply", "power-on=on", "power-on=off"},
                                      {"apply", "--from"},
                                      {"apply", "power-on=on", "--all", "--serial", "A"},
                                      {"get", "--all", "--serial", "A"},
                                      {"status", "--all"},
                                      {"list", "--check"}};
    for (const QStringList& arguments : mistakes) {
        const CliRun run = cli.Run(arguments);
        EXPECT_EQ(run.exitCode, kExitUsage) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    EXPECT_EQ(StateOf(cli), state);
}

// One printer's settings read once and applied to another: the document get --json prints, and the
// command file save-commands writes.
TEST(Apply, TakesGetsDocumentAndCommandFiles) {
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    ASSERT_EQ(
        cli.Run({"apply", "power-on=on", "auto-power-off=20", "info-print=2", "--serial", "A"}).exitCode,
        kExitSuccess);
    const CliRun a = cli.Run({"get", "--json", "--serial", "A"});
    const CliRun copied = cli.RunWithInput({"apply", "--from", "-", "--serial", "B"}, a.out);
    ASSERT_EQ(copied.exitCode, kExitSuccess) << copied.err.toStdString();
    EXPECT_FALSE(copied.out.contains("command-mode")) << "read-only settings are no part of the wish";
    EXPECT_EQ(cli.Run({"get", "--serial", "B"}).out, cli.Run({"get", "--serial", "A"}).out);

    // Arguments win over the file.
    WriteBytes(cli.Path("power.bin"),
               protocol::BuildCommandFile(protocol::kPowerGroup, Selections(0, 0, 1, 0)));
    const CliRun file = cli.Run({"apply", "--from", "power.bin", "network=3", "--serial", "B"});
    ASSERT_EQ(file.exitCode, kExitSuccess) << file.err.toStdString();
    EXPECT_EQ(file.out, "power-on: on (On) -> off (Off)\n"
                        "auto-power-off: 20 (20 min) -> 0 (0 min)\n"
                        "network: 3 (Mode 3), unchanged\n");
    WriteBytes(cli.Path("print.bin"),
               protocol::BuildCommandFile(protocol::kPrintGroup, Selections(0, 0, 0, 2)));
    EXPECT_EQ(cli.Run({"apply", "--from", "print.bin", "--serial", "B"}).out,
              "info-print: 2 (Standard report) -> 3 (Short report)\n");
}

struct FileCase {
    const char* name;
    QByteArray content;
    int exitCode;
    const char* error; // the line on stderr; %1 is the file
};

class ApplyFrom : public testing::TestWithParam<FileCase> {};

TEST_P(ApplyFrom, RefusesAFileItCannotReadOrUnderstand) {
    const FileCase& c = GetParam();
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    const QByteArray state = StateOf(cli);
    QFile file(cli.Path("wish"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.content);
    file.close();
    const CliRun run = cli.Run({"apply", "--from", cli.Path(c.name)});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, QString::fromUtf8(c.error).arg(cli.Path(c.name)).toUtf8() + "\n");
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(StateOf(cli), state);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ApplyFrom,
    testing::Values(
        FileCase{"missing", {}, kExitFileError, "lm360rctl: cannot read %1: No such file or directory"},
        FileCase{"wish", "ESC", kExitInvalidFile,
                 "lm360rctl: %1: invalid command file at offset 0: the header is not ESC \"i\" \"U\" \"O\""},
        FileCase{"wish", "{\"settings\": [", kExitInvalidFile,
                 "lm360rctl: %1: not valid JSON at offset 14: unterminated array"},
        FileCase{"wish", "{\"power-on\": \"on\"}", kExitInvalidFile,
                 "lm360rctl: %1: not the document get --json prints (no \"settings\" list)"},
        FileCase{
            "wish", "{\"printers\": []}", kExitInvalidFile,
            "lm360rctl: %1: it holds several printers' settings (get --all); give one printer's document"},
        FileCase{"wish",
                 "{\"settings\": [{\"setting\": \"network\", \"value\": \"1\"}, "
                 "{\"setting\": \"network\", \"value\": \"2\"}]}",
                 kExitInvalidFile, "lm360rctl: %1: network is given twice"},
        FileCase{"wish", "{\"settings\": [{\"setting\": \"network\", \"value\": null}]}", kExitInvalidFile,
                 "lm360rctl: %1: \"unknown\" is not a value of network (1|2|3 (Mode 1, Mode 2, Mode 3))"},
        FileCase{
            "wish", "{\"settings\": [{\"setting\": \"speed\", \"value\": \"1\"}]}", kExitInvalidFile,
            "lm360rctl: %1: unknown setting \"speed\" (one of power-on, auto-power-off, network, info-print, "
            "command-mode)"},
        FileCase{"wish", "{\"settings\": [{\"value\": \"1\"}]}", kExitInvalidFile,
                 "lm360rctl: %1: settings entry 1 has no \"setting\" name and \"value\" word"}),
    [](const testing::TestParamInfo<FileCase>& p) { return std::to_string(p.index); });

TEST(Apply, NoPrinterIsStatusTwoWithNothingOnStdout) {
    CliRunner cli;
    cli.WriteState("# nothing attached\n");
    for (const QStringList& arguments : QList<QStringList>{{"apply", "power-on=on"},
                                                           {"apply", "power-on=on", "--json"},
                                                           {"apply", "power-on=on", "--serial", "Z"}}) {
        const CliRun run = cli.Run(arguments);
        EXPECT_EQ(run.exitCode, kExitNoPrinter);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("lm360rctl: reading power-on failed: no LM-360R printer found"))
            << run.err.toStdString();
    }
}

} // namespace
} // namespace cli::test
