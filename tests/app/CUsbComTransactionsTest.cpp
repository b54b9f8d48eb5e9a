#include "tests/app/UsbComFixture.h"

#include <QTimer>
#include <cmath>
#include <functional>
#include <string>

namespace usbcomtest {
namespace {

using simulator::DeviceScript;
using simulator::Fault;
using simulator::UsbOperation;

// The opening of every connection writes two frames; these count the writes of a transaction.
constexpr unsigned kOpeningWrites = 2;

enum class Transaction { Get, Set, SetSingle };

struct Path {
    std::string name;
    Transaction transaction;
    std::function<void(simulator::SimulatedBus&)> arrange;
    LinkResult result;
    platform::UsbStatus error; // recorded on failure
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
         kLinkWriteFailed,
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

class TransactionTest : public UsbComTest, public testing::WithParamInterface<Path> {
  protected:
    LinkResult Run(Transaction transaction) {
        const protocol::ReadRequest request = *protocol::ReadRequestFor(protocol::kPowerOn);
        const std::span<std::uint8_t> wanted = std::span(reply).first(request.replyLength);
        switch (transaction) {
        case Transaction::Get:
            return com->GetSettings(request.frame, wanted);
        case Transaction::Set:
            return com->SetSettings(*protocol::WriteFrameFor(protocol::kPowerOn, 1), request.frame, wanted);
        case Transaction::SetSingle:
            return com->SetSettings(protocol::ResetExchangeFrames().resetFrame, {}, wanted);
        }
        return -1;
    }

    std::array<std::uint8_t, protocol::kMaxReplyLength> reply{};
};

TEST_P(TransactionTest, EndsTheBarFullClosesAndRecordsTheFailure) {
    const Path& path = GetParam();
    path.arrange(bus);
    const LinkResult result = Run(path.transaction);
    EXPECT_EQ(result, path.result);
    EXPECT_EQ(progress.positions, path.progress);
    if (result != kLinkOk) {
        EXPECT_EQ(com->cusbLib().mLastResult(), static_cast<std::uint32_t>(path.result));
        EXPECT_EQ(LastError(), path.error);
    }
    if (bus.deviceCount() > 0) {
        const simulator::DeviceRecord& record = bus.device(0).record();
        EXPECT_FALSE(record.InterfaceOpen()) << "every path that opened closes";
        EXPECT_EQ(record.LiveHandles(), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, TransactionTest, testing::ValuesIn(Paths()),
                         [](const testing::TestParamInfo<Path>& tested) { return tested.param.name; });

using TransactionWireTest = UsbComTest;

TEST_F(TransactionWireTest, FramesGoOutInOrderAndOnlyWhatWasWantedIsRead) {
    simulator::SimulatedDevice& printer = AddPrinter();
    const protocol::ReadRequest network = *protocol::ReadRequestFor(protocol::kNetwork);
    const protocol::Frame write = *protocol::WriteFrameFor(protocol::kNetwork, 1);
    std::array<std::uint8_t, protocol::kMaxReplyLength> reply{};
    reply.fill(0xEE);

    ASSERT_EQ(com->SetSettings(write, network.frame, std::span(reply).first(network.replyLength)), kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Wire({write, network.frame}));
    EXPECT_EQ(reply[network.valuePosition], 1);
    EXPECT_EQ(reply[network.replyLength], 0xEE) << "nothing beyond the wanted length is touched";

    const protocol::Frame reset = protocol::ResetExchangeFrames().resetFrame;
    const unsigned readsBefore = printer.record().readPasses;
    ASSERT_EQ(com->SetSettings(reset, {}, reply), kLinkOk);
    EXPECT_EQ(printer.LastConnectionOut(), Wire({reset}));
    EXPECT_EQ(printer.record().readPasses, readsBefore) << "a lone frame is never answered";
}

TEST_F(TransactionWireTest, SuccessLeavesTheLastFailureRecorded) {
    std::array<std::uint8_t, protocol::kMaxReplyLength> reply{};
    const protocol::ReadRequest request = *protocol::ReadRequestFor(protocol::kPowerOn);
    ASSERT_EQ(com->GetSettings(request.frame, std::span(reply).first(request.replyLength)), kLinkNoPrinter);
    AddPrinter();
    ASSERT_EQ(com->GetSettings(request.frame, std::span(reply).first(request.replyLength)), kLinkOk);
    EXPECT_EQ(com->cusbLib().mLastResult(), static_cast<std::uint32_t>(kLinkNoPrinter));
    EXPECT_EQ(LastError(), 0);
}

TEST_F(TransactionWireTest, TargetsChooseThePrinter) {
    simulator::DeviceScript other;
    other.identity = simulator::DefaultIdentity("OTHER");
    simulator::SimulatedDevice& first = AddPrinter(std::move(other));
    simulator::DeviceScript serialWanted;
    serialWanted.identity = simulator::DefaultIdentity("WANTED");
    simulator::SimulatedDevice& wanted = AddPrinter(std::move(serialWanted));
    std::array<std::uint8_t, protocol::kMaxReplyLength> reply{};
    const protocol::ReadRequest request = *protocol::ReadRequestFor(protocol::kPowerOn);

    com->SetDeviceInf("Tamblor", "LM-360R", "WANTED");
    ASSERT_EQ(com->GetSettings(request.frame, std::span(reply).first(request.replyLength)), kLinkOk);
    EXPECT_TRUE(first.LastConnectionOut().empty());
    EXPECT_EQ(wanted.LastConnectionOut(), Wire({request.frame}));

    com->SetDeviceInf(std::nullopt, std::nullopt, std::nullopt); // no target: the first printer
    ASSERT_EQ(com->GetSettings(request.frame, std::span(reply).first(request.replyLength)), kLinkOk);
    EXPECT_EQ(first.LastConnectionOut(), Wire({request.frame}));
}

TEST_F(TransactionWireTest, PausesReturn) {
    com->wait(0);
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    com->timeInterval(0.02);
    EXPECT_TRUE(ran) << "the event loop runs while it waits";
    com->timeInterval(-1);
    com->timeInterval(std::nan(""));
}

} // namespace
} // namespace usbcomtest
