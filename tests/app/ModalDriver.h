#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace testsupport {

// Acts on `dialog` once it shows, from a timer that keeps running inside the dialog's modal loop.
// Should the dialog not show, or stay open after `act`, it is rejected at the deadline so that a
// test can never hang; `TimedOut()` then says so.
class ModalDriver {
  public:
    ModalDriver(QDialog* dialog, std::function<void(QDialog&)> act, int deadlineMs = 10000)
        : dialog_(dialog), act_(std::move(act)), deadlineMs_(deadlineMs) {
        clock_.start();
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    bool Acted() const { return acted_; }
    bool TimedOut() const { return timedOut_; }

  private:
    void Poll() {
        if (!acted_ && dialog_->isVisible()) {
            acted_ = true;
            act_(*dialog_);
            return;
        }
        if (acted_ && !dialog_->isVisible()) {
            timer_.stop();
            return;
        }
        if (clock_.elapsed() > deadlineMs_) {
            timedOut_ = true;
            timer_.stop();
            dialog_->reject();
        }
    }

    QDialog* dialog_;
    std::function<void(QDialog&)> act_;
    int deadlineMs_;
    QElapsedTimer clock_;
    QTimer timer_;
    bool acted_ = false;
    bool timedOut_ = false;
};

} // namespace testsupport
