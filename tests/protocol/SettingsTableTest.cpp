// Every row of the settings table, every choice of it, through everything that derives from the row:
// the list's value line, the frames and their recognition, the command file and its check, what the
// window shows and the command line's words. A row that contradicts itself fails here, whichever row
// it is, so a new setting is checked as soon as it is added.
#include "protocol/SettingsTable.h"

#include "protocol/CommandFile.h"
#include "protocol/CommandFileReader.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace protocol {
namespace {

std::string Trace(const SettingRow& setting, std::size_t position) {
    return std::string(setting.key) + " choice " + std::to_string(position);
}

TEST(SettingsTable, KindsNamesAndOutletsAreDistinctAndFindTheirRow) {
    std::set<SettingKind> kinds;
    std::set<std::string_view> keys;
    std::set<std::string_view> outlets;
    for (const SettingRow& setting : Settings()) {
        EXPECT_TRUE(kinds.insert(setting.kind).second) << setting.key;
        EXPECT_TRUE(keys.insert(setting.key).second) << setting.key;
        EXPECT_TRUE(outlets.insert(setting.outlet).second) << setting.key;
        EXPECT_EQ(SettingOf(setting.kind), &setting);
        EXPECT_EQ(SettingNamed(setting.key), &setting);
        EXPECT_NE(setting.kind, kReset) << "the reset is written only";
        EXPECT_FALSE(setting.titleKey.empty()) << setting.key;
        EXPECT_FALSE(setting.helpKey.empty()) << setting.key;
    }
    EXPECT_EQ(SettingNamed("reset"), nullptr);
    EXPECT_EQ(SettingOf(kReset), nullptr);
}

TEST(SettingsTable, EveryChoiceThroughFramesFilesWordsAndWhatTheWindowShows) {
    for (const SettingRow& setting : Settings()) {
        ASSERT_LE(setting.listed, setting.choices.size()) << setting.key;
        if (setting.Offered()) {
            ASSERT_LT(static_cast<std::size_t>(setting.firstChoice), setting.listed) << setting.key;
        }
        std::set<std::uint8_t> bytes;
        for (std::size_t position = 0; position < setting.choices.size(); ++position) {
            const SettingChoice& choice = setting.choices[position];
            const bool listed = position < setting.listed;
            SCOPED_TRACE(Trace(setting, position));
            EXPECT_TRUE(bytes.insert(choice.byte).second) << "two choices with one byte";
            const int index = static_cast<int>(position);

            // The list's entry writes its own byte, on the setting's value line.
            if (listed) {
                EXPECT_EQ(ValueByte(ValueForIndex(setting.kind, index)), choice.byte);
                EXPECT_EQ(IndexForWord(setting.kind, choice.word), index) << "set takes the word get prints";
            }
            // What the printer answers shows the choice's text and selects its entry.
            const ValueDisplay shown = DisplayForValue(setting.kind, ReplyValue(choice.byte));
            EXPECT_EQ(shown.display.index, index);
            EXPECT_EQ(shown.display.text.sort, choice.text.sort);
            EXPECT_EQ(shown.display.text.text, choice.text.text);
            if (!choice.word.empty()) {
                EXPECT_EQ(WordForValue(setting.kind, ReplyValue(choice.byte)), choice.word);
            }

            // Its frames are recognised as themselves.
            const ReadRequest read = *ReadRequestFor(setting.kind);
            const auto readFrame = RecognizeFrame(read.frame);
            ASSERT_TRUE(readFrame);
            EXPECT_EQ(readFrame->type, FrameType::Read);
            EXPECT_EQ(readFrame->kind, setting.kind);
            EXPECT_LT(read.valuePosition, read.replyLength);
            const std::uint8_t written = WrittenByte(setting, static_cast<std::int16_t>(choice.byte), false);
            const auto writeFrame = RecognizeFrame(*WriteFrameFor(setting.kind, written));
            ASSERT_TRUE(writeFrame);
            EXPECT_EQ(writeFrame->type, FrameType::Write);
            EXPECT_EQ(writeFrame->kind, setting.kind);
            EXPECT_EQ(writeFrame->value, setting.fixedWrite ? setting.fixedValue : choice.byte);

            // The command file of its tab carries it, and the file checks.
            if (!listed) {
                continue;
            }
            const CommandGroup group = setting.tab == SettingTab::Power ? kPowerGroup : kPrintGroup;
            const CommandFileCheck check = CheckCommandFile(BuildCommandFile(group, {{setting.kind, index}}));
            ASSERT_FALSE(check.fault) << check.fault->reason;
            const auto carried =
                std::find_if(check.settings.begin(), check.settings.end(),
                             [&](const CarriedSetting& c) { return c.kind == setting.kind; });
            ASSERT_NE(carried, check.settings.end());
            EXPECT_EQ(carried->value, choice.byte);
        }
    }
}

// A tab's command file carries exactly the tab's settings, in table order.
TEST(SettingsTable, EachGroupCarriesItsTabsSettingsInTableOrder) {
    for (const CommandGroup group : {kPowerGroup, kPrintGroup}) {
        std::vector<SettingKind> expected;
        for (const SettingRow& setting : Settings()) {
            if (setting.tab == TabOfGroup(group)) {
                expected.push_back(setting.kind);
            }
        }
        std::vector<SettingKind> carried;
        for (const CarriedSetting& c : CheckCommandFile(BuildCommandFile(group, {})).settings) {
            carried.push_back(c.kind);
        }
        EXPECT_EQ(carried, expected) << "group " << group;
    }
}

} // namespace
} // namespace protocol
