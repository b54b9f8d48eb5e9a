#include "app/Vexo_Progress.h"

#include "platform/core/Localized.h"
#include "tests/app/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QObject>
#include <QProgressBar>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Records the bar's position each time the bar is actually painted.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QProgressBar* bar) : bar_(bar) { bar_->installEventFilter(this); }
    ~PaintRecorder() override { bar_->removeEventFilter(this); }
    PaintRecorder(const PaintRecorder&) = delete;
    PaintRecorder& operator=(const PaintRecorder&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == bar_ && event->type() == QEvent::Paint) {
            painted.push_back(bar_->value());
        }
        return false;
    }

    std::vector<int> painted;

  private:
    QProgressBar* bar_;
};

class ProgressPanelTest : public testing::Test {
  protected:
    void TearDown() override { panel.closePanel(); }

    Vexo_Progress& panel = Vexo_Progress::sharedVexo_Progress();
};

TEST_F(ProgressPanelTest, SharedPanelIsCreatedOnce) {
    Vexo_Progress& again = Vexo_Progress::sharedVexo_Progress();
    EXPECT_EQ(&again, &panel);
    EXPECT_EQ(again.progressWindow(), panel.progressWindow());
    ASSERT_NE(panel.progressMessage(), nullptr);
    ASSERT_NE(panel.progressBar(), nullptr);
    EXPECT_EQ(panel.progressBar()->minimum(), 0);
    EXPECT_EQ(panel.progressBar()->maximum(), 100);
}

TEST_F(ProgressPanelTest, OpenShowsLocalizedTextsOrNothingForNullKeys) {
    panel.openPanel("ProgressbarWindowMessage", "ProgressWindowTitle");
    EXPECT_TRUE(panel.progressWindow()->isVisible());
    EXPECT_EQ(panel.progressMessage()->text(), platform::Localized("ProgressbarWindowMessage"));
    EXPECT_EQ(panel.progressWindow()->windowTitle(), platform::Localized("ProgressWindowTitle"));

    panel.openPanel(std::nullopt, std::nullopt);
    EXPECT_TRUE(panel.progressWindow()->isVisible());
    EXPECT_EQ(panel.progressMessage()->text(), QString());
    EXPECT_EQ(panel.progressWindow()->windowTitle(), QString());
}

TEST_F(ProgressPanelTest, EveryPositionIsPaintedBeforeTheCallReturns) {
    panel.setProgressBarValue(100);
    panel.openPanel("ProgressbarWindowMessage", "ProgressWindowTitle");
    EXPECT_EQ(panel.progressBar()->value(), 10) << "each opening starts at 10, also after a full bar";

    PaintRecorder recorder(panel.progressBar());
    for (const int position : {20, 50, 80, 100, 20}) {
        panel.setProgressBarValue(position);
        ASSERT_FALSE(recorder.painted.empty()) << position;
        EXPECT_EQ(recorder.painted.back(), position);
        recorder.painted.clear();
    }
}

TEST_F(ProgressPanelTest, HiddenPanelMovesItsBarWithoutShowing) {
    panel.closePanel();
    PaintRecorder recorder(panel.progressBar());
    panel.setProgressBarValue(20);
    panel.setProgressBarValue(100);
    EXPECT_EQ(panel.progressBar()->value(), 100);
    EXPECT_FALSE(panel.progressWindow()->isVisible());
    EXPECT_TRUE(recorder.painted.empty());

    panel.closePanel(); // closing twice changes nothing
    EXPECT_FALSE(panel.progressWindow()->isVisible());
    panel.openPanel("ProgressbarWindowMessage", std::nullopt);
    EXPECT_TRUE(panel.progressWindow()->isVisible());
    EXPECT_EQ(panel.progressWindow()->windowTitle(), QString());
}

TEST_F(ProgressPanelTest, PositionsOutsideTheScaleAreHeldToIt) {
    struct Case {
        double given;
        int shown;
    };
    const Case cases[] = {{-5, 0}, {0, 0}, {49.6, 50}, {100, 100}, {250, 100}, {NAN, 100}};
    for (const Case& c : cases) {
        panel.setProgressBarValue(c.given);
        EXPECT_EQ(panel.progressBar()->value(), c.shown) << c.given;
    }
}

// An alert raised while the panel stands is not left with an idle panel behind it; other windows
// leave the panel standing.
TEST_F(ProgressPanelTest, MakesWayForAnAlertOnly) {
    panel.openPanel("ProgressbarWindowMessage", "ProgressWindowTitle");
    QWidget other;
    other.show();
    EXPECT_TRUE(panel.progressWindow()->isVisible()) << "a window that is not modal";

    QMessageBox alert;
    alert.setText(QStringLiteral("The printer did not answer."));
    bool panelBehindAlert = true;
    const testsupport::ModalDriver driver(&alert, [&](QDialog& shown) {
        panelBehindAlert = panel.progressWindow()->isVisible();
        shown.accept();
    });
    alert.exec();
    EXPECT_TRUE(driver.Acted());
    EXPECT_FALSE(panelBehindAlert);
}

// A window system that activates the panel once it is hidden (it mapped it late) does not leave
// the keyboard with it: the window the panel stood in front of gets it back.
TEST_F(ProgressPanelTest, ALateActivationOfTheHiddenPanelGoesBack) {
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    panel.openPanel("ProgressbarWindowMessage", "ProgressWindowTitle");
    panel.closePanel();

    QWidget elsewhere; // the window system's focus has moved on
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    QEvent activated(QEvent::WindowActivate); // as the window system delivers it
    QApplication::sendEvent(panel.progressWindow(), &activated);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }, 2000));
}

} // namespace
