// --all through the real executable: every LM-360R in turn, each one's output marked with its serial,
// one printer's failure not stopping the others, and never a printer of another make.
#include "CliRunner.h"
#include "cli/ExitCodes.h"
#include "cli/PrinterRuns.h"
#include "protocol/CommandFile.h"
#include "tests/support/Selections.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace cli::test {
namespace {

// Between the two LM-360R, another maker's printer that carries A's serial number and would take any
// write it is sent.
const QByteArray kTwoAndAnother =
    "[printer]\nserial = A\n[printer]\nserial = A\nmanufacturer = Other\n[printer]\nserial = B\n";

QJsonObject Json(const CliRun& run) {
    return QJsonDocument::fromJson(run.out).object();
}

QByteArray StateOf(const CliRunner& cli) {
    const std::vector<std::uint8_t> bytes = ReadBytes(cli.StatePath());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The other make's printer as the state file keeps it.
QByteArray OtherPrinter(const CliRunner& cli) {
    for (const QByteArray& block : StateOf(cli).split('[')) {
        if (block.contains("manufacturer = Other")) {
            return block;
        }
    }
    return {};
}

// Has the simulator write the state file its own way, so that what it writes later compares with it.
void Settle(const CliRunner& cli) {
    ASSERT_EQ(cli.Run({"set", "power-on", "on", "--serial", "A"}).exitCode, kExitSuccess);
    ASSERT_EQ(cli.Run({"set", "power-on", "off", "--serial", "A"}).exitCode, kExitSuccess);
    ASSERT_FALSE(OtherPrinter(cli).isEmpty());
}

TEST(EveryPrinter, GetMarksEachLM360RAndNamesItInJson) {
    CliRunner cli;
    cli.WriteState(kTwoAndAnother);
    ASSERT_EQ(cli.Run({"set", "power-on", "on", "--serial", "B"}).exitCode, kExitSuccess);
    const CliRun text = cli.Run({"get", "power-on", "network", "--all"});
    ASSERT_EQ(text.exitCode, kExitSuccess) << text.err.toStdString();
    EXPECT_EQ(text.out, "[A] power-on: off (Off)\n[A] network: 3 (Mode 3)\n"
                        "[B] power-on: on (On)\n[B] network: 3 (Mode 3)\n");
    EXPECT_TRUE(text.err.isEmpty()) << "no warning about several printers: each is named";

    const QJsonArray printers =
        Json(cli.Run({"get", "power-on", "--all", "--json"})).value("printers").toArray();
    ASSERT_EQ(printers.size(), 2);
    EXPECT_EQ(
        printers[1].toObject(),
        (QJsonObject{
            {"printer", QJsonObject{{"manufacturer", "Tamblor"}, {"product", "LM-360R"}, {"serial", "B"}}},
            {"exit_status", 0},
            {"settings", QJsonArray{QJsonObject{
                             {"setting", "power-on"}, {"value", "on"}, {"text", "On"}, {"byte", 1}}}}}));
    // Without --all, the document names the printer it read too.
    EXPECT_EQ(Json(cli.Run({"get", "--json"})).value("printer").toObject().value("serial").toString(), "A");
    EXPECT_EQ(Json(cli.Run({"get", "--json", "--serial", "B"})).value("printer").toObject().value("serial"),
              "B");
}

// Each command that takes --all changes both LM-360R, and nothing of the other make.
TEST(EveryPrinter, EachCommandReachesBothAndNoOtherMake) {
    CliRunner cli;
    cli.WriteState(kTwoAndAnother);
    Settle(cli);
    const QByteArray other = OtherPrinter(cli);
    WriteBytes(cli.Path("on.bin"), protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 1, 0, 0)));
    struct Step {
        QStringList arguments;
        QByteArray after; // get power-on auto-power-off, for each printer
    };
    const QList<Step> steps{
        {{"set", "auto-power-off", "30"}, "power-on: off (Off)\nauto-power-off: 30 (30 min)\n"},
        {{"send", "on.bin"}, "power-on: on (On)\nauto-power-off: 10 (10 min)\n"},
        {{"reset", "--yes"}, "power-on: off (Off)\nauto-power-off: 60 (60 min)\n"},
        {{"apply", "auto-power-off=0"}, "power-on: off (Off)\nauto-power-off: 0 (0 min)\n"},
    };
    for (const Step& step : steps) {
        const CliRun run = cli.Run(step.arguments + QStringList{"--all"});
        EXPECT_EQ(run.exitCode, kExitSuccess)
            << step.arguments.join(' ').toStdString() << run.err.toStdString();
        for (const char* serial : {"A", "B"}) {
            EXPECT_EQ(cli.Run({"get", "power-on", "auto-power-off", "--serial", serial}).out, step.after)
                << step.arguments.join(' ').toStdString() << " on " << serial;
        }
        EXPECT_EQ(OtherPrinter(cli), other) << step.arguments.join(' ').toStdString();
    }
    const QJsonObject sent = Json(cli.Run({"send", "on.bin", "--all", "--json"}));
    ASSERT_EQ(sent.value("printers").toArray().size(), 2);
    EXPECT_EQ(sent.value("printers").toArray()[1].toObject().value("sent").toInt(),
              static_cast<int>(ReadBytes(cli.Path("on.bin")).size()));
}

