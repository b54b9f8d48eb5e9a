#include "simulator/SimulatedPrinter.h"

#include "platform/usbhost/UsbRequests.h"
#include "protocol/Frames.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using simulator::PrinterSettings;
using simulator::SimulatedPrinter;

Bytes TakeAll(SimulatedPrinter& printer) {
    Bytes reply(printer.PendingReplySize());
    printer.TakeReply(reply);
    return reply;
}

Bytes Read(protocol::SettingKind kind) {
    return protocol::ReadRequestFor(kind)->frame;
}
Bytes Write(protocol::SettingKind kind, std::uint8_t value) {
    return *protocol::WriteFrameFor(kind, value);
}
Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The bytes arrive in the writes given; the reply is checked at the value position of `readKind`.
struct InterpreterCase {
    const char* name;
    std::vector<Bytes> writes;
    protocol::SettingKind readKind;
    std::size_t replyLength;
    std::uint8_t value;
};

class InterpreterTest : public ::testing::TestWithParam<InterpreterCase> {};

TEST_P(InterpreterTest, AnswersWithTheStoredValue) {
    SimulatedPrinter printer;
    for (const Bytes& write : GetParam().writes) {
        printer.Receive(write);
    }
    const Bytes reply = TakeAll(printer);
    ASSERT_EQ(reply.size(), GetParam().replyLength);
    EXPECT_EQ(reply[protocol::ReadRequestFor(GetParam().readKind)->valuePosition], GetParam().value);
}

const Bytes kPowerOnRead = Read(protocol::kPowerOn);

INSTANTIATE_TEST_SUITE_P(
    Frames, InterpreterTest,
    ::testing::Values(
        InterpreterCase{"PowerOnDefault", {kPowerOnRead}, protocol::kPowerOn, 32, 0},
        InterpreterCase{
            "AutoPowerOffDefault", {Read(protocol::kAutoPowerOff)}, protocol::kAutoPowerOff, 32, 6},
        InterpreterCase{"NetworkDefault", {Read(protocol::kNetwork)}, protocol::kNetwork, 3, 2},
        InterpreterCase{"InfoPrintDefault", {Read(protocol::kInfoPrint)}, protocol::kInfoPrint, 3, 3},
        InterpreterCase{"CommandModeWritten",
                        {*protocol::WriteFrameFor(protocol::kCommandMode, 1), Read(protocol::kCommandMode)},
                        protocol::kCommandMode,
                        32,
                        1},
        InterpreterCase{"NetworkWritten",
                        {Write(protocol::kNetwork, 1), Read(protocol::kNetwork)},
                        protocol::kNetwork,
                        3,
                        1},
        InterpreterCase{"FramesShareOneWrite",
                        {Join({Write(protocol::kPowerOn, 1), kPowerOnRead})},
                        protocol::kPowerOn,
                        32,
                        1},
        InterpreterCase{"FrameSplitAcrossWrites",
                        {Bytes{0x1B, 0x69, 0x55}, Bytes{0x70, 0x00}, Bytes{0x01}, kPowerOnRead},
                        protocol::kPowerOn,
                        32,
                        1},
        InterpreterCase{"UnknownBytesSkipped",
                        {Join({Bytes{0x00, 0xFF, 0x1B, 0x69, 0x5A, 0x1B}, kPowerOnRead})},
                        protocol::kPowerOn,
                        32,
                        0},
        InterpreterCase{
            "InitialiseDropsUnreadReply",
            {Read(protocol::kNetwork), protocol::InitializeFrame(), protocol::ModeFrame(), kPowerOnRead},
            protocol::kPowerOn,
            32,
            0},
        InterpreterCase{"ResetRestoresDefault",
                        {Write(protocol::kAutoPowerOff, 1), protocol::ResetExchangeFrames().resetFrame,
                         Read(protocol::kAutoPowerOff)},
                        protocol::kAutoPowerOff,
                        32,
                        6}),
    [](const ::testing::TestParamInfo<InterpreterCase>& param) { return std::string(param.param.name); });

TEST(SimulatedPrinter, StatusRequestGetsA32ByteReply) {
    SimulatedPrinter printer;
    printer.Receive(protocol::StatusRequestFrame());
    EXPECT_EQ(TakeAll(printer).size(), protocol::kStatusReplyLength);
}

TEST(SimulatedPrinter, RefusedKindKeepsItsOldValue) {
    SimulatedPrinter printer;
    printer.SetRefusedKinds({protocol::kNetwork});
    printer.Receive(Join({Write(protocol::kNetwork, 0), Write(protocol::kPowerOn, 1)}));
    EXPECT_EQ(printer.settings().Get(protocol::kNetwork), PrinterSettings{}.Get(protocol::kNetwork));
    EXPECT_EQ(printer.settings().Get(protocol::kPowerOn), 1);
}

TEST(SimulatedPrinter, ObserverHearsOnlyChanges) {
    SimulatedPrinter printer;
    std::vector<PrinterSettings> heard;
    printer.SetSettingsObserver([&](const PrinterSettings& s) { heard.push_back(s); });
    printer.Receive(Join({Write(protocol::kPowerOn, 0), Write(protocol::kPowerOn, 1), kPowerOnRead,
                          protocol::ResetExchangeFrames().resetFrame}));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].Get(protocol::kPowerOn), 1);
    EXPECT_EQ(heard[1], PrinterSettings{});
}

TEST(SimulatedPrinter, UnreadRepliesAreBounded) {
    SimulatedPrinter printer;
    for (int i = 0; i < 5000; ++i) {
        printer.Receive(kPowerOnRead);
    }
    EXPECT_LE(printer.PendingReplySize(), 64u * 1024u);
}

simulator::ControlSetup Descriptor(std::uint8_t type, std::uint8_t index, std::uint16_t length = 255) {
    return {platform::kRequestTypeStandardDeviceIn, platform::kRequestGetDescriptor,
            platform::DescriptorValue(type, index), 0, length};
}

TEST(SimulatedPrinter, AnswersDescriptorsAndDeviceId) {
    simulator::DeviceIdentity identity = simulator::DefaultIdentity("S1");
    identity.product.reset();
    const SimulatedPrinter printer(identity);

    const auto device = printer.AnswerControl(Descriptor(platform::kDescriptorTypeDevice, 0));
    ASSERT_TRUE(device);
    ASSERT_EQ(device->size(), platform::kDeviceDescriptorLength);
    EXPECT_EQ((*device)[platform::kManufacturerStringIndexAt], 1);
    EXPECT_EQ((*device)[platform::kProductStringIndexAt], 0) << "a missing string is index 0";
    EXPECT_EQ(printer.AnswerControl(Descriptor(platform::kDescriptorTypeString, 1)),
              simulator::StringDescriptor("Tamblor"));
    EXPECT_EQ(printer.AnswerControl(Descriptor(platform::kDescriptorTypeString, 2)), std::nullopt);
    EXPECT_EQ(printer.AnswerControl(Descriptor(platform::kDescriptorTypeDevice, 0, 8))->size(), 8u);

    const auto id = printer.AnswerControl(
        {platform::kRequestTypeClassInterfaceIn, platform::kRequestGetDeviceId, 0, 0, 1024});
    ASSERT_TRUE(id);
    const std::size_t announced = static_cast<std::size_t>((*id)[0] << 8 | (*id)[1]);
    EXPECT_EQ(announced, id->size());
    EXPECT_EQ(std::string(id->begin() + 2, id->end()), identity.deviceId);
    EXPECT_EQ(printer.AnswerControl({0x21, 0x09, 0, 0, 0}), std::nullopt) << "unknown requests stall";
}

} // namespace
