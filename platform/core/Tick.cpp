#include "platform/core/Tick.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using TickDuration = std::chrono::duration<std::int64_t, std::ratio<1, 60>>;

std::int64_t TicksSinceEpoch(Clock::time_point when) {
    return std::chrono::floor<TickDuration>(when.time_since_epoch()).count();
}

} // namespace

std::uint32_t TickCount() {
    return static_cast<std::uint32_t>(TicksSinceEpoch(Clock::now()));
}

void SleepUntilNextTick() {
    const std::int64_t start = TicksSinceEpoch(Clock::now());
    const auto nextTick =
        Clock::time_point(std::chrono::duration_cast<Clock::duration>(TickDuration(start + 1)));
    // sleep_until may wake early on some systems; sleeping again costs nothing and never spins.
    while (Clock::now() < nextTick) {
        std::this_thread::sleep_until(nextTick);
    }
}

} // namespace platform
