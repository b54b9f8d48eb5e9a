#include "app/ExchangeAlerts.h"

#include <gtest/gtest.h>

namespace {

using exchange::AlertKeyForRead;
using exchange::AlertKeyForReset;
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

// The reset's own alert comes after the one its confirming read raised for itself.
TEST(ExchangeAlertsTest, TheResetsAlertFollowsWhatFailed) {
    struct Case {
        LinkResult reset;
        std::optional<LinkResult> confirmation; // none: the reset did not get through
        std::optional<std::string_view> key;
    };
    const Case cases[] = {
        {kLinkOk, kLinkOk, std::nullopt},
        {kLinkNoPrinter, std::nullopt, kSetCommandErrorKey},
        {kLinkCommandWriteFailed, std::nullopt, kSetCommandErrorKey},
        {kLinkReadFailed, std::nullopt, kGetCommandErrorKey},
        {kLinkOk, kLinkOpenFailed, kSetCommandErrorKey},
        {kLinkOk, kLinkReadFailed, kGetCommandErrorKey},
        // the read's request could not be written: its own alert says so, nothing more
        {kLinkOk, kLinkRequestWriteFailed, std::nullopt},
    };
    for (const Case& c : cases) {
        ResetOutcome outcome;
        outcome.reset.result = c.reset;
        if (c.confirmation) {
            outcome.confirmation = ReadOutcome{*c.confirmation, 0, 0};
        }
        EXPECT_EQ(AlertKeyForReset(outcome), c.key) << c.reset << " then " << c.confirmation.value_or(-99);
    }
}

} // namespace
