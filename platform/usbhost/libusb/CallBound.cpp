#include "platform/usbhost/libusb/CallBound.h"

#include <csignal>
#include <ctime>
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

// This thread's timer, made on its first bound and deleted when the thread ends; it signals only this
// thread, which lets the signal through.
class ThreadTimer {
  public:
    ThreadTimer() {
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
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signal);
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        made_ = true;
    }
    ~ThreadTimer() {
        if (made_) {
            timer_delete(timer_);
        }
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    bool Set(const itimerspec& when) { return made_ && timer_settime(timer_, 0, &when, nullptr) == 0; }
    bool Left(itimerspec& left) const { return made_ && timer_gettime(timer_, &left) == 0; }

  private:
    timer_t timer_{};
    bool made_ = false;
};

ThreadTimer& ThisThreadsTimer() {
    thread_local ThreadTimer timer;
    return timer;
}

} // namespace

bool CallBound::Arm(std::chrono::milliseconds bound) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(bound);
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(seconds.count());
    when.it_value.tv_nsec = static_cast<long>(std::chrono::nanoseconds(bound - seconds).count());
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) {
        when.it_value.tv_nsec = 1; // zero would disarm the timer
    }
    armed_ = ThisThreadsTimer().Set(when);
    return armed_;
}

CallBound::~CallBound() {
    // A timer that fired has been taken (its signal is not blocked in this thread) by the time this
    // runs, at the latest on the way back from this call: nothing is left to interrupt a later call.
    if (armed_) {
        ThisThreadsTimer().Set(itimerspec{});
    }
}

bool CallBound::Expired() const {
    itimerspec left{};
    return armed_ && ThisThreadsTimer().Left(left) && left.it_value.tv_sec == 0 && left.it_value.tv_nsec == 0;
}

} // namespace platform::libusb
