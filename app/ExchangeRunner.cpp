#include "app/ExchangeRunner.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <atomic>
#include <thread>

namespace {

// Swallows user input while installed on the application.
class InputSwallower : public QObject {
  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return event->isInputEvent(); }
};

// Clicks and keys held back while the worker ran were aimed at a window that has changed since (a
// value shown, an alert raised); replayed, they would start exchanges nobody asked for.
void DiscardHeldBackInput() {
    InputSwallower swallower;
    QCoreApplication::instance()->installEventFilter(&swallower);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&swallower);
}

} // namespace

class ExchangeRunner::ForwardingProgress final : public ProgressIndicator {
  public:
    ForwardingProgress(QObject* guiContext, ProgressIndicator* target)
        : guiContext_(guiContext), target_(target) {}
    void setProgressBarValue(double value) override {
        ProgressIndicator* target = target_;
        QMetaObject::invokeMethod(
            guiContext_, [target, value] { target->setProgressBarValue(value); }, Qt::QueuedConnection);
    }
    ProgressIndicator* target() const { return target_; }

  private:
    QObject* guiContext_;
    ProgressIndicator* target_;
};

ExchangeRunner::ExchangeRunner() : guiContext_(std::make_unique<QObject>()) {}

ExchangeRunner::~ExchangeRunner() = default;

ProgressIndicator* ExchangeRunner::Forwarding(ProgressIndicator* target) {
    if (target == nullptr) {
        return nullptr;
    }
    if (!forwarding_ || forwarding_->target() != target) {
        forwarding_ = std::make_unique<ForwardingProgress>(guiContext_.get(), target);
    }
    return forwarding_.get();
}

void ExchangeRunner::RunOnWorker(const std::function<void()>& work) {
    busy_ = true;
    std::atomic<bool> done{false};
    QObject* context = guiContext_.get();
    std::thread worker([&work, &done, context] {
        work();
        done = true;
        // Wakes the waiting loop below.
        QMetaObject::invokeMethod(
            context, [] {}, Qt::QueuedConnection);
    });
    // Not a QEventLoop::exec(): quitting the application ends every running exec(), but the work
    // must still be waited for. The worker's USB calls are bounded, so this ends.
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // The last progress values may still be queued.
    QCoreApplication::sendPostedEvents(context, QEvent::MetaCall);
    DiscardHeldBackInput();
    busy_ = false;
}
