#include "protocol/CommandFileReader.h"

#include "protocol/CommandFile.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"
#include "tests/support/Selections.h"

#include <gtest/gtest.h>

namespace protocol {
namespace {

using Bytes = std::vector<std::uint8_t>;
using protocol::CommandSelections;

Bytes PowerFile() {
    return protocol::BuildCommandFile(protocol::kPowerGroup, Selections(0, 6, 2, 0));
}

// Every file the application or save-commands can write, each selection in turn.
TEST(CommandFileCheck, AcceptsEveryFileTheBuilderWrites) {
    for (int powerOn = -1; powerOn < 2; ++powerOn) {
        for (int minutes = -1; minutes < 7; ++minutes) {
            for (int network = -1; network < 3; ++network) {
                const CommandSelections s = Selections(powerOn, minutes, network, 0);
                const CommandFileCheck check =
                    CheckCommandFile(protocol::BuildCommandFile(protocol::kPowerGroup, s));
                ASSERT_FALSE(check.fault) << check.fault->reason;
                ASSERT_EQ(check.settings.size(), 3u);
                EXPECT_EQ(check.settings[0].kind, protocol::kPowerOn);
                EXPECT_EQ(check.settings[0].value,
                          protocol::ValueByte(protocol::ValueForIndex(protocol::kPowerOn, powerOn)));
                EXPECT_EQ(check.settings[1].value,
                          protocol::ValueByte(protocol::ValueForIndex(protocol::kAutoPowerOff, minutes)));
                EXPECT_EQ(check.settings[2].kind, protocol::kNetwork);
                EXPECT_EQ(check.settings[2].value,
                          protocol::ValueByte(protocol::ValueForIndex(protocol::kNetwork, network)));
                EXPECT_EQ(check.settings[2].offset, 32u);
            }
        }
    }
    for (int info = -1; info < 3; ++info) {
        const CommandFileCheck check =
            CheckCommandFile(protocol::BuildCommandFile(protocol::kPrintGroup, Selections(0, 0, 0, info)));
        ASSERT_FALSE(check.fault) << check.fault->reason;
        ASSERT_EQ(check.settings.size(), 2u);
        EXPECT_EQ(check.settings[0].kind, protocol::kInfoPrint);
        EXPECT_EQ(check.settings[0].value, static_cast<std::uint8_t>(3 - info));
        EXPECT_EQ(check.settings[1].kind, protocol::kCommandMode);
        EXPECT_EQ(check.settings[1].value, 1);
    }
}

// A file cut anywhere is refused: inside the fixed parts at the end of the file, after them at
// the length field, which no longer agrees.
TEST(CommandFileCheck, RefusesEveryTruncation) {
    const Bytes whole = PowerFile();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const CommandFileCheck check = CheckCommandFile(std::span(whole).first(size));
        ASSERT_TRUE(check.fault) << size;
        const std::size_t expected = size < 16 ? size : 8;
        EXPECT_EQ(check.fault->offset, expected) << "cut at " << size << ": " << check.fault->reason;
    }
}

struct AlteredCase {
    const char* name;
    std::size_t offset;      // byte changed
    std::uint8_t value;      // its new value
    std::size_t faultOffset; // where the first fault is reported
};

class AlteredFile : public testing::TestWithParam<AlteredCase> {};

TEST_P(AlteredFile, FirstFaultAt) {
    Bytes file = PowerFile();
    file[GetParam().offset] = GetParam().value;
    const CommandFileCheck check = CheckCommandFile(file);
    ASSERT_TRUE(check.fault);
    EXPECT_EQ(check.fault->offset, GetParam().faultOffset) << check.fault->reason;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, AlteredFile,
    testing::Values(AlteredCase{"Header", 2, 'u', 2}, AlteredCase{"Constant", 7, 0x01, 7},
                    AlteredCase{"LengthLow", 8, 0x17, 8}, AlteredCase{"LengthHigh", 15, 0x01, 8},
                    AlteredCase{"ModeFrame", 19, 0x00, 19},
                    // power-on write frame turned into its read request: a read is not a write
                    AlteredCase{"WriteBecomesRead", 24, 0x01, 20},
                    AlteredCase{"NetworkFramePrefix", 35, 'X', 32},
                    AlteredCase{"UnknownFamily", 26, 0x00, 26}),
    [](const testing::TestParamInfo<AlteredCase>& p) { return std::string(p.param.name); });

struct TailCase {
    const char* name;
    Bytes tail;              // appended after the power group's frames
    std::size_t faultOffset; // 40 is where the tail starts
};

class LengthenedFile : public testing::TestWithParam<TailCase> {};

TEST_P(LengthenedFile, RefusedWhetherOrNotTheLengthFieldAgrees) {
    Bytes file = PowerFile();
    file.insert(file.end(), GetParam().tail.begin(), GetParam().tail.end());
    const CommandFileCheck stale = CheckCommandFile(file);
    ASSERT_TRUE(stale.fault);
    EXPECT_EQ(stale.fault->offset, 8u) << stale.fault->reason;

    file[8] = static_cast<std::uint8_t>(file.size() - 16);
    const CommandFileCheck updated = CheckCommandFile(file);
    ASSERT_TRUE(updated.fault);
    EXPECT_EQ(updated.fault->offset, GetParam().faultOffset) << updated.fault->reason;
}

INSTANTIATE_TEST_SUITE_P(
    Tails, LengthenedFile,
    testing::Values(TailCase{"OneZero", {0x00}, 40},
                    TailCase{"Reset", protocol::ResetExchangeFrames().resetFrame, 40},
                    TailCase{"StatusRequest", protocol::StatusRequestFrame(), 40},
                    TailCase{"SecondModeFrame", protocol::ModeFrame(), 40},
                    TailCase{"WriteFrameWithoutItsValue", {0x1B, 'i', 'U', 'p', 0x00}, 40},
                    TailCase{"GoodFrameThenJunk", {0x1B, 'i', 'U', 'p', 0x00, 0x01, 0xFF}, 46}),
    [](const testing::TestParamInfo<TailCase>& p) { return std::string(p.param.name); });

TEST(CommandFileCheck, LengthFieldOverflowIsAFaultNotAWrap) {
    Bytes file = PowerFile();
    // 2^64 - 1 + 25 would wrap to the real length if it were added up in 64 bits.
    std::fill(file.begin() + 8, file.begin() + 16, 0xFF);
    const CommandFileCheck check = CheckCommandFile(file);
    ASSERT_TRUE(check.fault);
    EXPECT_EQ(check.fault->offset, 8u);
}

} // namespace
} // namespace protocol
