#include "app/Vexo_MainController.h"
#include "texts/WindowTexts.h"
#include "platform/core/Localized.h"
#include "platform/ui/QtDialogs.h"
#include "tests/app/Catalogues.h"
#include "tests/app/PrintQString.h"
#include "tests/app/Recorders.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

namespace {

using apptest::Log;
using platform::Localized;

const QString kOpen = QStringLiteral("open ProgressbarWindowMessage ProgressWindowTitle");
const QString kClose = QStringLiteral("close");

class ControllerTest : public testing::Test {
  protected:
    template <typename Widget> Widget* Find(const char* name) const {
        auto* widget = controller.window()->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QStringList Items(const char* listName) const {
        QStringList items;
        const auto* list = Find<QComboBox>(listName);
        for (int i = 0; i < list->count(); ++i) {
            items << list->itemText(i);
        }
        return items;
    }
    // What happened after wake-up.
    QStringList Since(qsizetype mark) const { return log.entries.mid(mark); }

    apptest::ScopedCatalogues catalogues{QLocale(QLocale::English)};
    testsupport::ScriptedDialogs dialogs;
    Log log;
    apptest::RecordingPanel panel{log};
    SettingWidgets handed;
    Vexo_MainController controller{panel, apptest::RecordingFactory(log, &handed)};
};

TEST_F(ControllerTest, WakeUpHandsTheWidgetsInKindOrderAndNamesThePrinter) {
    const char* const lists[] = {"powerOnSettingsComb", "autoPowerOffSettingsComb", "networkSetSettingsComb",
                                 "infoPrintSettingsComb", "commandSettingsComb"};
    const char* const fields[] = {"powerOnCurrentValue", "autoPowerOffCurrentValue", "networkSetCurrentValue",
                                  "infoPrintCurrentValue", "commandCurrentValue"};
    ASSERT_EQ(handed.size(), 5U);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(handed[i].kind, static_cast<protocol::SettingKind>(i + 1));
        EXPECT_EQ(handed[i].settingsComb, Find<QComboBox>(lists[i]));
        EXPECT_EQ(handed[i].currentValue, Find<QLineEdit>(fields[i]));
    }
    EXPECT_EQ(log.entries, QStringList{QStringLiteral("device Tamblor|LM-360R|")});
}

// The window comes first, so a printer that is slow to answer never leaves the user without one.
TEST_F(ControllerTest, LaunchShowsTheWindowThenListsAndReadsEveryKindQuietly) {
    QStringList windowShownAtRead;
    log.onExchange = [&](const QString&) {
        windowShownAtRead << (controller.window()->isVisible() ? "shown" : "hidden");
    };
    const qsizetype mark = log.entries.size();
    controller.applicationDidFinishLaunching();

    EXPECT_EQ(Since(mark), (QStringList{"list", "get 1 1", "get 1 2", "get 1 3", "get 1 4", "get 1 5"}));
    EXPECT_EQ(windowShownAtRead, QStringList(6, "shown"));
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_TRUE(dialogs.alerts.empty());
}

// News of devices comes from the bus's own thread, often several at once; the bus is listed once it
// has settled, on the GUI thread.
TEST_F(ControllerTest, DeviceChangesAreListedOnceTheBusHasSettled) {
    controller.applicationDidFinishLaunching();
    ASSERT_TRUE(log.devicesChanged);
    const qsizetype mark = log.entries.size();
    std::thread([this] {
        log.devicesChanged();
        log.devicesChanged();
    }).join();
    EXPECT_EQ(Since(mark), QStringList()) << "not at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Since(mark).isEmpty(); }, 3000));
    QTest::qWait(400);
    EXPECT_EQ(Since(mark), QStringList{"list"}) << "no printer came: nothing is read";
    EXPECT_EQ(controller.connection().connection, Connection::NoPrinter);
}

TEST_F(ControllerTest, StartingChoices) {
    EXPECT_EQ(Find<QComboBox>("powerOnSettingsComb")->currentText(), Localized("PowerON_OFF"));
    EXPECT_EQ(Find<QComboBox>("autoPowerOffSettingsComb")->currentText(), "60");
    EXPECT_EQ(Find<QComboBox>("networkSetSettingsComb")->currentText(), Localized("NetworkSet1_3"));
    EXPECT_EQ(Find<QComboBox>("infoPrintSettingsComb")->currentText(), Localized("InfoPrint_1"));
}

struct ButtonCase {
    const char* button;
    const char* call;
};

class SettingButtonTest : public ControllerTest, public testing::WithParamInterface<ButtonCase> {};

TEST_P(SettingButtonTest, OpensThePanelMakesOneCallAndClosesIt) {
    const qsizetype mark = log.entries.size();
    Find<QPushButton>(GetParam().button)->click();
    EXPECT_EQ(Since(mark), (QStringList{kOpen, QString::fromLatin1(GetParam().call), kClose}));
    EXPECT_FALSE(panel.shown);
}

INSTANTIATE_TEST_SUITE_P(ReadAndApply, SettingButtonTest,
                         testing::Values(ButtonCase{"powerOnCurrentButton", "get 0 1"},
                                         ButtonCase{"powerOnApplyButton", "set 0 1"},
                                         ButtonCase{"autoPowerOffCurrentButton", "get 0 2"},
                                         ButtonCase{"autoPowerOffApplyButton", "set 0 2"},
                                         ButtonCase{"networkSetCurrentButton", "get 0 3"},
                                         ButtonCase{"networkSetApplyButton", "set 0 3"},
                                         ButtonCase{"infoPrintCurrentButton", "get 0 4"},
                                         ButtonCase{"infoPrintApplyButton", "set 0 4"}),
                         [](const auto& instance) { return std::string(instance.param.button); });

TEST_F(ControllerTest, ActionsIgnoreOtherSenders) {
    const qsizetype mark = log.entries.size();
    // The setting action answers only the boxes' buttons, the other action only the others.
    controller.settingAction(Find<QPushButton>("resetButton"));
    controller.settingAction(Find<QComboBox>("powerOnSettingsComb"));
    controller.settingAction(nullptr);
    controller.otherAction(Find<QPushButton>("powerOnApplyButton"));
    Find<QPushButton>("commandCurrentButton")->click();
    Find<QPushButton>("commandApplyButton")->click();
    EXPECT_EQ(Since(mark), QStringList());
    EXPECT_TRUE(dialogs.alerts.empty());
}

TEST_F(ControllerTest, ResetSendsOnlyWhenConfirmed) {
    const qsizetype mark = log.entries.size();
    dialogs.AnswerAlert(0);
    Find<QPushButton>("resetButton")->click();
    EXPECT_EQ(Since(mark), QStringList());
    ASSERT_EQ(dialogs.alerts.size(), 1U);
    EXPECT_EQ(dialogs.alerts[0].text, Localized("ResetMassege"));
    // The confirming button says what it does, and Enter cancels.
    EXPECT_EQ(dialogs.alerts[0].acceptButton, texts::ResetConfirmButton());
    EXPECT_EQ(dialogs.alerts[0].rejectButton, Localized("CancelButton"));
    EXPECT_TRUE(dialogs.alerts[0].rejectIsDefault);

    dialogs.AnswerAlert(1);
    Find<QPushButton>("resetButton")->click();
    EXPECT_EQ(Since(mark), (QStringList{kOpen, "set 1 6", kClose}));
}

TEST_F(ControllerTest, UserSelectionIsForwarded) {
    const qsizetype mark = log.entries.size();
    emit Find<QComboBox>("networkSetSettingsComb")->activated(1);
    EXPECT_EQ(Since(mark), QStringList{"selection networkSetSettingsComb"});
}

TEST_F(ControllerTest, AboutItemOpensTheAboutPanel) {
    auto* about = Find<QAction>("aboutAction");
    EXPECT_EQ(about->menuRole(), QAction::AboutRole);
    about->trigger();
    ASSERT_EQ(dialogs.aboutPanels.size(), 1U);
    const platform::AboutPanel& shown = dialogs.aboutPanels[0];
    EXPECT_EQ(shown.name, Localized("MainWindowTitle"));
    EXPECT_EQ(shown.version, texts::AboutVersion(LM360R_VERSION));
    EXPECT_TRUE(shown.licence.contains("MIT"));
    EXPECT_EQ(shown.website, "https://github.com/lm360r/lm360r-settings");
    EXPECT_TRUE(
        platform::AboutPanelText(shown).contains("<a href=\"https://github.com/lm360r/lm360r-settings\">"));
}

TEST_F(ControllerTest, ListsHoldExactlyTheirEntriesAlsoAfterASecondRun) {
    for (int run = 0; run < 2; ++run) {
        controller.setControlsTitle();
        EXPECT_EQ(Items("powerOnSettingsComb"),
                  (QStringList{Localized("PowerON_OFF"), Localized("PowerON_ON")}));
        EXPECT_EQ(Items("autoPowerOffSettingsComb"), (QStringList{"0", "10", "20", "30", "40", "50", "60"}));
        EXPECT_EQ(Items("networkSetSettingsComb"),
                  (QStringList{Localized("NetworkSet1_1"), Localized("NetworkSet1_2"),
                               Localized("NetworkSet1_3")}));
        EXPECT_EQ(
            Items("infoPrintSettingsComb"),
            (QStringList{Localized("InfoPrint_1"), Localized("InfoPrint_2"), Localized("InfoPrint_3")}));
        EXPECT_EQ(Items("commandSettingsComb"), QStringList());
        EXPECT_TRUE(Find<QGroupBox>("commandBox")->isHidden());
        EXPECT_EQ(controller.window()->windowTitle(), Localized("MainWindowTitle"));
    }
}

TEST_F(ControllerTest, FieldsAndListsHaveDistinctAccessibleNames) {
    QStringList names;
    for (const char* prefix : {"powerOn", "autoPowerOff", "networkSet", "infoPrint"}) {
        const QString p = QString::fromLatin1(prefix);
        const auto* field = controller.window()->findChild<QLineEdit*>(p + "CurrentValue");
        const auto* list = controller.window()->findChild<QComboBox*>(p + "SettingsComb");
        ASSERT_NE(field, nullptr);
        ASSERT_NE(list, nullptr);
        names << field->accessibleName() << list->accessibleName();
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 8);
    EXPECT_FALSE(names.contains(QString()));
}

// Each way out ends the event loop and lets go of the settings object.
struct QuitCase {
    const char* name;
    std::function<void(Vexo_MainController&)> leave;
};

class QuitTest : public ControllerTest, public testing::WithParamInterface<QuitCase> {};

TEST_P(QuitTest, EndsTheApplication) {
    QApplication::setQuitOnLastWindowClosed(false); // the controller's own doing is under test
    controller.applicationDidFinishLaunching();
    QTimer::singleShot(0, &controller, [this] { GetParam().leave(controller); });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    deadline.start(10000);

    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(log.exchangeAlive);
    QApplication::setQuitOnLastWindowClosed(true);
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, QuitTest,
    testing::Values(QuitCase{"WindowClosed", [](Vexo_MainController& c) { c.window()->close(); }},
                    QuitCase{"ExitButton",
                             [](Vexo_MainController& c) {
                                 c.window()->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
                             }},
                    QuitCase{"QuitMenuItem",
                             [](Vexo_MainController& c) {
                                 for (QAction* action : c.window()->findChildren<QAction*>()) {
                                     if (action->menuRole() == QAction::QuitRole) {
                                         action->trigger();
                                     }
                                 }
                             }}),
    [](const auto& instance) { return std::string(instance.param.name); });

struct PrinterNameCase {
    QStringList arguments;
    bool matches;
};

class PrinterNameTest : public testing::TestWithParam<PrinterNameCase> {};

TEST_P(PrinterNameTest, OnlyTheExactNameMatches) {
    std::optional<QString> name = QStringLiteral("left over");
    EXPECT_EQ(Vexo_MainController::isPrinterName(GetParam().arguments, name), GetParam().matches);
    if (GetParam().matches) {
        EXPECT_EQ(name, QStringLiteral("Tamblor LM-360R"));
    } else {
        EXPECT_FALSE(name.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, PrinterNameTest,
                         testing::Values(PrinterNameCase{{"/usr/bin/lm360r-settings"}, false},
                                         PrinterNameCase{{"prog", "Tamblor LM-360R"}, true},
                                         PrinterNameCase{{"prog", "Tamblor LM-360R", "more"}, true},
                                         PrinterNameCase{{"prog", "tamblor LM-360R"}, false},
                                         PrinterNameCase{{"prog", "Tamblor  LM-360R"}, false},
                                         PrinterNameCase{{"prog", "Tamblor LM-360R "}, false},
                                         PrinterNameCase{{"prog", ""}, false},
                                         PrinterNameCase{{"prog", "LM-360R", "Tamblor LM-360R"}, false}));

} // namespace
