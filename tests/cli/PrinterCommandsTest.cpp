// The printer commands through the real executable and the simulated printer, whose settings
// live in a state file between processes.
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

const QByteArray kOnePrinter = "[printer]\nserial = A\n";
const QByteArray kTwoPrinters = "[printer]\nserial = A\n[printer]\nserial = B\n";
const QByteArray kNoPrinter = "# nothing attached\n";

QJsonObject Json(const CliRun& run) {
    return QJsonDocument::fromJson(run.out).object();
}

struct SetCase {
    const char* setting;
    const char* word;
    const char* shown; // what get prints afterwards
};

class SetThenGet : public testing::TestWithParam<SetCase> {};

TEST_P(SetThenGet, ValueSurvivesIntoTheNextProcess) {
    const SetCase& c = GetParam();
    CliRunner cli;
    cli.WriteState(kOnePrinter);
    const CliRun set = cli.Run({"set", c.setting, c.word});
    ASSERT_EQ(set.exitCode, kExitSuccess) << set.err.toStdString();
    EXPECT_EQ(set.out, QByteArray(c.shown) + "\n");

    const CliRun get = cli.Run({"get", c.setting});
    ASSERT_EQ(get.exitCode, kExitSuccess) << get.err.toStdString();
    EXPECT_EQ(get.out, QByteArray(c.shown) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Settings, SetThenGet,
                         testing::Values(SetCase{"power-on", "on", "power-on: on (On)"},
                                         SetCase{"power-on", "off", "power-on: off (Off)"},
                                         SetCase{"auto-power-off", "0", "auto-power-off: 0 (0 min)"},
                                         SetCase{"auto-power-off", "30", "auto-power-off: 30 (30 min)"},
                                         SetCase{"network", "1", "network: 1 (Mode 1)"},
                                         // information print values run backwards: the first choice is 3
                                         SetCase{"info-print", "1", "info-print: 1 (Full report)"},
                                         SetCase{"info-print", "3", "info-print: 3 (Short report)"}),
                         [](const testing::TestParamInfo<SetCase>& p) {
                             std::string name = std::string(p.param.setting) + "_" + p.param.word;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(PrinterCommands, GetReadsAllFiveInOrder) {
    CliRunner cli;
    cli.WriteState(kOnePrinter);
    const CliRun text = cli.Run({"get"});
    ASSERT_EQ(text.exitCode, kExitSuccess) << text.err.toStdString();
    EXPECT_EQ(text.out, "power-on: off (Off)\nauto-power-off: 60 (60 min)\nnetwork: 3 (Mode 3)\n"
                        "info-print: 1 (Full report)\ncommand-mode: 1 (Mode 1)\n");

    const QJsonArray settings = Json(cli.Run({"get", "--json"})).value("settings").toArray();
    ASSERT_EQ(settings.size(), 5);
    EXPECT_EQ(settings[1].toObject(),
              (QJsonObject{{"setting", "auto-power-off"}, {"value", "60"}, {"text", "60 min"}, {"byte", 6}}));
}

TEST(PrinterCommands, RefusedValueIsAMismatchShowingBothValues) {
    CliRunner cli;
    cli.WriteState(kOnePrinter + "refuse = network\n");
    const CliRun run = cli.Run({"set", "network", "1"});
    EXPECT_EQ(run.exitCode, kExitMismatch);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, "lm360rctl: network: wrote 1 (Mode 1), but the printer answered 3 (Mode 3)\n");

    const QJsonObject json = Json(cli.Run({"set", "network", "1", "--json"}));
    EXPECT_FALSE(json.value("matches").toBool(true));
    EXPECT_EQ(json.value("answered").toObject().value("value").toString(), "3");
    EXPECT_EQ(json.value("answered").toObject().value("byte").toInt(), 2);
}

// Each printer command without a printer: status 2 and one line naming the link result.
TEST(PrinterCommands, NoPrinterIsStatusTwo) {
    CliRunner cli;
    cli.WriteState(kNoPrinter);
    WriteBytes(cli.Path("ok.bin"), protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 0, 0, 0)));
    const QList<QStringList> commands{{"get"},
                                      {"get", "network"},
                                      {"set", "power-on", "on"},
                                      {"reset", "--yes"},
                                      {"status"},
                                      {"send", "ok.bin"},
                                      {"list"}};
    for (const QStringList& arguments : commands) {
        const CliRun run = cli.Run(arguments);
        EXPECT_EQ(run.exitCode, kExitNoPrinter) << arguments.join(' ').toStdString() << run.err.toStdString();
        if (arguments.first() != "list") {
            EXPECT_TRUE(run.out.isEmpty()) << arguments.join(' ').toStdString();
            EXPECT_TRUE(run.err.contains("no LM-360R printer found")) << run.err.toStdString();
            EXPECT_TRUE(run.err.endsWith("(link result 1, platform status 0)\n")) << run.err.toStdString();
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        }
    }
}

