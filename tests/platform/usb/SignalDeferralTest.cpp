#include "platform/usb/libusb/SignalDeferral.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using platform::SignalDeferral;

volatile std::sig_atomic_t delivered = 0;
extern "C" void Count(int) {
    delivered = delivered + 1;
}

// The program's own handler for a signal, put back when the test ends.
class OwnHandler {
  public:
    explicit OwnHandler(int signal) : signal_(signal) {
        delivered = 0;
        previous_ = std::signal(signal_, Count);
    }
    ~OwnHandler() { std::signal(signal_, previous_); }

  private:
    int signal_;
    void (*previous_)(int);
};

TEST(SignalDeferral, HoldsASignalUntilTheLastDeferralEnds) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        const OwnHandler handler(signal);
        {
            const SignalDeferral outer;
            {
                const SignalDeferral inner;
                std::raise(signal);
                EXPECT_TRUE(SignalDeferral::Pending());
            }
            EXPECT_EQ(delivered, 0) << "delivered while the printer is still held";
        }
        EXPECT_EQ(delivered, 1) << "signal " << signal;
        EXPECT_FALSE(SignalDeferral::Pending());
    }
}

TEST(SignalDeferral, AnIgnoredSignalStaysIgnored) {
    const auto previous = std::signal(SIGHUP, SIG_IGN);
    {
        const SignalDeferral deferral;
        std::raise(SIGHUP);
        EXPECT_FALSE(SignalDeferral::Pending());
    }
    EXPECT_EQ(std::signal(SIGHUP, previous), SIG_IGN);
}

TEST(SignalDeferralDeathTest, WithTheDefaultActionTheProcessEndsByTheSignalAfterCleanUp) {
    EXPECT_EXIT(
        {
            const SignalDeferral deferral;
            std::raise(SIGTERM);
            std::fputs("cleaned up\n", stderr);
        },
        ::testing::KilledBySignal(SIGTERM), "cleaned up");
}

} // namespace
