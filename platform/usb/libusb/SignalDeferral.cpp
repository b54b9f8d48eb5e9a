#include "platform/usb/libusb/SignalDeferral.h"

#include <array>
#include <atomic>
#include <csignal>
#include <mutex>

namespace platform {
namespace {

constexpr std::array<int, 4> kDeferred{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Set by the handler on whichever thread the signal lands, read by the thread that holds the printer.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
std::mutex guard;
int alive = 0;
std::array<struct sigaction, kDeferred.size()> previous{};
std::array<bool, kDeferred.size()> installed{};

extern "C" void Remember(int signal) {
    caught.store(signal);
}

} // namespace

SignalDeferral::SignalDeferral() {
    const std::lock_guard lock(guard);
    if (alive++ > 0) {
        return;
    }
    caught.store(0);
    for (std::size_t i = 0; i < kDeferred.size(); ++i) {
        installed[i] = false;
        if (sigaction(kDeferred[i], nullptr, &previous[i]) != 0 || previous[i].sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction deferring {};
        deferring.sa_handler = Remember;
        sigemptyset(&deferring.sa_mask);
        // No SA_RESTART: a blocking call returns early, and the slice loops notice sooner.
        installed[i] = sigaction(kDeferred[i], &deferring, nullptr) == 0;
    }
}

SignalDeferral::~SignalDeferral() {
    int signal = 0;
    {
        const std::lock_guard lock(guard);
        if (--alive > 0) {
            return;
        }
        for (std::size_t i = 0; i < kDeferred.size(); ++i) {
            if (installed[i]) {
                sigaction(kDeferred[i], &previous[i], nullptr);
            }
        }
        signal = caught.exchange(0);
    }
    if (signal != 0) {
        std::raise(signal);
    }
}

bool SignalDeferral::Pending() {
    return caught.load() != 0;
}

} // namespace platform
