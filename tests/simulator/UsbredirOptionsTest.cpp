#include "simulator/usbredir/DeviceOptions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using simulator::usbredir::DeviceOptions;
using simulator::usbredir::kSilentForever;
using simulator::usbredir::ParseDeviceOptions;

simulator::usbredir::ParsedDeviceOptions Parse(std::vector<std::string> words) {
    words.insert(words.begin(), {"--socket=/tmp/s", "--state=/tmp/state"});
    std::vector<char*> arguments;
    for (std::string& word : words) {
        arguments.push_back(word.data());
    }
    return ParseDeviceOptions(arguments);
}

TEST(UsbredirDeviceOptions, FaultsAreReadAsGiven) {
    const auto parsed =
        Parse({"--silent", "--trickle=3", "--unplug-after=8", "--lifetime=30", "--record=/tmp/out.bin",
               "--stall-in", "--record-in=/tmp/in.bin", "--silent-while=/tmp/quiet"});
    ASSERT_TRUE(parsed.options) << parsed.problem;
    const DeviceOptions& options = *parsed.options;
    EXPECT_EQ(options.silentReplies, kSilentForever);
    EXPECT_EQ(options.trickleBytes, 3u);
    EXPECT_EQ(options.unplugAfterBytes, 8u);
    EXPECT_EQ(options.lifetime.count(), 30);
    EXPECT_EQ(options.recordFile, "/tmp/out.bin");
    EXPECT_EQ(options.inRecordFile, "/tmp/in.bin");
    EXPECT_EQ(options.silentWhileFile, "/tmp/quiet");
    EXPECT_TRUE(options.stallIn);
    EXPECT_FALSE(options.stallOut);
    EXPECT_EQ(Parse({"--silent=1"}).options->silentReplies, 1u);
    EXPECT_FALSE(Parse({}).options->silentReplies);
}

TEST(UsbredirDeviceOptions, MistakesAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> wrong{
        {"--trickle=three"}, {"--trickle="},  {"--unplug-after=-1"}, {"--lifetime"}, {"--stall-in=1"},
        {"--bogus"},         {"--silent=2x"}, {"--silent-while"},    {"--record-in"}};
    for (const auto& words : wrong) {
        const auto parsed = Parse(words);
        EXPECT_FALSE(parsed.options) << words.front();
        EXPECT_FALSE(parsed.problem.empty()) << words.front();
    }
    std::vector<char*> none;
    EXPECT_FALSE(ParseDeviceOptions(none).options) << "the socket and state file are required";
}

} // namespace
