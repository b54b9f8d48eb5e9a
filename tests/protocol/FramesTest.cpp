#include "protocol/Frames.h"

#include "protocol/SettingValues.h"

#include <gtest/gtest.h>

namespace protocol {
namespace {

struct ReadCase {
    SettingKind kind;
    Frame request;
    std::uint32_t replyLength;
    std::size_t valuePosition;
};

class ReadRequestTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadRequestTest, RequestReplyLengthAndValuePosition) {
    const ReadCase& c = GetParam();
    const auto request = ReadRequestFor(c.kind);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->frame, c.request);
    EXPECT_EQ(request->replyLength, c.replyLength);
    EXPECT_EQ(request->valuePosition, c.valuePosition);
    EXPECT_LT(request->valuePosition, request->replyLength);
    EXPECT_LE(request->replyLength, kMaxReplyLength);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, ReadRequestTest,
                         testing::Values(ReadCase{kPowerOn, {0x1B, 0x69, 0x55, 0x70, 0x01}, 32, 30},
                                         ReadCase{kAutoPowerOff, {0x1B, 0x69, 0x55, 0x41, 0x01}, 32, 30},
                                         ReadCase{kNetwork, {0x1B, 0x69, 0x58, 0x4B, 0x31, 0x00, 0x00}, 3, 2},
                                         ReadCase{
                                             kInfoPrint, {0x1B, 0x69, 0x58, 0x6F, 0x31, 0x00, 0x00}, 3, 2},
                                         ReadCase{kCommandMode, {0x1B, 0x69, 0x55, 0x61, 0x01}, 32, 30}));

struct WriteCase {
    SettingKind kind;
    int index;
    Frame frame;
};

class WriteFrameTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteFrameTest, FrameForSelectedIndex) {
    const WriteCase& c = GetParam();
    const auto frame = WriteFrameFor(c.kind, ValueByte(ValueForIndex(c.kind, c.index)));
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, WriteFrameTest,
    testing::Values(WriteCase{kPowerOn, 1, {0x1B, 0x69, 0x55, 0x70, 0x00, 0x01}},
                    WriteCase{kPowerOn, 0, {0x1B, 0x69, 0x55, 0x70, 0x00, 0x00}},
                    WriteCase{kAutoPowerOff, 6, {0x1B, 0x69, 0x55, 0x41, 0x00, 0x06}},
                    WriteCase{kNetwork, 0, {0x1B, 0x69, 0x58, 0x4B, 0x32, 0x01, 0x00, 0x00}},
                    WriteCase{kInfoPrint, 0, {0x1B, 0x69, 0x58, 0x6F, 0x32, 0x01, 0x00, 0x03}},
                    WriteCase{kInfoPrint, 2, {0x1B, 0x69, 0x58, 0x6F, 0x32, 0x01, 0x00, 0x01}},
                    // nothing selected
                    WriteCase{kPowerOn, -1, {0x1B, 0x69, 0x55, 0x70, 0x00, 0xFF}},
                    WriteCase{kAutoPowerOff, -1, {0x1B, 0x69, 0x55, 0x41, 0x00, 0xFF}},
                    WriteCase{kNetwork, -1, {0x1B, 0x69, 0x58, 0x4B, 0x32, 0x01, 0x00, 0xFF}},
                    WriteCase{kInfoPrint, -1, {0x1B, 0x69, 0x58, 0x6F, 0x32, 0x01, 0x00, 0x04}}));

TEST(WriteFrameTest, CommandModeCarriesFixedValue) {
    const SettingRow& commandMode = *SettingOf(kCommandMode);
    for (const std::int16_t value : {-1, 0, 2, 3}) {
        EXPECT_EQ(WriteFrameFor(kCommandMode, WrittenByte(commandMode, value, false)),
                  (Frame{0x1B, 0x69, 0x55, 0x61, 0x00, 0x01}));
        EXPECT_EQ(WriteFrameFor(kCommandMode, WrittenByte(commandMode, value, true)),
                  (Frame{0x1B, 0x69, 0x55, 0x61, 0x00, 0x00}));
    }
}

TEST(WriteFrameTest, KindsWithoutAValueFrameAreRefused) {
    for (SettingKind kind : {0, kReset, 7, -1}) {
        EXPECT_FALSE(WriteFrameFor(kind, 0).has_value()) << kind;
    }
    for (SettingKind kind : {0, kReset, 7, -1}) {
        EXPECT_FALSE(ReadRequestFor(kind).has_value()) << kind;
    }
}

TEST(ResetExchangeTest, ResetFrameThenPowerOnReadRequest) {
    const ResetExchange reset = ResetExchangeFrames();
    EXPECT_EQ(reset.resetFrame, (Frame{0x1B, 0x69, 0x55, 0x69}));
    EXPECT_EQ(reset.readRequest.frame, (Frame{0x1B, 0x69, 0x55, 0x70, 0x01}));
    EXPECT_EQ(reset.readRequest.replyLength, 32u);
}

TEST(FixedFramesTest, OpenAndStatusFrames) {
    EXPECT_EQ(InitializeFrame(), (Frame{0x1B, 0x40}));
    EXPECT_EQ(ModeFrame(), (Frame{0x1B, 0x69, 0x61, 0x01}));
    EXPECT_EQ(StatusRequestFrame(), (Frame{0x1B, 0x69, 0x53}));
}

TEST(RecognizeFrameTest, EveryBuiltFrameIsRecognizedAsItself) {
    for (const SettingRow& setting : Settings()) {
        const SettingKind kind = setting.kind;
        const Frame read = ReadRequestFor(kind)->frame;
        const auto r = RecognizeFrame(read);
        ASSERT_TRUE(r.has_value()) << kind;
        EXPECT_EQ(r->type, FrameType::Read);
        EXPECT_EQ(r->kind, kind);
        EXPECT_EQ(r->length, read.size());

        const Frame write = *WriteFrameFor(kind, 0x42);
        const auto w = RecognizeFrame(write);
        ASSERT_TRUE(w.has_value()) << kind;
        EXPECT_EQ(w->type, FrameType::Write);
        EXPECT_EQ(w->kind, kind);
        EXPECT_EQ(w->length, write.size());
        EXPECT_EQ(w->value, write.back());
    }
    EXPECT_EQ(RecognizeFrame(ResetExchangeFrames().resetFrame)->type, FrameType::Reset);
    EXPECT_EQ(RecognizeFrame(InitializeFrame())->type, FrameType::Initialize);
    EXPECT_EQ(RecognizeFrame(ModeFrame())->type, FrameType::Mode);
    EXPECT_EQ(RecognizeFrame(StatusRequestFrame())->type, FrameType::Status);
}

TEST(RecognizeFrameTest, IncompleteOrForeignBytesAreNotFrames) {
    const std::vector<Frame> cases{
        {},
        {0x1B},
        {0x1B, 0x69, 0x55, 0x70, 0x00},       // write frame without its value
        {0x1B, 0x69, 0x58, 0x4B, 0x32, 0x01}, // X-family write cut short
        {0x1B, 0x69, 0x58, 0x4B, 0x31, 0x00}, // X-family read cut short
        {0x1B, 0x69, 0x55, 0x7A, 0x01},       // unknown setting letter
        {0x00, 0x1B, 0x40},
    };
    for (const Frame& bytes : cases) {
        EXPECT_FALSE(RecognizeFrame(bytes).has_value()) << testing::PrintToString(bytes);
    }
}

} // namespace
} // namespace protocol
