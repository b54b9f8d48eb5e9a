// The window tells which printer it talks to, or what keeps it from one, through the simulated bus:
// at launch, when printers come and go, and with several to choose from.
#include "app/ApplicationServices.h"
#include "app/Vexo_MainController.h"
#include "texts/WindowTexts.h"
#include "platform/core/Localized.h"
#include "simulator/SimulatedBus.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/support/PrinterHolding.h"
#include "tests/support/ScriptedDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using platform::Localized;
using simulator::DeviceScript;
using simulator::UsbOperation;

const char* const kFields[] = {"powerOnCurrentValue", "autoPowerOffCurrentValue", "networkSetCurrentValue",
                               "infoPrintCurrentValue"};

DeviceScript WithSerial(const char* serial) {
    DeviceScript script;
    script.identity = simulator::DefaultIdentity(serial);
    return script;
}

// A device node this user may not open.
DeviceScript Refused() {
    DeviceScript script;
    script.faults[UsbOperation::ControlRequest] = {platform::kUsbErrorAccess, 0};
    script.faults[UsbOperation::USBInterfaceOpen] = {platform::kUsbErrorAccess, 0};
    return script;
}

// Another program has claimed the interface.
DeviceScript Busy() {
    DeviceScript script;
    script.faults[UsbOperation::USBInterfaceOpen] = {platform::kUsbErrorBusy, 0};
    return script;
}

class WindowConnectionTest : public testing::Test {
  protected:
    template <typename Widget> Widget* Find(const char* name) const {
        return controller->window()->findChild<Widget*>(QString::fromLatin1(name));
    }
    void Launch() {
        controller = std::make_unique<Vexo_MainController>(SharedProgressPanel(), CUsbComFactory(bus));
        controller->applicationDidFinishLaunching();
    }
    QString Band() const { return Find<QLabel>("connectionText")->text(); }
    QStringList Fields() const {
        QStringList texts;
        for (const char* field : kFields) {
            texts << Find<QLineEdit>(field)->text();
        }
        return texts;
    }
    bool ChoiceOffered() const { return !Find<QComboBox>("printerChoice")->isHidden(); }
    // Hot-plug news arrives through the event loop and is acted on once the bus has settled.
    bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 5000); }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    simulator::SimulatedBus bus;
    std::unique_ptr<Vexo_MainController> controller;
};

struct StateCase {
    const char* name;
    std::vector<DeviceScript> devices;
    Connection connection;
    QString band;
    QString field; // empty: the fields show the printer's values
};

class ConnectionStateTest : public WindowConnectionTest, public testing::WithParamInterface<StateCase> {};

TEST_P(ConnectionStateTest, BandAndFieldsSayWhatIsThere) {
    for (const DeviceScript& script : GetParam().devices) {
        bus.AddDevice(script);
    }
    Launch();
    EXPECT_EQ(controller->connection().connection, GetParam().connection);
    EXPECT_EQ(Band(), GetParam().band);
    if (!GetParam().field.isEmpty()) {
        EXPECT_EQ(Fields(), QStringList(4, GetParam().field));
    } else {
        EXPECT_EQ(Fields()[0], Localized("PowerON_OFF"));
    }
    EXPECT_EQ(ChoiceOffered(), GetParam().devices.size() > 1);
    EXPECT_TRUE(dialogs.alerts.empty()) << "the launch stays quiet";
}

