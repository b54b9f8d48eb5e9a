#include "app/Vexo_PrinterSelect.h"

#include "platform/core/Localized.h"
#include "tests/app/ModalDriver.h"
#include "tests/app/PrintQString.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

using platform::InstalledPrinters;
using platform::Localized;
using testsupport::ModalDriver;
using testsupport::ScriptedDialogs;

const InstalledPrinters kTwoTargetQueues{{"labels-front", "office-laser", "labels-back"},
                                         {"Tamblor LM-360R", "Corvel Laser 2", "TAMBLOR LM-360R Series"}};

// Counts how often the dialog window appears.
class ShowCounter : public QObject {
  public:
    explicit ShowCounter(QWidget* watched) { watched->installEventFilter(this); }
    int shows = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
        }
        return QObject::eventFilter(watched, event);
    }
};

class PrinterSelectTest : public testing::Test {
  protected:
    // The printer list the next openPrinterSelect() finds.
    InstalledPrinters installed;
    int quits = 0;
    ScriptedDialogs dialogs;
    Vexo_PrinterSelect select{[this] { return installed; }, [this] { ++quits; }};
    ShowCounter shown{select.printerSelectWindow};

    QStringList PopupEntries() const {
        QStringList entries;
        for (int i = 0; i < select.popup->count(); ++i) {
            entries << select.popup->itemText(i);
        }
        return entries;
    }
};

TEST_F(PrinterSelectTest, WithoutATargetQueueAlertsAndQuitsWithoutShowingTheDialog) {
    for (const InstalledPrinters& list :
         {InstalledPrinters{}, InstalledPrinters{{"office-laser", "short"}, {"Corvel Laser 2", "Tamblor"}}}) {
        SCOPED_TRACE(list.names.join(QLatin1Char(',')).toStdString());
        installed = list;
        const int alertsBefore = static_cast<int>(dialogs.alerts.size());
        const int quitsBefore = quits;
        bool quitBeforeAlertDismissed = false;
        dialogs.onAlert = [&](const ScriptedDialogs::Alert&) {
            quitBeforeAlertDismissed = quits != quitsBefore;
        };

        select.openPrinterSelect();

        ASSERT_EQ(static_cast<int>(dialogs.alerts.size()), alertsBefore + 1);
        const ScriptedDialogs::Alert& alert = dialogs.alerts.back();
        EXPECT_EQ(alert.text, Localized("Err_AppPrinterDirverNotInstalled"));
        EXPECT_EQ(alert.informativeText, QString());
        EXPECT_EQ(alert.acceptButton, Localized("OKButton"));
        EXPECT_EQ(alert.rejectButton, QString());
        EXPECT_FALSE(quitBeforeAlertDismissed);
        EXPECT_EQ(quits, quitsBefore + 1);
        EXPECT_EQ(select.selectPrinter(), std::nullopt);
    }
    EXPECT_EQ(shown.shows, 0);
}

TEST_F(PrinterSelectTest, WithOneTargetQueueChoosesItWithoutAWindow) {
    installed = {{"office-laser", "labels"}, {"Corvel Laser 2", "Tamblor LM-360R"}};

    select.openPrinterSelect();

    EXPECT_EQ(select.selectPrinter(), QString("labels"));
    EXPECT_EQ(shown.shows, 0);
    EXPECT_TRUE(dialogs.alerts.empty());
    EXPECT_EQ(quits, 0);
}

TEST_F(PrinterSelectTest, WithSeveralShowsThemCentredWithTheFirstPreselected) {
    installed = kTwoTargetQueues;
    QStringList entries;
    int preselected = -1;
    QPoint centreOffset;
    ModalDriver driver(select.printerSelectWindow, [&](QDialog& window) {
        entries = PopupEntries();
        preselected = select.popup->currentIndex();
        const QRect screen = window.screen()->availableGeometry();
        centreOffset = window.frameGeometry().center() - screen.center();
        select.okButton->click();
    });

    select.openPrinterSelect();

    ASSERT_FALSE(driver.TimedOut());
    EXPECT_EQ(entries, QStringList({"labels-front", "labels-back"}));
    EXPECT_EQ(preselected, 0);
    EXPECT_LE(centreOffset.manhattanLength(), 4);
    EXPECT_EQ(select.printerSelectWindow->windowTitle(), Localized("MainWindowTitle"));
    EXPECT_EQ(select.okButton->text(), Localized("OKButton"));
    EXPECT_EQ(select.cancelButton->text(), Localized("CancelButton"));
    EXPECT_EQ(select.text->text(), Localized("PrinterSelectionText"));
    EXPECT_EQ(select.selectPrinter(), QString("labels-front"));
    EXPECT_FALSE(select.printerSelectWindow->isVisible());
    EXPECT_EQ(quits, 0);
}

