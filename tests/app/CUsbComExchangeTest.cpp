#include "app/ExchangeAlerts.h"
#include "texts/WindowTexts.h"
#include "tests/app/UsbComFixture.h"
#include "tests/support/PrinterHolding.h"

#include <string>

namespace usbcomtest {
namespace {

using namespace protocol;
using exchange::kGetCommandErrorKey;
using exchange::kMatchingErrorKey;
using exchange::kSetCommandErrorKey;
using simulator::DeviceScript;
using simulator::Fault;
using simulator::UsbOperation;

constexpr unsigned kOpeningWrites = 2;

class ExchangeTest : public UsbComTest {
  protected:
    // The OUT bytes of every connection the printer saw, from the `from`-th on.
    std::vector<std::vector<std::uint8_t>> Connections(const simulator::SimulatedDevice& printer,
                                                       std::size_t from = 0) {
        const auto& all = printer.record().connections;
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
    }

    // The connections of five quiet reads, kinds 1 to 5.
    static std::vector<std::vector<std::uint8_t>> SweepWire() {
        std::vector<std::vector<std::uint8_t>> wire;
        for (const SettingRow& setting : Settings()) {
            wire.push_back(Wire({ReadFrame(setting.kind)}));
        }
        return wire;
    }
};

TEST_F(ExchangeTest, ReadsShowWhatThePrinterHolds) {
    DeviceScript script;
    script.settings = PrinterHolding(1, 3, 0, 1, 3);
    AddPrinter(std::move(script));
    struct Expected {
        SettingKind kind;
        QString text;
        int selected;
    };
    const Expected expected[] = {
        {kPowerOn, platform::Localized("PowerON_ON"), 1},
        {kAutoPowerOff, QStringLiteral("30"), 3},
        {kNetwork, platform::Localized("NetworkSet1_1"), 0},
        {kInfoPrint, platform::Localized("InfoPrint_3"), 2},
        {kCommandMode, platform::Localized("Command_3"), -1},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(com->GetSetting(0, e.kind), kLinkOk) << e.kind;
        EXPECT_EQ(Field(e.kind).text(), e.text) << e.kind;
        EXPECT_EQ(List(e.kind).currentIndex(), e.selected) << e.kind;
    }
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ExchangeTest, ReadWithoutPrinterIsSilentOnlyWhenQuiet) {
    for (const SettingRow& setting : Settings()) {
        const SettingKind kind = setting.kind;
        EXPECT_EQ(com->GetSetting(1, kind), kLinkNoPrinter);
        EXPECT_EQ(Field(kind).text(), texts::NoPrinterField()) << kind;
        EXPECT_EQ(List(kind).currentIndex(), List(kind).count() > 0 ? setting.firstChoice : -1) << kind;
    }
    EXPECT_TRUE(dialogs.alerts.empty());

    EXPECT_EQ(com->GetSetting(0, kAutoPowerOff), kLinkNoPrinter);
    ASSERT_EQ(dialogs.alerts.size(), 1U);
    // A sentence, not "error 0"; the coded title stays in the details.
    EXPECT_EQ(dialogs.alerts[0].text, texts::ReadFailed(platform::Localized("AutoPowerOffBoxName")));
    EXPECT_EQ(dialogs.alerts[0].informativeText, texts::NoPrinter() + "\n" + texts::NoPrinterRemedy());
    EXPECT_EQ(dialogs.alerts[0].detailedText, AlertTitle(kGetCommandErrorKey, 0));
    EXPECT_EQ(dialogs.alerts[0].icon, platform::AlertIcon::Warning);
    EXPECT_EQ(dialogs.alerts[0].acceptButton, platform::Localized("OKButton"));
    EXPECT_EQ(dialogs.alerts[0].rejectButton, QString());
}

TEST_F(ExchangeTest, FailedReadAlertCarriesThePlatformStatus) {
    DeviceScript script;
    script.faults[UsbOperation::ReadPipe] = Fault{platform::kUsbErrorPipe, 0};
    AddPrinter(std::move(script));
    EXPECT_EQ(com->GetSetting(0, kNetwork), kLinkReadFailed);
    EXPECT_EQ(dialogs.AlertDetails(), QStringList{AlertTitle(kGetCommandErrorKey, platform::kUsbErrorPipe)});
    EXPECT_EQ(List(kNetwork).currentIndex(), SettingOf(kNetwork)->firstChoice);
}

TEST_F(ExchangeTest, ApplyingWritesTheChoiceAndShowsTheAnswer) {
    struct Case {
        SettingKind kind;
        int index;
        std::uint8_t written;
        QString shown;
    };
    const Case cases[] = {
        {kInfoPrint, 0, 3, platform::Localized("InfoPrint_1")},
        {kInfoPrint, 2, 1, platform::Localized("InfoPrint_3")},
        {kPowerOn, 1, 1, platform::Localized("PowerON_ON")},
        {kAutoPowerOff, 2, 2, QStringLiteral("20")},
        {kNetwork, 0, 0, platform::Localized("NetworkSet1_1")},
    };
    simulator::SimulatedDevice& printer = AddPrinter();
    for (const Case& c : cases) {
        List(c.kind).setCurrentIndex(c.index);
        EXPECT_EQ(com->SetSetting(0, c.kind), kLinkOk) << c.kind;
        const Frame write = *WriteFrameFor(c.kind, c.written);
        EXPECT_EQ(printer.LastConnectionOut(), Wire({write, ReadFrame(c.kind)})) << c.kind;
        EXPECT_EQ(printer.printer().settings().Get(c.kind), c.written) << c.kind;
        EXPECT_EQ(Field(c.kind).text(), c.shown) << c.kind;
        EXPECT_EQ(List(c.kind).currentIndex(), c.index) << c.kind;
    }
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ExchangeTest, PrinterThatKeepsItsValueRaisesOneMismatchAndTheListFollowsIt) {
    DeviceScript script;
    script.settings.Set(kAutoPowerOff, 4); // "40"
    script.refusedKinds = {kAutoPowerOff};
    AddPrinter(std::move(script));
    List(kAutoPowerOff).setCurrentIndex(1);

    EXPECT_EQ(com->SetSetting(0, kAutoPowerOff), kLinkOk);
    EXPECT_EQ(dialogs.AlertDetails(), QStringList{AlertTitle(kMatchingErrorKey, 0)});
    EXPECT_TRUE(dialogs.alerts[0].detailedText.endsWith(QStringLiteral("0)")));
    EXPECT_EQ(dialogs.alerts[0].text, texts::ValueMismatch(platform::Localized("AutoPowerOffBoxName"),
                                                           "10 minutes (1)", "40 minutes (4)"));
    EXPECT_EQ(List(kAutoPowerOff).currentIndex(), 4);
    EXPECT_EQ(Field(kAutoPowerOff).text(), QStringLiteral("40"));
}

TEST_F(ExchangeTest, ApplyWithoutPrinterKeepsTheUsersChoice) {
    List(kNetwork).setCurrentIndex(1);
    EXPECT_EQ(com->SetSetting(0, kNetwork), kLinkNoPrinter);
    EXPECT_EQ(dialogs.AlertDetails(), QStringList{AlertTitle(kSetCommandErrorKey, LastError())});
    EXPECT_EQ(dialogs.AlertTexts(), QStringList{texts::WriteFailed(platform::Localized("NetworkSetName"))});
    EXPECT_EQ(Field(kNetwork).text(), texts::NoPrinterField());
    EXPECT_EQ(List(kNetwork).currentIndex(), 1);
}

TEST_F(ExchangeTest, FailedWritesRaiseTheirClassifiedAlertOnce) {
    struct Case {
        unsigned writesBefore; // frames of the exchange written before the failing one
        platform::UsbStatus status;
        LinkResult result;
        std::string_view key;
    };
    const Case cases[] = {
        {0, platform::kUsbErrorIo, kLinkCommandWriteFailed, kSetCommandErrorKey},
        {1, platform::kUsbErrorPipe, kLinkRequestWriteFailed, kGetCommandErrorKey},
    };
    for (const Case& c : cases) {
        dialogs.alerts.clear();
        if (bus.deviceCount() > 0) {
            bus.device(bus.deviceCount() - 1).Unplug();
        }
        DeviceScript script;
        script.faults[UsbOperation::WritePipe] = Fault{c.status, kOpeningWrites + c.writesBefore};
        AddPrinter(std::move(script));
        List(kPowerOn).setCurrentIndex(1);
        EXPECT_EQ(com->SetSetting(0, kPowerOn), c.result);
        EXPECT_EQ(dialogs.AlertDetails(), QStringList{AlertTitle(c.key, c.status)});
        EXPECT_EQ(List(kPowerOn).currentIndex(), 1);
    }
}

TEST_F(ExchangeTest, ZeroFlagWritesZeroAndExpectsItBack) {
    simulator::SimulatedDevice& printer = AddPrinter();
    List(kInfoPrint).setCurrentIndex(1);
    EXPECT_EQ(com->SetSetting(1, kInfoPrint), kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Wire({*WriteFrameFor(kInfoPrint, 0), ReadFrame(kInfoPrint)}));
    EXPECT_EQ(Field(kInfoPrint).text(), platform::Localized("InfoPrint_4"));
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ExchangeTest, CommandModeIsVerifiedAgainstTheValueItsFrameCarries) {
    struct Case {
        std::int8_t zero;
        std::uint8_t stored; // what the printer keeps when it refuses the write
        bool refused;
        bool mismatch;
    };
    const Case cases[] = {{0, 0, false, false}, {1, 1, false, false}, {0, 3, true, true}, {1, 3, true, true}};
    for (const Case& c : cases) {
        dialogs.alerts.clear();
        if (bus.deviceCount() > 0) {
            bus.device(bus.deviceCount() - 1).Unplug();
        }
        DeviceScript script;
        script.settings.Set(kCommandMode, c.stored);
        if (c.refused) {
            script.refusedKinds = {kCommandMode};
        }
        simulator::SimulatedDevice& printer = AddPrinter(std::move(script));
        EXPECT_EQ(com->SetSetting(c.zero, kCommandMode), kLinkOk);
        EXPECT_EQ(printer.LastConnectionOut(),
                  Wire({*WriteFrameFor(kCommandMode, c.zero != 0 ? 0 : 1), ReadFrame(kCommandMode)}));
        EXPECT_EQ(dialogs.alerts.size(), c.mismatch ? 1U : 0U) << int(c.zero) << " " << int(c.stored);
    }
}

TEST_F(ExchangeTest, SuccessfulResetReadsAutoPowerOffThenEverythingQuietly) {
    DeviceScript script;
    script.settings = PrinterHolding(1, 1, 0, 1, 1);
    simulator::SimulatedDevice& printer = AddPrinter(std::move(script));
    EXPECT_EQ(com->SetSetting(1, kReset), kLinkOk);

    const ResetExchange reset = ResetExchangeFrames();
    std::vector<std::vector<std::uint8_t>> expected{Wire({reset.resetFrame, reset.readRequest.frame}),
                                                    Wire({ReadFrame(kAutoPowerOff)})};
    for (auto& sweep : SweepWire()) {
        expected.push_back(sweep);
    }
    EXPECT_EQ(Connections(printer), expected);
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(Field(kAutoPowerOff).text(), QStringLiteral("60")) << "the printer's defaults are shown";
    EXPECT_EQ(List(kNetwork).currentIndex(), 2);
}

TEST_F(ExchangeTest, FailedResetSkipsTheLoudReadButStillReadsEverything) {
    DeviceScript script;
    script.faults[UsbOperation::WritePipe] = Fault{platform::kUsbErrorIo, kOpeningWrites};
    simulator::SimulatedDevice& printer = AddPrinter(std::move(script));
    // the printer recovers once the failure has been reported
    dialogs.onAlert = [&printer](const testsupport::ScriptedDialogs::Alert&) {
        printer.script().faults.clear();
    };
    EXPECT_EQ(com->SetSetting(1, kReset), kLinkCommandWriteFailed);
    EXPECT_EQ(dialogs.AlertDetails(), QStringList{AlertTitle(kSetCommandErrorKey, platform::kUsbErrorIo)});
    EXPECT_EQ(dialogs.AlertTexts(), QStringList{texts::ResetFailed()});
    EXPECT_EQ(Connections(printer).size(), 6U) << "the reset, then five reads";
    EXPECT_EQ(Connections(printer, 1), SweepWire());
}

TEST_F(ExchangeTest, ResetWhoseLoudReadFailsRaisesBothAlertsInOrder) {
    struct Case {
        std::string name;
        UsbOperation failing;
        unsigned succeedingCalls;
        platform::UsbStatus status;
        LinkResult result;
        QStringList alerts;
    };
    const Case cases[] = {
        {"reply lost",
         UsbOperation::ReadPipe,
         1,
         platform::kUsbErrorIo,
         kLinkReadFailed,
         {AlertTitle(kGetCommandErrorKey, platform::kUsbErrorIo),
          AlertTitle(kGetCommandErrorKey, platform::kUsbErrorIo)}},
        // The read's own alert says it all: no second one.
        {"request not written",
         UsbOperation::WritePipe,
         kOpeningWrites * 2 + 2,
         platform::kUsbErrorPipe,
         kLinkRequestWriteFailed,
         {AlertTitle(kGetCommandErrorKey, platform::kUsbErrorPipe)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.alerts.clear();
        if (bus.deviceCount() > 0) {
            bus.device(bus.deviceCount() - 1).Unplug();
        }
        DeviceScript script;
        script.faults[c.failing] = Fault{c.status, c.succeedingCalls};
        AddPrinter(std::move(script));
        EXPECT_EQ(com->SetSetting(1, kReset), c.result);
        EXPECT_EQ(dialogs.AlertDetails(), c.alerts);
    }
}

TEST_F(ExchangeTest, UnknownKindsAreRefusedWithoutTouchingThePrinter) {
    AddPrinter();
    for (const SettingKind kind : {0, -1, 7, 1000}) {
        EXPECT_EQ(com->GetSetting(0, kind), CUsbCom::kRefusedKind) << kind;
        EXPECT_EQ(com->SetSetting(0, kind), CUsbCom::kRefusedKind) << kind;
    }
    EXPECT_EQ(com->GetSetting(0, kReset), CUsbCom::kRefusedKind);
    EXPECT_EQ(bus.device(0).record().handlesCreated, 0U);
    EXPECT_TRUE(progress.positions.empty());
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ExchangeTest, AlertTitleIsTextThenCodeThenParenthesis) {
    for (const int code : {0, -4, 7}) {
        com->mRunAlertPanel("Util_SetCommandError", code, QString(), QString());
    }
    EXPECT_EQ(dialogs.AlertDetails(), dialogs.AlertTexts())
        << "without a statement the coded title is the text";
    EXPECT_EQ(dialogs.AlertDetails(),
              (QStringList{platform::Localized("Util_SetCommandError") + QStringLiteral("0)"),
                           platform::Localized("Util_SetCommandError") + QStringLiteral("-4)"),
                           platform::Localized("Util_SetCommandError") + QStringLiteral("7)")}));
}

} // namespace
} // namespace usbcomtest