INSTANTIATE_TEST_SUITE_P(
    States, ConnectionStateTest,
    testing::Values(
        StateCase{"Present",
                  {DeviceScript{}},
                  Connection::Connected,
                  "Printer: Tamblor LM-360R, serial number SIM0000001",
                  {}},
        StateCase{
            "None",
            {},
            Connection::NoPrinter,
            "No LM-360R printer was found.\nCheck that the printer is connected by USB and switched on. It "
            "is found as soon as it is plugged in.",
            "No printer"},
        StateCase{
            "Refused",
            {Refused()},
            Connection::Refused,
            "The printer was found, but you may not open it.\nInstall the udev rule that comes with this "
            "program and plug the printer in again, or add yourself to the lp group (sudo usermod -aG lp "
            "$USER) and log in again.",
            "No access"},
        StateCase{"Busy",
                  {Busy()},
                  Connection::InUse,
                  "The printer is in use by another program.\nClose that program or wait until it has "
                  "finished, then try again.",
                  "In use"},
        StateCase{"Several",
                  {WithSerial("A1"), WithSerial("B2")},
                  Connection::Connected,
                  "Printer: Tamblor LM-360R, serial number A1",
                  {}}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST_F(WindowConnectionTest, ThePrinterChosenAmongSeveralIsTheOneTalkedTo) {
    bus.AddDevice(WithSerial("A1"));
    simulator::SimulatedDevice& second = bus.AddDevice(WithSerial("B2"));
    second.printer().SetSettings(PrinterHolding(1, 3, 1, 2, 1));
    Launch();
    auto* choice = Find<QComboBox>("printerChoice");
    ASSERT_EQ(choice->count(), 2);
    EXPECT_EQ(choice->itemText(0), "A1");
    EXPECT_EQ(choice->itemText(1), "B2");
    EXPECT_EQ(bus.device(0).record().connections.size(), 5U);
    EXPECT_EQ(second.record().connections.size(), 0U);

    controller->choosePrinter("B2");
    EXPECT_EQ(second.record().connections.size(), 5U) << "read as at launch";
    EXPECT_EQ(Band(), "Printer: Tamblor LM-360R, serial number B2");
    EXPECT_EQ(Find<QLineEdit>("autoPowerOffCurrentValue")->text(), "30");

    Find<QPushButton>("networkSetCurrentButton")->click();
    EXPECT_EQ(second.record().connections.size(), 6U);
    EXPECT_EQ(bus.device(0).record().connections.size(), 5U);
}

TEST_F(WindowConnectionTest, APrinterPluggedInIsReadAndOneUnpluggedIsMissed) {
    Launch();
    ASSERT_EQ(controller->connection().connection, Connection::NoPrinter);

    simulator::SimulatedDevice& printer = bus.AddDevice();
    printer.printer().SetSettings(PrinterHolding(1, 2, 0, 1, 0));
    ASSERT_TRUE(WaitFor([&] { return controller->connection().connection == Connection::Connected; }));
    EXPECT_EQ(printer.record().connections.size(), 5U);
    EXPECT_EQ(Fields(), (QStringList{Localized("PowerON_ON"), "20", Localized("NetworkSet1_1"),
                                     Localized("InfoPrint_3")}));
    EXPECT_EQ(Band(), "Printer: Tamblor LM-360R, serial number SIM0000001");

    printer.Unplug();
    ASSERT_TRUE(WaitFor([&] { return controller->connection().connection == Connection::NoPrinter; }));
    EXPECT_EQ(Fields(), QStringList(4, texts::NoPrinterField()));
    EXPECT_TRUE(Band().startsWith(texts::NoPrinter()));
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(WindowConnectionTest, ASecondPrinterArrivingLeavesTheFirstInUse) {
    bus.AddDevice(WithSerial("A1"));
    Launch();
    bus.AddDevice(WithSerial("B2"));
    ASSERT_TRUE(WaitFor([&] { return ChoiceOffered(); }));
    EXPECT_EQ(Find<QComboBox>("printerChoice")->currentText(), "A1");
    EXPECT_EQ(bus.device(1).record().connections.size(), 0U);
}

TEST_F(WindowConnectionTest, WhenThePrinterInUseLeavesTheOtherIsRead) {
    simulator::SimulatedDevice& first = bus.AddDevice(WithSerial("A1"));
    simulator::SimulatedDevice& second = bus.AddDevice(WithSerial("B2"));
    Launch();
    first.Unplug();
    ASSERT_TRUE(WaitFor([&] { return second.record().connections.size() == 5U; }));
    EXPECT_EQ(Band(), "Printer: Tamblor LM-360R, serial number B2");
    EXPECT_FALSE(ChoiceOffered());
}

// A press that needs a printer says what the band says, in the user's language; the coded title of
// before stays in the details.
struct AlertCase {
    const char* locale;
    const char* text;
    const char* reason;
    const char* details;
};

class NoPrinterAlertTest : public testing::TestWithParam<AlertCase> {};

TEST_P(NoPrinterAlertTest, NamesTheSettingAndSaysNoPrinterWasFound) {
    const apptest::ScopedCatalogues catalogues{QLocale(QString::fromLatin1(GetParam().locale))};
    testsupport::ScriptedDialogs dialogs;
    simulator::SimulatedBus bus;
    Vexo_MainController controller(SharedProgressPanel(), CUsbComFactory(bus));
    controller.applicationDidFinishLaunching();
    controller.window()->findChild<QPushButton*>("autoPowerOffCurrentButton")->click();
    ASSERT_EQ(dialogs.alerts.size(), 1U);
    EXPECT_EQ(dialogs.alerts[0].icon, platform::AlertIcon::Warning);
    EXPECT_EQ(dialogs.alerts[0].text, QString::fromUtf8(GetParam().text));
    EXPECT_TRUE(dialogs.alerts[0].informativeText.startsWith(QString::fromUtf8(GetParam().reason)));
    EXPECT_EQ(dialogs.alerts[0].detailedText, QString::fromUtf8(GetParam().details));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, NoPrinterAlertTest,
    testing::Values(AlertCase{"en_US", "Auto Power Off could not be read from the printer.",
                              "No LM-360R printer was found.\n",
                              "The setting could not be read from the printer (error 0)"},
                    AlertCase{"de_DE", "„Automatisches Ausschalten“ konnte nicht vom Drucker gelesen werden.",
                              "Es wurde kein LM-360R-Drucker gefunden.\n",
                              "Die Einstellung konnte nicht vom Drucker gelesen werden (Fehler 0)"},
                    AlertCase{"ja_JP", "「自動電源オフ」をプリンターから読み取れませんでした。",
                              "LM-360R プリンターが見つかりません。\n",
                              "プリンターから設定を読み込めませんでした (エラー 0)"}),
    [](const auto& instance) { return std::string(instance.param.locale); });

} // namespace