// How the user leaves the dialog, and what is chosen afterwards (nullopt: nothing, and the
// application quits).
struct DialogAnswer {
    const char* what;
    std::function<void(Vexo_PrinterSelect&)> act;
    std::optional<QString> chosen;
};

class PrinterSelectAnswerTest : public PrinterSelectTest, public testing::WithParamInterface<DialogAnswer> {};

TEST_P(PrinterSelectAnswerTest, KeepsTheChoiceOrQuits) {
    installed = kTwoTargetQueues;
    ModalDriver driver(select.printerSelectWindow, [&](QDialog&) { GetParam().act(select); });

    select.openPrinterSelect();

    ASSERT_FALSE(driver.TimedOut());
    EXPECT_EQ(select.selectPrinter(), GetParam().chosen);
    EXPECT_EQ(quits, GetParam().chosen ? 0 : 1);
    EXPECT_FALSE(select.printerSelectWindow->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PrinterSelectAnswerTest,
    testing::Values(
        DialogAnswer{"Ok", [](Vexo_PrinterSelect& s) { s.okButton->click(); }, QString("labels-front")},
        DialogAnswer{"SecondThenOk",
                     [](Vexo_PrinterSelect& s) {
                         s.popup->setCurrentIndex(1);
                         s.okButton->click();
                     },
                     QString("labels-back")},
        DialogAnswer{"ReturnKey",
                     [](Vexo_PrinterSelect& s) { QTest::keyClick(s.printerSelectWindow, Qt::Key_Return); },
                     QString("labels-front")},
        DialogAnswer{"Cancel", [](Vexo_PrinterSelect& s) { s.cancelButton->click(); }, std::nullopt},
        DialogAnswer{"Escape",
                     [](Vexo_PrinterSelect& s) { QTest::keyClick(s.printerSelectWindow, Qt::Key_Escape); },
                     std::nullopt},
        DialogAnswer{"WindowClosed", [](Vexo_PrinterSelect& s) { s.printerSelectWindow->close(); },
                     std::nullopt}),
    [](const testing::TestParamInfo<DialogAnswer>& param) { return std::string(param.param.what); });

TEST_F(PrinterSelectTest, ActionsFromOtherControlsAreIgnored) {
    installed = {{"labels"}, {"Tamblor LM-360R"}};
    select.openPrinterSelect();

    select.printerSelectActions(select.popup);
    select.printerSelectActions(nullptr);

    EXPECT_EQ(select.selectPrinter(), QString("labels"));
    EXPECT_EQ(quits, 0);
}

TEST_F(PrinterSelectTest, EveryOpenRefillsTheListFromTheCurrentQueues) {
    installed = kTwoTargetQueues;
    EXPECT_EQ(select.setControlTitle(), 2);
    installed = {{"new-a", "new-b", "new-c"}, {"Tamblor LM-360R", "Tamblor LM-360R", "Tamblor LM-360R"}};
    ModalDriver driver(select.printerSelectWindow, [&](QDialog&) { select.okButton->click(); });

    select.openPrinterSelect();

    EXPECT_EQ(PopupEntries(), QStringList({"new-a", "new-b", "new-c"}));
    EXPECT_EQ(select.selectPrinter(), QString("new-a"));
    installed = {};
    EXPECT_EQ(select.setControlTitle(), 0);
    EXPECT_EQ(select.popup->count(), 0);
    EXPECT_EQ(select.selectPrinter(), std::nullopt);
}

TEST(PrinterSelectQuitTest, QuittingBeforeTheEventLoopRunsEndsItOnceItStarts) {
    ScriptedDialogs dialogs;
    Vexo_PrinterSelect select([] { return InstalledPrinters{}; });
    select.openPrinterSelect();
    QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });

    EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST(PrinterSelectSharedTest, IsOneInstanceForTheProcess) {
    Vexo_PrinterSelect& first = Vexo_PrinterSelect::sharedVexo_PrinterSelect();
    EXPECT_EQ(&first, &Vexo_PrinterSelect::sharedVexo_PrinterSelect());
    EXPECT_EQ(first.selectPrinter(), std::nullopt);
    EXPECT_FALSE(first.printerSelectWindow->isVisible());
}

} // namespace
