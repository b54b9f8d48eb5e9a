// Every path through the one transaction engine, as the link's named transactions take it: where the
// progress bar stands after each step, that every path that opened closes, and what is recorded.
#include "LinkTestSupport.h"
#include "protocol/Frames.h"
#include "usb/ProgressIndicator.h"

#include <array>
#include <functional>
#include <span>
#include <string>

namespace {

using link_test::Bytes;
using link_test::Concat;
using link_test::kOpeningBytes;
using link_test::LinkTest;
using simulator::DeviceScript;
using simulator::Fault;
using simulator::UsbOperation;

class RecordedProgress : public ProgressIndicator {
  public:
    void setProgressBarValue(double value) override { positions.push_back(value); }
    std::vector<double> positions;
};

// The opening of every connection writes two frames; these count the writes of a transaction.
constexpr unsigned kOpeningWrites = 2;

enum class Transaction { Get, Set, SetSingle };

struct Path {
    std::string name;
    Transaction transaction;
    std::function<void(simulator::SimulatedBus&)> arrange;
    LinkResult result;
    platform::UsbStatus status; // of the failed step
    std::vector<double> progress;
};

void Healthy(simulator::SimulatedBus& bus) {
    bus.AddDevice();
}
// The exchange's own frames written before the failing one.
std::function<void(simulator::SimulatedBus&)> FailingWrite(unsigned writesBefore,
                                                           platform::UsbStatus status) {
    return [=](simulator::SimulatedBus& bus) {
        DeviceScript script;
        script.faults[UsbOperation::WritePipe] = Fault{status, kOpeningWrites + writesBefore};
        bus.AddDevice(std::move(script));
    };
}
void SilentPrinter(simulator::SimulatedBus& bus) {
    DeviceScript script;
    script.replyNeverComes = true;
    bus.AddDevice(std::move(script));
}
void NoPrinter(simulator::SimulatedBus&) {}

const std::vector<double> kGetFull{20, 50, 80, 100};
const std::vector<double> kSetFull{20, 40, 60, 80, 100};
const std::vector<double> kOpenFailed{20, 100};

std::vector<Path> Paths() {
    return {
        {"GetOk", Transaction::Get, Healthy, kLinkOk, 0, kGetFull},
        {"GetReadTimesOut", Transaction::Get, SilentPrinter, kLinkReadFailed, 0, kGetFull},
        {"GetNoPrinter", Transaction::Get, NoPrinter, kLinkNoPrinter, 0, kOpenFailed},
        {"GetWriteFails",
         Transaction::Get,
         FailingWrite(0, platform::kUsbErrorPipe),
         kLinkRequestWriteFailed,
         platform::kUsbErrorPipe,
         {20, 50, 100}},
        {"SetOk", Transaction::Set, Healthy, kLinkOk, 0, kSetFull},
        {"SetReadTimesOut", Transaction::Set, SilentPrinter, kLinkReadFailed, 0, kSetFull},
        {"SetFirstWriteFails", Transaction::Set, FailingWrite(0, platform::kUsbErrorIo),
         kLinkCommandWriteFailed, platform::kUsbErrorIo, kSetFull},
        {"SetSecondWriteFails", Transaction::Set, FailingWrite(1, platform::kUsbErrorNoDevice),
         kLinkRequestWriteFailed, platform::kUsbErrorNoDevice, kSetFull},
        {"SetNoPrinter", Transaction::Set, NoPrinter, kLinkNoPrinter, 0, kOpenFailed},
        {"SingleFrameOk", Transaction::SetSingle, Healthy, kLinkOk, 0, {20, 40, 100}},
        {"SingleFrameFails",
         Transaction::SetSingle,
         FailingWrite(0, platform::kUsbErrorPipe),
         kLinkCommandWriteFailed,
         platform::kUsbErrorPipe,
         {20, 40, 100}},
    };
}

class TransactionPathTest : public LinkTest, public testing::WithParamInterface<Path> {
  protected:
    TransactionPathTest() { link.SetDeviceInf(&manufacturer, &product, &serial); }

