#include "protocol/SettingValues.h"

#include <gtest/gtest.h>
#include <string>

namespace protocol {
namespace {

std::string Describe(const SettingText& t) {
    switch (t.sort) {
    case TextSort::Key:
        return "key:" + std::string(t.text);
    case TextSort::Verbatim:
        return "text:" + std::string(t.text);
    case TextSort::Empty:
        return "empty";
    }
    return "?";
}

TEST(ListItemsTest, ListsInTheirFixedOrder) {
    auto items = [](SettingKind kind) {
        std::vector<std::string> out;
        for (const SettingChoice& choice : SettingOf(kind)->List()) {
            out.push_back(Describe(choice.text));
        }
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(items(kPowerOn), (V{"key:PowerON_OFF", "key:PowerON_ON"}));
    EXPECT_EQ(items(kAutoPowerOff),
              (V{"text:0", "text:10", "text:20", "text:30", "text:40", "text:50", "text:60"}));
    EXPECT_EQ(items(kNetwork), (V{"key:NetworkSet1_1", "key:NetworkSet1_2", "key:NetworkSet1_3"}));
    EXPECT_EQ(items(kInfoPrint), (V{"key:InfoPrint_1", "key:InfoPrint_2", "key:InfoPrint_3"}));
    EXPECT_TRUE(items(kCommandMode).empty());
}

TEST(ListItemsTest, InitialSelections) {
    EXPECT_EQ(SettingOf(kPowerOn)->firstChoice, 0);
    EXPECT_EQ(SettingOf(kAutoPowerOff)->firstChoice, 6);
    EXPECT_EQ(SettingOf(kNetwork)->firstChoice, 2);
    EXPECT_EQ(SettingOf(kInfoPrint)->firstChoice, 0);
    EXPECT_EQ(SettingOf(kCommandMode)->firstChoice, 0);
}

TEST(ValueForIndexTest, InfoPrintRunsBackwards) {
    EXPECT_EQ(ValueForIndex(kInfoPrint, 0), 3);
    EXPECT_EQ(ValueForIndex(kInfoPrint, 1), 2);
    EXPECT_EQ(ValueForIndex(kInfoPrint, 2), 1);
    EXPECT_EQ(ValueByte(ValueForIndex(kInfoPrint, -1)), 0x04);
    EXPECT_EQ(ValueByte(ValueForIndex(kPowerOn, -1)), 0xFF);
}

TEST(ReplyValueTest, HighBytesAreNegative) {
    EXPECT_EQ(ReplyValue(0x00), 0);
    EXPECT_EQ(ReplyValue(0x7F), 127);
    EXPECT_EQ(ReplyValue(0x80), -128);
    EXPECT_EQ(ReplyValue(0xFF), -1);
}

struct DisplayCase {
    SettingKind kind;
    int value;
    std::string text;
    int index;
};

class DisplayForValueTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayForValueTest, TextAndSelection) {
    const DisplayCase& c = GetParam();
    const ValueDisplay shown = DisplayForValue(c.kind, c.value);
    ASSERT_TRUE(shown.shown);
    EXPECT_EQ(Describe(shown.display.text), c.text);
    EXPECT_EQ(shown.display.index, c.index);
}

INSTANTIATE_TEST_SUITE_P(
    OutOfListValues, DisplayForValueTest,
    testing::Values(
        DisplayCase{kPowerOn, 2, "text:OFF", 2}, DisplayCase{kPowerOn, -1, "text:OFF", -1},
        DisplayCase{kAutoPowerOff, 7, "text:60", 7}, DisplayCase{kAutoPowerOff, -1, "text:60", -1},
        DisplayCase{kAutoPowerOff, 3, "text:30", 3}, DisplayCase{kNetwork, 5, "empty", 5},
        DisplayCase{kInfoPrint, 0, "key:InfoPrint_4", 3}, DisplayCase{kInfoPrint, 1, "key:InfoPrint_3", 2},
        DisplayCase{kInfoPrint, 3, "key:InfoPrint_1", 0}, DisplayCase{kInfoPrint, 9, "key:InfoPrint_1", -6},
        DisplayCase{kInfoPrint, -128, "key:InfoPrint_1", 131},
        DisplayCase{kCommandMode, 0, "key:Command_1", 0}, DisplayCase{kCommandMode, 1, "key:Command_2", 1},
        DisplayCase{kCommandMode, 3, "key:Command_3", 2}, DisplayCase{kCommandMode, 2, "empty", 2}));

TEST(DisplayForValueTest, OtherKindsShowNothing) {
    for (SettingKind kind : {0, kReset, 7}) {
        EXPECT_FALSE(DisplayForValue(kind, 0).shown) << kind;
    }
}

} // namespace
} // namespace protocol
