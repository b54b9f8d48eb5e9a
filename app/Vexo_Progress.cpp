#include "app/Vexo_Progress.h"

#include "platform/core/Localized.h"
#include "ui_Progress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kOpeningPosition = 10.0;

std::unique_ptr<Vexo_Progress>& SharedPanel() {
    static std::unique_ptr<Vexo_Progress> panel;
    return panel;
}

// Runs while the QApplication is torn down, when the widgets can still be deleted safely.
void DropSharedPanel() {
    SharedPanel().reset();
}

QString TextFor(std::optional<std::string_view> key) {
    return key ? platform::Localized(*key) : QString();
}

// The window system's pending work (exposing a newly shown window, repainting, relayout) without
// user input, timers or sockets: the caller is in the middle of an exchange and must not be
// re-entered by a click or a timer while the panel catches up.
void DeliverPendingPaints() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

} // namespace

Vexo_Progress& Vexo_Progress::sharedVexo_Progress() {
    std::unique_ptr<Vexo_Progress>& panel = SharedPanel();
    if (!panel) {
        panel = std::make_unique<Vexo_Progress>(ConstructionKey{});
        qAddPostRoutine(DropSharedPanel);
    }
    return *panel;
}

// Keeps the shown panel from being closed by its window's close button or by Escape.
class Vexo_Progress::CloseGuard : public QObject {
  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        }
        return false;
    }
};

// Keeps the panel from standing where it no longer belongs. Installed on the application while the
// panel shows, it hides the panel as soon as another modal window shows: an alert raised in the
// middle of the work the panel stands for; the work's steps stay in their order, only the panel,
// its message said, makes way. Installed on the panel for good, it gives the keyboard back to the
// window the panel stood in front of when the window system activates the panel after it was hidden
// (a window manager may map a panel shown only for a moment once it is gone); else the keyboard
// would be left with no visible window.
class Vexo_Progress::ModalWatch : public QObject {
  public:
    explicit ModalWatch(QDialog* panel) : panel_(panel) { panel_->installEventFilter(this); }

    // The window that was active before the panel showed.
    QPointer<QWidget> returnTo;

    void GiveBackKeyboard() const {
        // Never past an alert that stands now: it has the keyboard until it is answered.
        if (returnTo != nullptr && returnTo->isVisible() && !panel_->isVisible() &&
            QApplication::activeModalWidget() == nullptr) {
            returnTo->activateWindow();
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == panel_) {
            if (event->type() == QEvent::WindowActivate && !panel_->isVisible()) {
                GiveBackKeyboard();
            }
            return false;
        }
        if (event->type() == QEvent::Show && watched->isWidgetType() && panel_->isVisible()) {
            const auto* shown = static_cast<QWidget*>(watched);
            if (shown->isWindow() && shown->isModal()) {
                panel_->hide();
            }
        }
        return false;
    }

  private:
    QDialog* panel_;
};

Vexo_Progress::Vexo_Progress(ConstructionKey)
    : progressWindow_(std::make_unique<QDialog>()), closeGuard_(std::make_unique<CloseGuard>()),
      modalWatch_(std::make_unique<ModalWatch>(progressWindow_.get())) {
    Ui::Progress ui;
    ui.setupUi(progressWindow_.get());
    progressMessage_ = ui.progressMessage;
    progressBar_ = ui.progressBar;
    progressWindow_->setWindowModality(Qt::ApplicationModal);
    progressWindow_->installEventFilter(closeGuard_.get());
}

Vexo_Progress::~Vexo_Progress() = default;

void Vexo_Progress::openPanel(std::optional<std::string_view> messageKey,
                              std::optional<std::string_view> titleKey) {
    const QString message = TextFor(messageKey);
    progressMessage_->setText(message);
    progressBar_->setAccessibleName(message);
    progressWindow_->setWindowTitle(TextFor(titleKey));

    // Sized and centred before it shows, so it does not jump on screen.
    progressWindow_->adjustSize();
    if (const QScreen* screen = progressWindow_->screen()) {
        progressWindow_->setGeometry(QStyle::alignedRect(
            Qt::LeftToRight, Qt::AlignCenter, progressWindow_->size(), screen->availableGeometry()));
    }
    if (!progressWindow_->isVisible()) {
        modalWatch_->returnTo = QApplication::activeWindow();
    }
    QCoreApplication::instance()->installEventFilter(modalWatch_.get());
    progressWindow_->show();
    progressWindow_->raise();
    progressWindow_->activateWindow();
    PaintNow(progressWindow_.get());

    setProgressBarValue(kOpeningPosition);
}

void Vexo_Progress::setProgressBarValue(double value) {
    if (std::isnan(value)) {
        return;
    }
    const double clamped = std::clamp(value, 0.0, 100.0);
    progressBar_->setValue(static_cast<int>(std::lround(clamped)));
    PaintNow(progressBar_);
}

void Vexo_Progress::closePanel() {
    QCoreApplication::instance()->removeEventFilter(modalWatch_.get());
    progressWindow_->hide();
    modalWatch_->GiveBackKeyboard();
    DeliverPendingPaints();
}

void Vexo_Progress::PaintNow(QWidget* widget) {
    // A hidden panel is only updated, never shown: the reads at launch move the bar unseen.
    if (!progressWindow_->isVisible()) {
        return;
    }
    widget->repaint();
    DeliverPendingPaints();
}