    TransactionOutcome Run(Transaction transaction) {
        const protocol::ReadRequest request = *protocol::ReadRequestFor(protocol::kPowerOn);
        const std::span<std::uint8_t> wanted = std::span(reply).first(request.replyLength);
        switch (transaction) {
        case Transaction::Get:
            return link.GetSettings(request.frame, wanted, &progress);
        case Transaction::Set:
            return link.SetSettings(*protocol::WriteFrameFor(protocol::kPowerOn, 1), request.frame, wanted,
                                    &progress);
        case Transaction::SetSingle:
            return link.SetSettings(protocol::ResetExchangeFrames().resetFrame, {}, wanted, &progress);
        }
        return {};
    }

    std::array<std::uint8_t, protocol::kMaxReplyLength> reply{};
    RecordedProgress progress;
};

TEST_P(TransactionPathTest, EndsTheBarFullClosesAndReturnsTheFailure) {
    const Path& path = GetParam();
    path.arrange(bus);
    const TransactionOutcome outcome = Run(path.transaction);
    EXPECT_EQ(outcome.result, path.result);
    EXPECT_EQ(outcome.status, path.status);
    EXPECT_EQ(progress.positions, path.progress);
    if (outcome.result != kLinkOk) {
        EXPECT_EQ(link.mLastResult(), static_cast<std::uint32_t>(path.result));
        EXPECT_EQ(static_cast<std::int32_t>(link.mLastError()), path.status);
    }
    if (bus.deviceCount() > 0) {
        const simulator::DeviceRecord& record = bus.device(0).record();
        EXPECT_FALSE(record.InterfaceOpen()) << "every path that opened closes";
        EXPECT_EQ(record.LiveHandles(), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, TransactionPathTest, testing::ValuesIn(Paths()),
                         [](const testing::TestParamInfo<Path>& tested) { return tested.param.name; });

using TransactionWireTest = TransactionPathTest;

TEST_F(TransactionWireTest, FramesGoOutInOrderAndOnlyWhatWasWantedIsRead) {
    simulator::SimulatedDevice& printer = bus.AddDevice();
    const protocol::ReadRequest network = *protocol::ReadRequestFor(protocol::kNetwork);
    const protocol::Frame write = *protocol::WriteFrameFor(protocol::kNetwork, 1);
    reply.fill(0xEE);

    ASSERT_EQ(link.SetSettings(write, network.frame, std::span(reply).first(network.replyLength)).result,
              kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Concat(Concat(kOpeningBytes, write), network.frame));
    EXPECT_EQ(reply[network.valuePosition], 1);
    EXPECT_EQ(reply[network.replyLength], 0xEE) << "nothing beyond the wanted length is touched";
}

TEST_F(TransactionWireTest, TargetsChooseThePrinter) {
    DeviceScript other;
    other.identity = simulator::DefaultIdentity("OTHER");
    simulator::SimulatedDevice& first = bus.AddDevice(std::move(other));
    DeviceScript serialWanted;
    serialWanted.identity = simulator::DefaultIdentity("WANTED");
    simulator::SimulatedDevice& wanted = bus.AddDevice(std::move(serialWanted));
    const protocol::ReadRequest request = *protocol::ReadRequestFor(protocol::kPowerOn);
    const std::span<std::uint8_t> into = std::span(reply).first(request.replyLength);

    const std::string wantedSerial = "WANTED";
    link.SetDeviceInf(&manufacturer, &product, &wantedSerial);
    ASSERT_EQ(link.GetSettings(request.frame, into).result, kLinkOk);
    EXPECT_TRUE(first.LastConnectionOut().empty());
    EXPECT_EQ(wanted.LastConnectionOut(), Concat(kOpeningBytes, request.frame));

    link.SetDeviceInf(nullptr, nullptr, nullptr); // no target: the first printer
    ASSERT_EQ(link.GetSettings(request.frame, into).result, kLinkOk);
    EXPECT_EQ(first.LastConnectionOut(), Concat(kOpeningBytes, request.frame));
}

} // namespace
