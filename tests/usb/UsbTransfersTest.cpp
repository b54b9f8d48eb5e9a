#include "LinkTestSupport.h"

#include <array>

namespace {

using link_test::Bytes;
using link_test::LinkTest;
using simulator::DeviceScript;
using simulator::Fault;
using simulator::UsbOperation;

const Bytes kStatusRequest{0x1B, 0x69, 0x53};

class UsbTransfersTest : public LinkTest {
  protected:
    simulator::SimulatedDevice& OpenPrinter(DeviceScript script = {}) {
        auto& printer = bus.AddDevice(std::move(script));
        EXPECT_EQ(Open(), kLinkOk);
        return printer;
    }
    LinkResult Write(const Bytes& frame) {
        return link.UsbWrite(context, frame.data(), static_cast<std::uint32_t>(frame.size()));
    }
    LinkResult Read(std::uint32_t& length, std::uint32_t timeout = kReadTimeout) {
        return link.UsbRead(context, reply.data(), length, timeout);
    }
    std::array<std::uint8_t, 64> reply{};
};

TEST_F(UsbTransfersTest, ZeroLengthReadTouchesNoPipe) {
    auto& printer = OpenPrinter();
    std::uint32_t length = 0;
    EXPECT_EQ(Read(length), kLinkOk);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(printer.record().readPasses, 0u);
}

// Read passes count 100 each against the time-out, whatever they deliver.
struct PassCase {
    const char* name;
    std::uint32_t bytesPerPass;
    unsigned silentPasses;
    bool neverComes;
    std::uint32_t timeout;
    LinkResult result;
    std::uint32_t counted;
    unsigned passes;
};

class ReadPassTest : public UsbTransfersTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(ReadPassTest, CountsPassesAgainstTheTimeOut) {
    DeviceScript script;
    script.replyBytesPerPass = GetParam().bytesPerPass;
    script.silentReadPasses = GetParam().silentPasses;
    script.replyNeverComes = GetParam().neverComes;
    auto& printer = OpenPrinter(script);
    ASSERT_EQ(Write(kStatusRequest), kLinkOk);

    std::uint32_t length = 32;
    EXPECT_EQ(Read(length, GetParam().timeout), GetParam().result);
    EXPECT_EQ(length, GetParam().counted);
    EXPECT_EQ(context.error, 0);
    EXPECT_EQ(printer.record().readPasses, GetParam().passes);
    if (GetParam().result == kLinkOk) {
        EXPECT_EQ(reply[0], 0x80);
        EXPECT_EQ(reply[1], 32);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Passes, ReadPassTest,
    ::testing::Values(PassCase{"WholeReplyInOnePass", 0, 0, false, 4000, kLinkOk, 32, 1},
                      PassCase{"FortyPassesSucceed", 1, 8, false, 4000, kLinkOk, 32, 40},
                      // a 41st pass could only run over the time-out, so it is not made
                      PassCase{"FortyFirstPassTimesOut", 1, 9, false, 4000, kLinkReadFailed, 31, 40},
                      PassCase{"TimeOutBelowOnePass", 0, 0, false, 99, kLinkReadFailed, 0, 0},
                      PassCase{"ReplyNeverComes", 0, 0, true, 4000, kLinkReadFailed, 0, 40}),
    link_test::CaseName());

struct StallCase {
    const char* name;
    bool stallIn;
};

class StalledPipeTest : public UsbTransfersTest, public ::testing::WithParamInterface<StallCase> {};

TEST_P(StalledPipeTest, FailsWithoutAttemptingTheTransfer) {
    DeviceScript script;
    script.pipeStatus[GetParam().stallIn ? 2 : 1] = platform::kUsbErrorPipe;
    auto& printer = OpenPrinter(script);
    const unsigned writesBefore = printer.record().writes;
    std::uint32_t length = 32;
    if (GetParam().stallIn) {
        EXPECT_EQ(Read(length), kLinkReadFailed);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(printer.record().readPasses, 0u);
    } else {
        EXPECT_EQ(Write(kStatusRequest), kLinkWriteFailed);
        EXPECT_EQ(printer.record().writes, writesBefore);
    }
    EXPECT_EQ(context.error, platform::kUsbErrorPipe);
}

INSTANTIATE_TEST_SUITE_P(Pipes, StalledPipeTest,
                         ::testing::Values(StallCase{"Out", false}, StallCase{"In", true}),
                         link_test::CaseName());

TEST_F(UsbTransfersTest, FailedWriteReportsItsStatus) {
    DeviceScript script;
    script.faults[UsbOperation::WritePipe] = Fault{platform::kUsbErrorTimeout, 2};
    OpenPrinter(script);
    EXPECT_EQ(Write(kStatusRequest), kLinkWriteFailed);
    EXPECT_EQ(context.error, platform::kUsbErrorTimeout);
}

TEST_F(UsbTransfersTest, FailedReadKeepsTheBytesAlreadyCounted) {
    DeviceScript script;
    script.replyBytesPerPass = 4;
    script.faults[UsbOperation::ReadPipe] = Fault{platform::kUsbErrorOverflow, 2};
    OpenPrinter(script);
    ASSERT_EQ(Write(kStatusRequest), kLinkOk);
    std::uint32_t length = 32;
    EXPECT_EQ(Read(length), kLinkReadFailed);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(context.error, platform::kUsbErrorOverflow);
    EXPECT_EQ(reply[0], 0x80);
}

TEST_F(UsbTransfersTest, PrinterVanishingMidExchangeFailsTheRead) {
    DeviceScript script;
    script.vanishAfterWrites = 3; // the two opening frames and the request
    OpenPrinter(script);
    ASSERT_EQ(Write(kStatusRequest), kLinkOk);
    std::uint32_t length = 32;
    EXPECT_EQ(Read(length), kLinkReadFailed);
    EXPECT_EQ(context.error, platform::kUsbErrorNoDevice);
    EXPECT_EQ(link.UsbClose(context), kLinkOk);
    EXPECT_EQ(context.intf, nullptr);
}

TEST_F(UsbTransfersTest, CloseIsHarmlessWhenNeverOpenedOrRepeated) {
    EXPECT_EQ(link.UsbClose(context), kLinkOk);
    auto& printer = OpenPrinter();
    EXPECT_EQ(link.UsbClose(context), kLinkOk);
    EXPECT_EQ(link.UsbClose(context), kLinkOk);
    EXPECT_EQ(printer.record().closes, 1u);
    EXPECT_EQ(context.outPipeRef, 1) << "close leaves the pipe references";
}

TEST_F(UsbTransfersTest, TransfersOnAClosedContextFailWithoutCrashing) {
    std::uint32_t length = 32;
    EXPECT_EQ(Write(kStatusRequest), kLinkWriteFailed);
    EXPECT_EQ(Read(length), kLinkReadFailed);
    EXPECT_EQ(length, 0u);
}

} // namespace
