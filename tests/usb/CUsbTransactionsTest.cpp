#include "LinkTestSupport.h"
#include "protocol/Frames.h"

#include <array>
#include <span>

namespace {

using link_test::Bytes;
using link_test::Concat;
using link_test::kOpeningBytes;
using link_test::LinkTest;
using simulator::DeviceScript;
using simulator::Fault;
using simulator::UsbOperation;

class CUsbTransactionsTest : public LinkTest {
  protected:
    CUsbTransactionsTest() {
        const std::string empty;
        link.SetDeviceInf(&manufacturer, &product, &empty);
    }
    LinkResult Set(const Bytes& first, const Bytes* second, std::uint32_t replyLength = 32) {
        const TransactionOutcome done = link.SetSettings(
            first, second ? std::span<const std::uint8_t>(*second) : std::span<const std::uint8_t>(),
            std::span(reply).first(replyLength));
        status = done.status;
        return done.result;
    }
    LinkResult Get(const Bytes& frame, std::uint32_t replyLength = 32) {
        const TransactionOutcome done = link.GetSettings(frame, std::span(reply).first(replyLength));
        status = done.status;
        return done.result;
    }
    std::int32_t status = 0; // the last transaction's, as it returned it
    std::array<std::uint8_t, 32> reply{};
};

struct RoundTripCase {
    protocol::SettingKind kind;
    std::uint8_t value;
};

class SettingRoundTripTest : public CUsbTransactionsTest,
                             public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SettingRoundTripTest, WrittenValueIsReadBack) {
    auto& printer = bus.AddDevice();
    const auto kind = GetParam().kind;
    const auto request = *protocol::ReadRequestFor(kind);
    const protocol::Frame write = *protocol::WriteFrameFor(kind, GetParam().value);

    EXPECT_EQ(Set(write, &request.frame, request.replyLength), kLinkOk);
    EXPECT_EQ(reply[request.valuePosition], GetParam().value);
    EXPECT_EQ(printer.printer().settings().Get(kind), GetParam().value);
    EXPECT_EQ(printer.LastConnectionOut(), Concat(Concat(kOpeningBytes, write), request.frame));

    reply.fill(0xEE);
    EXPECT_EQ(Get(request.frame, request.replyLength), kLinkOk);
    EXPECT_EQ(reply[request.valuePosition], GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SettingRoundTripTest,
                         ::testing::Values(RoundTripCase{protocol::kPowerOn, 1},
                                           RoundTripCase{protocol::kAutoPowerOff, 3},
                                           RoundTripCase{protocol::kNetwork, 1},
                                           RoundTripCase{protocol::kInfoPrint, 1},
                                           RoundTripCase{protocol::kCommandMode, 1}),
                         [](const ::testing::TestParamInfo<RoundTripCase>& param) {
                             return "Kind" + std::to_string(param.param.kind);
                         });

TEST_F(CUsbTransactionsTest, ResetRestoresTheDefaults) {
    auto& printer = bus.AddDevice();
    const Bytes powerOn = *protocol::WriteFrameFor(protocol::kPowerOn, 1);
    const Bytes autoOff = *protocol::WriteFrameFor(protocol::kAutoPowerOff, 2);
    ASSERT_EQ(Set(powerOn, nullptr), kLinkOk);
    ASSERT_EQ(Set(autoOff, nullptr), kLinkOk);
    ASSERT_NE(printer.printer().settings(), simulator::PrinterSettings{});

    const auto reset = protocol::ResetExchangeFrames();
    EXPECT_EQ(Set(reset.resetFrame, &reset.readRequest.frame), kLinkOk);
    EXPECT_EQ(printer.printer().settings(), simulator::PrinterSettings{});
}

TEST_F(CUsbTransactionsTest, SetWithoutSecondFrameWritesOneFrameAndNeverReads) {
    auto& printer = bus.AddDevice();
    const Bytes frame = *protocol::WriteFrameFor(protocol::kPowerOn, 1);
    EXPECT_EQ(Set(frame, nullptr), kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Concat(kOpeningBytes, frame));
    EXPECT_EQ(printer.record().readPasses, 0u);
    EXPECT_EQ(link.TestPrint(frame).result, kLinkOk);
    EXPECT_EQ(printer.record().readPasses, 0u);
}

TEST_F(CUsbTransactionsTest, GetStatusReadsTheStatusReply) {
    auto& printer = bus.AddDevice();
    EXPECT_EQ(link.GetStatus(reply).result, kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Concat(kOpeningBytes, Bytes{0x1B, 0x69, 0x53}));
    EXPECT_EQ(reply[0], 0x80);
}

const Bytes kWrite = *protocol::WriteFrameFor(protocol::kPowerOn, 1);
const Bytes kRequest = protocol::ReadRequestFor(protocol::kPowerOn)->frame;

// Which write fails, and the code each transaction reports for it.
enum class Transaction { Get, SetTwoFrames, SetOneFrame };
struct WriteFailureCase {
    const char* name;
    Transaction transaction;
    unsigned goodWrites; // after the two opening frames
    LinkResult result;
};

class WriteFailureTest : public CUsbTransactionsTest,
                         public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailureTest, ReportsTheFailedFrameAndCloses) {
    DeviceScript script;
    script.faults[UsbOperation::WritePipe] = Fault{platform::kUsbErrorIo, 2 + GetParam().goodWrites};
    auto& printer = bus.AddDevice(script);
    LinkResult result = kLinkOk;
    switch (GetParam().transaction) {
    case Transaction::Get:
        result = Get(kRequest);
        break;
    case Transaction::SetTwoFrames:
        result = Set(kWrite, &kRequest);
        break;
    case Transaction::SetOneFrame:
        result = Set(kWrite, nullptr);
        break;
    }
    EXPECT_EQ(result, GetParam().result);
    EXPECT_EQ(status, platform::kUsbErrorIo) << "the outcome carries the failed write's status";
    EXPECT_EQ(link.mLastResult(), static_cast<std::uint32_t>(GetParam().result));
    EXPECT_EQ(static_cast<std::int32_t>(link.mLastError()), platform::kUsbErrorIo);
    // The failing write was the last one attempted, and nothing was read.
    EXPECT_EQ(printer.record().writes, 2 + GetParam().goodWrites);
    EXPECT_EQ(printer.record().readPasses, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteFailureTest,
    ::testing::Values(
        WriteFailureCase{"GetRequest", Transaction::Get, 0, kLinkRequestWriteFailed},
        WriteFailureCase{"SetFirstFrame", Transaction::SetTwoFrames, 0, kLinkCommandWriteFailed},
        WriteFailureCase{"SetOnlyFrame", Transaction::SetOneFrame, 0, kLinkCommandWriteFailed},
        WriteFailureCase{"SetSecondFrame", Transaction::SetTwoFrames, 1, kLinkRequestWriteFailed}),
    link_test::CaseName());

TEST_F(CUsbTransactionsTest, LastFailureSurvivesALaterSuccess) {
    auto& printer = bus.AddDevice();
    printer.Unplug();
    EXPECT_EQ(Get(kRequest), kLinkNoPrinter);
    EXPECT_EQ(link.mLastResult(), 1u);
    EXPECT_EQ(link.mLastError(), 0u);

    bus.AddDevice();
    EXPECT_EQ(Get(kRequest), kLinkOk);
    EXPECT_EQ(link.mLastResult(), 1u);
    EXPECT_EQ(link.mLastError(), 0u);
}

TEST_F(CUsbTransactionsTest, PrinterVanishingAfterTheRequestFailsTheRead) {
    DeviceScript script;
    script.vanishAfterWrites = 3;
    bus.AddDevice(script);
    EXPECT_EQ(Get(kRequest), kLinkReadFailed);
    EXPECT_EQ(static_cast<std::int32_t>(link.mLastError()), platform::kUsbErrorNoDevice);
}

TEST_F(CUsbTransactionsTest, ReadTimeOutIsRecordedWithStatusZero) {
    bus.FailNextListing(platform::kUsbErrorIo);
    EXPECT_EQ(Get(kRequest), kLinkOpenFailed);
    EXPECT_EQ(static_cast<std::int32_t>(link.mLastError()), platform::kUsbErrorIo);
    DeviceScript script;
    script.replyNeverComes = true;
    bus.AddDevice(script);
    EXPECT_EQ(Get(kRequest), kLinkReadFailed);
    EXPECT_EQ(link.mLastResult(), 3u);
    EXPECT_EQ(link.mLastError(), 0u);
}

} // namespace
