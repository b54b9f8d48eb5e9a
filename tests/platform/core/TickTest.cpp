#include "platform/core/Tick.h"

#include <gtest/gtest.h>

namespace {

TEST(Tick, SleepEndsOnTheNextTick) {
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t before = platform::TickCount();
        platform::SleepUntilNextTick();
        const std::uint32_t after = platform::TickCount();
        EXPECT_NE(after, before);
        EXPECT_LT(after - before, 60u) << "a pause must not last anywhere near a second";
    }
}

} // namespace