TEST(PrinterCommands, SerialPicksTheSecondOfTwoPrinters) {
    CliRunner cli;
    cli.WriteState(kTwoPrinters);
    ASSERT_EQ(cli.Run({"set", "power-on", "on", "--serial", "B"}).exitCode, kExitSuccess);
    EXPECT_EQ(cli.Run({"get", "power-on", "--serial", "B"}).out, "power-on: on (On)\n");
    EXPECT_EQ(cli.Run({"get", "power-on", "--serial", "A"}).out, "power-on: off (Off)\n");
    const CliRun unnamed = cli.Run({"get", "power-on"});
    EXPECT_EQ(unnamed.out, "power-on: off (Off)\n") << "without a serial the first one";
    EXPECT_TRUE(unnamed.err.startsWith("lm360rctl: warning: 2 LM-360R printers are attached; using the "
                                       "first, serial A; choose another with --serial SERIAL"))
        << unnamed.err.toStdString();
    EXPECT_TRUE(cli.Run({"get", "power-on", "--serial", "A"}).err.isEmpty());
    // Every command that talks to a printer talks to the one named.
    WriteBytes(cli.Path("on.bin"), protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 1, 0, 0)));
    ASSERT_EQ(cli.Run({"send", "on.bin", "--serial", "B"}).exitCode, kExitSuccess);
    EXPECT_EQ(cli.Run({"get", "auto-power-off", "--serial", "A"}).out, "auto-power-off: 60 (60 min)\n");
    EXPECT_EQ(cli.Run({"get", "auto-power-off", "--serial", "B"}).out, "auto-power-off: 10 (10 min)\n");
    for (const QStringList& arguments : QList<QStringList>{{"get"},
                                                           {"set", "power-on", "on"},
                                                           {"reset", "--yes"},
                                                           {"status"},
                                                           {"send", "on.bin"},
                                                           {"list"}}) {
        EXPECT_EQ(cli.Run(arguments + QStringList{"--serial", "C"}).exitCode, kExitNoPrinter)
            << arguments.join(' ').toStdString();
    }

    const CliRun list = cli.Run({"list", "--json", "--serial", "B"});
    EXPECT_EQ(list.exitCode, kExitSuccess);
    const QJsonArray printers = Json(list).value("printers").toArray();
    ASSERT_EQ(printers.size(), 2);
    EXPECT_EQ(printers[0].toObject().value("serial").toString(), "A");
    EXPECT_FALSE(printers[0].toObject().value("target").toBool());
    EXPECT_TRUE(printers[1].toObject().value("target").toBool());
    EXPECT_EQ(printers[1].toObject().value("manufacturer").toString(), "Tamblor");
    EXPECT_TRUE(printers[1].toObject().value("device_id").toString().contains("SERN:B"));

    // Without a serial only the printer the other commands would use is the target.
    const QJsonArray unnamedList = Json(cli.Run({"list", "--json"})).value("printers").toArray();
    ASSERT_EQ(unnamedList.size(), 2);
    EXPECT_TRUE(unnamedList[0].toObject().value("target").toBool());
    EXPECT_FALSE(unnamedList[1].toObject().value("target").toBool());
    EXPECT_TRUE(unnamedList[1].toObject().value("matches").toBool());
}

