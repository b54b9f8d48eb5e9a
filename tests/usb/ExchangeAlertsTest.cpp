#include "usb/ExchangeAlerts.h"

#include <gtest/gtest.h>

namespace {

using exchange::AlertKeyForRead;
using exchange::AlertKeyForWrite;
using exchange::kGetCommandErrorKey;
using exchange::kSetCommandErrorKey;

struct Classification {
    LinkResult result;
    std::optional<std::string_view> write;
    std::optional<std::string_view> read;
};

TEST(ExchangeAlertsTest, EachResultCallsForItsAlert) {
    const Classification table[] = {
        {kLinkOk, std::nullopt, std::nullopt},
        {kLinkNoPrinter, kSetCommandErrorKey, kGetCommandErrorKey},
        {kLinkOpenFailed, kSetCommandErrorKey, kGetCommandErrorKey},
        {kLinkReadFailed, kGetCommandErrorKey, kGetCommandErrorKey},
        // after a reset only the failed auto power-off read returns 4, and it has alerted already
        {kLinkWriteFailed, std::nullopt, kGetCommandErrorKey},
        {kLinkRequestWriteFailed, kGetCommandErrorKey, kGetCommandErrorKey},
        {kLinkCommandWriteFailed, kSetCommandErrorKey, kGetCommandErrorKey},
        {7, std::nullopt, kGetCommandErrorKey},
        {-1, std::nullopt, kGetCommandErrorKey},
    };
    for (const Classification& c : table) {
        EXPECT_EQ(AlertKeyForWrite(c.result), c.write) << "result " << c.result;
        EXPECT_EQ(AlertKeyForRead(c.result), c.read) << "result " << c.result;
    }
}

} // namespace
