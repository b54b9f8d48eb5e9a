#pragma once

// Private to the libusb backend.

#include <chrono>
#include <csignal>
#include <ctime>

namespace platform::libusb {

// Bounds one blocking system call of the calling thread that has no time-out of its own (a write to
// usblp's node waits for the printer as long as it takes): while it lives, a timer interrupts the
// thread once `bound` has passed, and the call returns EINTR. The timer's signal is one of the
// real-time signals no one else handles; its handler does nothing, so it only interrupts.
class CallBound {
  public:
    explicit CallBound(std::chrono::milliseconds bound);
    ~CallBound();
    CallBound(const CallBound&) = delete;
    CallBound& operator=(const CallBound&) = delete;

    // False when no timer could be set (no free signal, no timer left): the call would not be bounded.
    bool Armed() const { return armed_; }
    // The bound has passed: a call that returned EINTR was interrupted by it.
    bool Expired() const;

  private:
    timer_t timer_{};
    sigset_t previousMask_{};
    bool armed_ = false;
};

} // namespace platform::libusb
