#include "platform/usb/libusb/CallBound.h"

#include <csignal>
#include <mutex>
#include <unistd.h>

namespace platform::libusb {
namespace {

void Interrupt(int /*signal*/) {}

// The real-time signal the bounds use: the first one that nobody handles, given a handler that does
// nothing and restarts nothing. 0 when every one is taken.
int BoundSignal() {
    static int chosen = 0;
    static std::once_flag once;
    std::call_once(once, [] {
        for (int candidate = SIGRTMIN + 4; candidate <= SIGRTMAX; ++candidate) {
            struct sigaction current {};
            if (sigaction(candidate, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
                current.sa_handler != SIG_DFL) {
                continue;
            }
            struct sigaction interrupt {};
            interrupt.sa_handler = Interrupt;
            sigemptyset(&interrupt.sa_mask);
            interrupt.sa_flags = 0; // no SA_RESTART: the blocking call must return
            if (sigaction(candidate, &interrupt, nullptr) == 0) {
                chosen = candidate;
                return;
            }
        }
    });
    return chosen;
}

sigset_t Only(int signal) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    return set;
}

} // namespace

CallBound::CallBound(std::chrono::milliseconds bound) {
    const int signal = BoundSignal();
    if (signal == 0) {
        return;
    }
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = signal;
    event._sigev_un._tid = gettid(); // Debian 12's glibc has no sigev_notify_thread_id
    if (timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0) {
        return;
    }
    const sigset_t set = Only(signal);
    pthread_sigmask(SIG_UNBLOCK, &set, &previousMask_);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(bound);
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(seconds.count());
    when.it_value.tv_nsec = static_cast<long>(std::chrono::nanoseconds(bound - seconds).count());
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) {
        when.it_value.tv_nsec = 1; // zero would disarm the timer
    }
    if (timer_settime(timer_, 0, &when, nullptr) != 0) {
        timer_delete(timer_);
        pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
        return;
    }
    armed_ = true;
}

CallBound::~CallBound() {
    if (!armed_) {
        return;
    }
    // A signal of a timer that fired just after the call returned must not interrupt a later call of
    // this thread: it is taken here, with the signal held back while the timer goes.
    const sigset_t set = Only(BoundSignal());
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    timer_delete(timer_);
    const timespec now{};
    while (sigtimedwait(&set, nullptr, &now) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool CallBound::Expired() const {
    itimerspec left{};
    return armed_ && timer_gettime(timer_, &left) == 0 && left.it_value.tv_sec == 0 &&
           left.it_value.tv_nsec == 0;
}

} // namespace platform::libusb
