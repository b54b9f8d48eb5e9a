#include "app/Vexo_Progress.h"

#include "platform/core/Localized.h"
#include "ui_Progress.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
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

Vexo_Progress::Vexo_Progress(ConstructionKey)
    : progressWindow_(std::make_unique<QDialog>()), closeGuard_(std::make_unique<CloseGuard>()) {
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
    progressWindow_->hide();
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
