#pragma once

#include <cstdint>

namespace platform {

// A 60-per-second tick counter (wraps around like a 32-bit counter).
std::uint32_t TickCount();

// Sleeps until the tick counter next changes; never spins.
void SleepUntilNextTick();

} // namespace platform