TEST(PrinterCommands, SendChecksFirstAndSendsOnlyValidFiles) {
    CliRunner cli;
    cli.WriteState(kOnePrinter);
    std::vector<std::uint8_t> file =
        protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 1, 0, 0));
    WriteBytes(cli.Path("good.bin"), file);
    file.push_back(0x00);
    WriteBytes(cli.Path("bad.bin"), file);

    const CliRun bad = cli.Run({"send", "bad.bin"});
    EXPECT_EQ(bad.exitCode, kExitInvalidFile);
    EXPECT_TRUE(bad.err.contains("offset 8")) << bad.err.toStdString();
    EXPECT_EQ(cli.Run({"get", "power-on"}).out, "power-on: off (Off)\n")
        << "nothing of the invalid file arrived";

    const CliRun good = cli.Run({"send", "good.bin"});
    EXPECT_EQ(good.exitCode, kExitSuccess) << good.err.toStdString();
    EXPECT_EQ(cli.Run({"get", "power-on", "auto-power-off"}).out,
              "power-on: on (On)\nauto-power-off: 10 (10 min)\n");
}

TEST(PrinterCommands, ResetNeedsConfirmationThenRestoresAndPrintsAll) {
    CliRunner cli;
    cli.WriteState(kOnePrinter);
    ASSERT_EQ(cli.Run({"set", "auto-power-off", "10"}).exitCode, kExitSuccess);

    const CliRun refused = cli.Run({"reset"}); // stdin is not a terminal here
    EXPECT_EQ(refused.exitCode, kExitUsage);
    EXPECT_EQ(cli.Run({"get", "auto-power-off"}).out, "auto-power-off: 10 (10 min)\n");

    const CliRun declined = cli.RunOnTerminal({"reset"}, "n\n");
    EXPECT_EQ(declined.exitCode, kExitUsage);
    EXPECT_TRUE(declined.err.contains("[y/N]")) << declined.err.toStdString();
    EXPECT_EQ(cli.Run({"get", "auto-power-off"}).out, "auto-power-off: 10 (10 min)\n");

    const CliRun confirmed = cli.RunOnTerminal({"reset"}, "y\n");
    EXPECT_EQ(confirmed.exitCode, kExitSuccess) << confirmed.err.toStdString();
    EXPECT_TRUE(confirmed.out.contains("auto-power-off: 60 (60 min)\n")) << confirmed.out.toStdString();
    ASSERT_EQ(cli.Run({"set", "auto-power-off", "10"}).exitCode, kExitSuccess);

    const CliRun reset = cli.Run({"reset", "--yes", "--json"});
    ASSERT_EQ(reset.exitCode, kExitSuccess) << reset.err.toStdString();
    const QJsonArray settings = Json(reset).value("settings").toArray();
    ASSERT_EQ(settings.size(), 5);
    EXPECT_EQ(settings[1].toObject().value("byte").toInt(), 6);
}

TEST(PrinterCommands, StatusIsThirtyTwoBytes) {
    CliRunner cli;
    cli.WriteState(kOnePrinter);
    const CliRun text = cli.Run({"status"});
    ASSERT_EQ(text.exitCode, kExitSuccess) << text.err.toStdString();
    EXPECT_EQ(text.out.trimmed().split(' ').size(), 32);
    EXPECT_EQ(Json(cli.Run({"status", "--json"})).value("status").toArray().size(), 32);
}

} // namespace
} // namespace cli::test
