#pragma once

#include "usb/ProgressIndicator.h"

#include <memory>
#include <optional>
#include <string_view>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

// The one progress panel of the process: a small window with a message line and a 0-100 bar,
// shown while the user waits for a printer exchange or a file write. It is application-modal while
// shown, and the user cannot close it: it goes when the work is done, or as soon as another modal
// window (an alert) appears, which would otherwise stand in front of an idle panel. Every change is
// painted before the call returns, so it is current even where the caller keeps the main thread busy.
class Vexo_Progress : public ProgressIndicator {
  public:
    // Created, with its window loaded, on first use; lives until the QApplication goes away.
    static Vexo_Progress& sharedVexo_Progress();

    ~Vexo_Progress() override;
    Vexo_Progress(const Vexo_Progress&) = delete;
    Vexo_Progress& operator=(const Vexo_Progress&) = delete;

    // Keys of the localized texts; a null key leaves that text empty. Shows the window in front,
    // centred, with the bar at 10 whatever the last use left it at.
    void openPanel(std::optional<std::string_view> messageKey, std::optional<std::string_view> titleKey);

    // Moves the bar (0-100, 100: done) without showing a hidden panel.
    void setProgressBarValue(double value) override;

    // Hides the window; the next openPanel shows the same one again.
    void closePanel();

    // The window's parts, for the code that lays out or inspects the panel.
    QDialog* progressWindow() const { return progressWindow_.get(); }
    QLabel* progressMessage() const { return progressMessage_; }
    QProgressBar* progressBar() const { return progressBar_; }

  private:
    // Only sharedVexo_Progress() can name this, so only it creates panels.
    struct ConstructionKey {
        explicit ConstructionKey() = default;
    };

  public:
    explicit Vexo_Progress(ConstructionKey);

  private:
    class CloseGuard;
    class ModalWatch;
    void PaintNow(QWidget* widget);

    std::unique_ptr<QDialog> progressWindow_;
    std::unique_ptr<CloseGuard> closeGuard_;
    std::unique_ptr<ModalWatch> modalWatch_;
    QLabel* progressMessage_ = nullptr;   // owned by the window
    QProgressBar* progressBar_ = nullptr; // owned by the window
};