// --serial picks an LM-360R by its serial number, never another make's printer with the same one,
// though that one comes first on the bus.
TEST(EveryPrinter, SerialNeverReachesAnotherMake) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\nmanufacturer = Other\n[printer]\nserial = A\n");
    Settle(cli);
    const QByteArray other = OtherPrinter(cli);
    WriteBytes(cli.Path("on.bin"), protocol::BuildCommandFile(protocol::kPowerGroup, Selections(1, 1, 0, 0)));
    const QList<QStringList> commands{
        {"set", "network", "1"}, {"apply", "info-print=2"}, {"send", "on.bin"}, {"reset", "--yes"}};
    for (const QStringList& command : commands) {
        const CliRun run = cli.Run(command + QStringList{"--serial", "A", "--json"});
        EXPECT_EQ(run.exitCode, kExitSuccess) << command.join(' ').toStdString() << run.err.toStdString();
        EXPECT_EQ(Json(run).value("printer").toObject().value("manufacturer").toString(), "Tamblor");
        EXPECT_EQ(OtherPrinter(cli), other) << command.join(' ').toStdString();
    }
    const QJsonObject got = Json(cli.Run({"get", "--serial", "A", "--json"}));
    EXPECT_EQ(got.value("printer").toObject().value("manufacturer").toString(), "Tamblor");
    EXPECT_EQ(Json(cli.Run({"list", "--serial", "A", "--json"}))
                  .value("printers")
                  .toArray()[0]
                  .toObject()
                  .value("target"),
              false);
}

// A printer that fails does not stop the others; the exit status is the worst of them.
TEST(EveryPrinter, OneFailureDoesNotStopTheOthers) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\nrefuse = network\n[printer]\nserial = B\n");
    const CliRun run = cli.Run({"apply", "network=1", "--all", "--json"});
    EXPECT_EQ(run.exitCode, kExitMismatch);
    EXPECT_EQ(run.err, "lm360rctl: [A] network: wrote 1 (Mode 1), but the printer answered 3 (Mode 3)\n");
    const QJsonObject json = Json(run);
    EXPECT_TRUE(json.value("changed").toBool());
    const QJsonArray printers = json.value("printers").toArray();
    ASSERT_EQ(printers.size(), 2);
    EXPECT_EQ(printers[0].toObject().value("exit_status").toInt(), kExitMismatch);
    EXPECT_EQ(printers[0].toObject().value("errors").toArray(),
              QJsonArray{"network: wrote 1 (Mode 1), but the printer answered 3 (Mode 3)"});
    EXPECT_EQ(printers[1].toObject().value("exit_status").toInt(), kExitSuccess);
    EXPECT_FALSE(printers[1].toObject().contains("errors"));
    EXPECT_EQ(cli.Run({"get", "network", "--serial", "B"}).out, "network: 1 (Mode 1)\n");
}

