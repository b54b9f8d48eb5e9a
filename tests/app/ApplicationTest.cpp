// The controller with its real collaborators: CUsbCom on a simulated bus and the shared progress panel.
#include "app/ApplicationServices.h"
#include "app/Vexo_MainController.h"
#include "app/Vexo_Progress.h"
#include "texts/WindowTexts.h"
#include "platform/core/Localized.h"
#include "simulator/SimulatedBus.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/support/PrinterHolding.h"
#include "tests/support/ScriptedDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using platform::Localized;

const char* const kFields[] = {"powerOnCurrentValue", "autoPowerOffCurrentValue", "networkSetCurrentValue",
                               "infoPrintCurrentValue", "commandCurrentValue"};

class ApplicationTest : public testing::Test {
  protected:
    template <typename Widget> Widget* Find(const char* name) const {
        auto* widget = controller->window()->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QStringList Fields() const {
        QStringList texts;
        for (const char* field : kFields) {
            texts << Find<QLineEdit>(field)->text();
        }
        return texts;
    }
    void Launch() {
        controller = std::make_unique<Vexo_MainController>(SharedProgressPanel(), CUsbComFactory(bus));
        controller->applicationDidFinishLaunching();
    }
    static bool PanelShown() { return Vexo_Progress::sharedVexo_Progress().progressWindow()->isVisible(); }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    simulator::SimulatedBus bus;
    std::unique_ptr<Vexo_MainController> controller;
};

TEST_F(ApplicationTest, LaunchShowsWhatThePrinterHolds) {
    bus.AddDevice().printer().SetSettings(PrinterHolding(1, 3, 1, 2, 1));
    Launch();
    EXPECT_EQ(Fields(), (QStringList{Localized("PowerON_ON"), "30", Localized("NetworkSet1_2"),
                                     Localized("InfoPrint_2"), Localized("Command_2")}));
    EXPECT_EQ(Find<QComboBox>("autoPowerOffSettingsComb")->currentIndex(), 3);
    EXPECT_EQ(Find<QComboBox>("infoPrintSettingsComb")->currentIndex(), 1);
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_FALSE(PanelShown());
    EXPECT_EQ(bus.device(0).record().connections.size(), 5U);
}

TEST_F(ApplicationTest, LaunchWithoutPrinterSaysSoQuietly) {
    Launch();
    EXPECT_EQ(Fields(), QStringList(5, texts::NoPrinterField()));
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(Find<QComboBox>("powerOnSettingsComb")->currentText(), Localized("PowerON_OFF"));
    EXPECT_EQ(Find<QComboBox>("autoPowerOffSettingsComb")->currentText(), "60");
    EXPECT_EQ(Find<QComboBox>("networkSetSettingsComb")->currentText(), Localized("NetworkSet1_3"));
    EXPECT_EQ(Find<QComboBox>("infoPrintSettingsComb")->currentText(), Localized("InfoPrint_1"));
}

TEST_F(ApplicationTest, ApplyChangesThePrinterAndShowsItsAnswer) {
    simulator::SimulatedDevice& printer = bus.AddDevice();
    Launch();
    bool panelShownDuringExchange = false;
    Find<QComboBox>("autoPowerOffSettingsComb")->setCurrentIndex(2);
    // Looked at on the GUI thread, as the exchange's progress arrives there.
    QObject::connect(Vexo_Progress::sharedVexo_Progress().progressBar(), &QProgressBar::valueChanged,
                     controller.get(), [&] { panelShownDuringExchange = PanelShown(); });

    Find<QPushButton>("autoPowerOffApplyButton")->click();

    EXPECT_EQ(printer.printer().settings().Get(protocol::kAutoPowerOff), 2);
    EXPECT_EQ(Find<QLineEdit>("autoPowerOffCurrentValue")->text(), "20");
    EXPECT_TRUE(panelShownDuringExchange);
    EXPECT_FALSE(PanelShown());
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ApplicationTest, ConfirmedResetRestoresTheDefaults) {
    simulator::SimulatedDevice& printer = bus.AddDevice();
    printer.printer().SetSettings(PrinterHolding(1, 1, 0, 1, 0));
    Launch();
    dialogs.AnswerAlert(1);
    Find<QPushButton>("resetButton")->click();
    EXPECT_EQ(printer.printer().settings(), simulator::PrinterSettings{});
    EXPECT_EQ(Fields(), (QStringList{Localized("PowerON_OFF"), "60", Localized("NetworkSet1_3"),
                                     Localized("InfoPrint_1"), Localized("Command_1")}));
    EXPECT_EQ(dialogs.AlertTexts(), QStringList{Localized("ResetMassege")});
    EXPECT_FALSE(PanelShown());
}

// The controller's interfaces pass C strings in which null means "none".
TEST_F(ApplicationTest, NullTargetsAndKeysStayUnset) {
    simulator::DeviceScript otherMake;
    otherMake.identity.manufacturer = "Other";
    bus.AddDevice(otherMake);
    const std::unique_ptr<SettingsExchange> settings = CUsbComFactory(bus)(SettingWidgets{}, nullptr);
    settings->SetDeviceInf(nullptr, nullptr, nullptr);
    EXPECT_EQ(settings->GetSetting(1, protocol::kPowerOn), kLinkOk) << "no target matches any printer";

    SharedProgressPanel().openPanel(nullptr, nullptr);
    const Vexo_Progress& panel = Vexo_Progress::sharedVexo_Progress();
    EXPECT_TRUE(panel.progressMessage()->text().isEmpty());
    EXPECT_TRUE(panel.progressWindow()->windowTitle().isEmpty());
    SharedProgressPanel().closePanel();
}

} // namespace
