#pragma once

// Private to the libusb backend.

#include <chrono>

namespace platform::libusb {

// Bounds the blocking system calls of one thread that have no time-out of their own (a write to
// usblp's node waits for the printer as long as it takes): once armed, a timer interrupts the thread
// when the bound has passed, and the call under way returns EINTR. Arming again starts a new bound;
// the bound ends with its owner. The timer, one per thread, signals one of the real-time signals
// nobody else handles, with a handler that does nothing and restarts nothing, so it only interrupts;
// a later call it happens to interrupt is one that goes on after EINTR (a poll here).
class CallBound {
  public:
    CallBound() = default;
    ~CallBound();
    CallBound(const CallBound&) = delete;
    CallBound& operator=(const CallBound&) = delete;

    // False when no timer could be set (no free signal, no timer left): the call would not be bounded.
    bool Arm(std::chrono::milliseconds bound);
    // The bound has passed: a call that returned EINTR was interrupted by it.
    bool Expired() const;

  private:
    bool armed_ = false;
};

} // namespace platform::libusb
