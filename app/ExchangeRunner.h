#pragma once

#include "usb/ProgressIndicator.h"

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class QObject;

// Runs printer work on a worker thread while the GUI thread waits in a local event loop that paints,
// runs timers and takes window-system events, but holds back user input. So the caller sees a plain
// blocking call, in the same order as before, while the window stays painted; input that arrived
// meanwhile is dropped at the end rather than replayed against a window that has moved on.
//
// One piece of work at a time: a caller that may be re-entered from the waiting loop (a timer, a
// notification) must check busy() first. Widgets are never touched on the worker thread.
class ExchangeRunner {
  public:
    ExchangeRunner();
    ~ExchangeRunner();
    ExchangeRunner(const ExchangeRunner&) = delete;
    ExchangeRunner& operator=(const ExchangeRunner&) = delete;

    template <typename Work> auto Run(Work&& work) {
        std::optional<std::invoke_result_t<Work&>> result;
        RunOnWorker([&] { result.emplace(work()); });
        return std::move(*result);
    }

    bool busy() const { return busy_; }

    // A stand-in for `target` (may be null) that the worker can move: each value reaches `target` on
    // the GUI thread, all of them before Run returns.
    ProgressIndicator* Forwarding(ProgressIndicator* target);

  private:
    class ForwardingProgress;

    void RunOnWorker(const std::function<void()>& work);

    std::unique_ptr<QObject> guiContext_; // lives on the GUI thread; what the worker posts to
    std::unique_ptr<ForwardingProgress> forwarding_;
    bool busy_ = false;
};