// Exchanges find a printer by its serial: one that shares its serial with an earlier one, or has none
// among several, is said to be out of reach rather than confused with another.
TEST(EveryPrinter, PrintersThatCannotBeToldApartAreReported) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\n[printer]\nserial = A\npower-on = 1\n[printer]\nserial = B\n");
    const CliRun run = cli.Run({"get", "power-on", "--all"});
    EXPECT_EQ(run.exitCode, kExitLinkFailure);
    EXPECT_EQ(run.out, "[A] power-on: off (Off)\n[B] power-on: off (Off)\n");
    EXPECT_EQ(run.err, "lm360rctl: [A] an LM-360R listed before this one has the same serial number, so only "
                       "that one can be reached\n");

    cli.WriteState("[printer]\nserial =\n[printer]\nserial = B\n");
    const CliRun unnamed = cli.Run({"get", "power-on", "--all"});
    EXPECT_EQ(unnamed.exitCode, kExitLinkFailure);
    EXPECT_EQ(unnamed.out, "[B] power-on: off (Off)\n");
    EXPECT_EQ(unnamed.err, "lm360rctl: [no serial] this LM-360R has no serial number, so it cannot be told "
                           "apart from the other 1 attached; to work on it, unplug the others\n");

    cli.WriteState("[printer]\nserial =\n");
    EXPECT_EQ(cli.Run({"get", "power-on", "--all"}).out, "[no serial] power-on: off (Off)\n")
        << "alone, it is the one any exchange opens";
}

TEST(EveryPrinter, NoLM360RIsStatusTwo) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\nmanufacturer = Other\n");
    const CliRun run = cli.Run({"get", "--all", "--json"});
    EXPECT_EQ(run.exitCode, kExitNoPrinter);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("lm360rctl: looking for printers failed: no LM-360R printer found"))
        << run.err.toStdString();
}

TEST(EveryPrinter, ResetIsConfirmedOnceForAll) {
    CliRunner cli;
    cli.WriteState("[printer]\nserial = A\npower-on = 1\n[printer]\nserial = B\npower-on = 1\n");
    EXPECT_EQ(cli.Run({"reset", "--all"}).exitCode, kExitUsage) << "no terminal, no --yes";
    const CliRun declined = cli.RunOnTerminal({"reset", "--all"}, "n\n");
    EXPECT_EQ(declined.exitCode, kExitUsage);
    EXPECT_TRUE(declined.err.contains("Reset the settings of all 2 LM-360R printers"))
        << declined.err.toStdString();
    EXPECT_EQ(cli.Run({"get", "power-on", "--all"}).out, "[A] power-on: on (On)\n[B] power-on: on (On)\n");

    const CliRun confirmed = cli.RunOnTerminal({"reset", "--all"}, "y\n");
    EXPECT_EQ(confirmed.exitCode, kExitSuccess) << confirmed.err.toStdString();
    EXPECT_EQ(confirmed.err.count("[y/N]"), 1);
    EXPECT_EQ(cli.Run({"get", "power-on", "--all"}).out,
              "[A] power-on: off (Off)\n[B] power-on: off (Off)\n");
}

TEST(EveryPrinter, WorstStatusSaysLeastAboutThePrinter) {
    struct Case {
        int a, b, worst;
    };
    const Case cases[] = {{kExitSuccess, kExitMismatch, kExitMismatch},
                          {kExitMismatch, kExitNoPrinter, kExitNoPrinter},
                          {kExitNoPrinter, kExitLinkFailure, kExitLinkFailure},
                          {kExitLinkFailure, kExitMismatch, kExitLinkFailure},
                          {kExitLinkFailure, kExitSuccess, kExitLinkFailure},
                          {kExitSuccess, kExitSuccess, kExitSuccess}};
    for (const Case& c : cases) {
        EXPECT_EQ(Worse(c.a, c.b), c.worst) << c.a << " and " << c.b;
        EXPECT_EQ(Worse(c.b, c.a), c.worst) << c.b << " and " << c.a;
    }
}

} // namespace
} // namespace cli::test
