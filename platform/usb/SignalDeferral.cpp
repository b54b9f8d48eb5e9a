#include "platform/usb/SignalDeferral.h"

#include <array>
#include <csignal>
#include <mutex>

namespace platform {
namespace {

constexpr std::array<int, 3> kDeferred{SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;
std::mutex guard;
int alive = 0;
std::array<struct sigaction, kDeferred.size()> previous{};
std::array<bool, kDeferred.size()> installed{};

extern "C" void Remember(int signal) {
    caught = signal;
}

} // namespace

SignalDeferral::SignalDeferral() {
    const std::lock_guard lock(guard);
    if (alive++ > 0) {
        return;
    }
    caught = 0;
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
        signal = caught;
        caught = 0;
    }
    if (signal != 0) {
        std::raise(signal);
    }
}

bool SignalDeferral::Pending() {
    return caught != 0;
}

} // namespace platform
