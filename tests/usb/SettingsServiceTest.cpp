// The settings service as both programs use it: what each operation sends, what it returns, which
// printer it talks to.
#include "usb/SettingsService.h"

#include "LinkTestSupport.h"
#include "protocol/Frames.h"
#include "protocol/SettingValues.h"

namespace {

using link_test::Bytes;
using link_test::Concat;
using link_test::kOpeningBytes;
using link_test::PrinterWithSerial;
using protocol::SettingKind;
using simulator::SimulatedBus;

class SettingsServiceTest : public ::testing::Test {
  protected:
    // Two printers of the model; the service is narrowed to the second one's serial.
    SettingsServiceTest()
        : first(bus.AddDevice(PrinterWithSerial("A"))), second(bus.AddDevice(PrinterWithSerial("B"))) {
        service.SetTarget("Tamblor", "LM-360R", "B");
    }

    SimulatedBus bus;
    simulator::SimulatedDevice& first;
    simulator::SimulatedDevice& second;
    SettingsService service{bus};
};

TEST_F(SettingsServiceTest, EveryOperationTalksToTheTargetOnly) {
    const Bytes file{0x1B, 0x69, 0x55, 0x70, 0x00, 0x01};
    struct Operation {
        const char* name;
        std::function<LinkResult()> run;
    };
    const std::vector<Operation> operations{
        {"read", [&] { return service.ReadSetting(protocol::kPowerOn).result; }},
        {"write", [&] { return service.WriteSetting(protocol::kPowerOn, 1).result; }},
        {"reset", [&] { return service.Reset().result(); }},
        {"status", [&] { return service.ReadStatus().outcome.result; }},
        {"send", [&] { return service.Send(file).result; }},
    };
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.name);
        const unsigned opensBefore = second.record().opens;
        EXPECT_EQ(operation.run(), kLinkOk);
        EXPECT_GT(second.record().opens, opensBefore);
        EXPECT_EQ(first.record().opens, 0u) << "the other printer was opened";
    }
    EXPECT_EQ(second.LastConnectionOut(), Concat(kOpeningBytes, file)) << "a file goes out in one piece";
}

TEST_F(SettingsServiceTest, WriteSaysWhatWasWrittenAndWhatCameBack) {
    struct Case {
        SettingKind kind;
        std::int16_t value;
        bool zero;
        bool refused; // the printer keeps its old value
        int written;
        int answered;
    };
    const std::vector<Case> cases{
        {protocol::kAutoPowerOff, 3, false, false, 3, 3},
        {protocol::kInfoPrint, protocol::ValueForIndex(protocol::kInfoPrint, 0), false, false, 3, 3},
        {protocol::kNetwork, 0, false, true, 0, 2},
        {protocol::kPowerOn, 1, true, false, 0, 0},      // the zero flag writes and expects 00
        {protocol::kCommandMode, 7, false, false, 1, 1}, // command mode carries its fixed 01
        {protocol::kPowerOn, -1, false, false, -1, -1},  // no selection: FF, read back as -1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        second.printer().SetRefusedKinds(c.refused ? std::set<SettingKind>{c.kind} : std::set<SettingKind>{});
        const WriteOutcome outcome = service.WriteSetting(c.kind, c.value, c.zero);
        EXPECT_EQ(outcome.result, kLinkOk);
        EXPECT_EQ(outcome.written, c.written);
        EXPECT_EQ(outcome.answered, c.answered);
        EXPECT_EQ(outcome.matches(), !c.refused);
    }
}

TEST_F(SettingsServiceTest, ResetIsConfirmedByReadingTheAutoPowerOffTime) {
    second.printer().Receive(*protocol::WriteFrameFor(protocol::kAutoPowerOff, 1));
    const ResetOutcome reset = service.Reset();
    ASSERT_TRUE(reset.confirmation);
    EXPECT_EQ(reset.result(), kLinkOk);
    EXPECT_EQ(reset.confirmation->value, 6) << "back to 60 minutes";
    EXPECT_EQ(second.record().opens, 2u);
}

TEST_F(SettingsServiceTest, FailuresComeBackWithTheirStatus) {
    second.script().faults[simulator::UsbOperation::WritePipe] = {platform::kUsbErrorPipe, 3};
    const ResetOutcome reset = service.Reset();
    EXPECT_FALSE(reset.confirmation) << "no read after a reset that did not get through";
    EXPECT_EQ(reset.result(), kLinkRequestWriteFailed);
    EXPECT_EQ(reset.status(), platform::kUsbErrorPipe);

    const ReadOutcome read = service.ReadSetting(protocol::kNetwork);
    EXPECT_EQ(read.result, kLinkRequestWriteFailed) << "the frame before the reply read failed";
    EXPECT_EQ(read.status, platform::kUsbErrorPipe);

    EXPECT_EQ(service.ReadSetting(protocol::kReset).result, SettingsService::kRefusedKind);
}

TEST_F(SettingsServiceTest, ListingClaimsNothingAndMarksTheTarget) {
    simulator::DeviceScript unidirectional = PrinterWithSerial("C");
    unidirectional.alternates.front().interfaceProtocol = platform::kPrinterProtocolUnidirectional;
    auto& third = bus.AddDevice(unidirectional);
    const PrinterListing listing = service.ListPrinters();
    ASSERT_EQ(listing.status, platform::kUsbOk);
    ASSERT_EQ(listing.printers.size(), 3u);
    EXPECT_EQ(listing.printers[0].identity.serial, "A");
    EXPECT_FALSE(listing.printers[0].target);
    EXPECT_TRUE(listing.printers[1].target);
    EXPECT_FALSE(listing.printers[2].target);
    for (auto* device : {&first, &second, &third}) {
        EXPECT_EQ(device->record().opens, 0u) << "listing claimed printer " << device->index();
    }
    EXPECT_EQ(bus.liveHandles(), 0u);
}

} // namespace
