// The printer link through the real libusb backend, against an LM-360R emulated at the usbfs level.

#include "platform/usbhost/libusb/LibusbBus.h"
#include "protocol/Frames.h"
#include "simulator/DeviceIdentity.h"
#include "simulator/SimulatedPrinter.h"
#include "tests/platform/usbhost/LibusbPrinterLayouts.h"
#include "usb/CUsb.h"

#include <gtest/gtest.h>

namespace {

using namespace usbfs_test;
using protocol::Frame;

// The simulated printer behind the emulated device's pipes.
class PrinterResponder final : public DeviceResponder {
  public:
    explicit PrinterResponder(simulator::DeviceIdentity identity) : printer(std::move(identity)) {}

    void Receive(std::span<const std::uint8_t> bytes) override {
        received.insert(received.end(), bytes.begin(), bytes.end());
        printer.Receive(bytes);
    }
    std::vector<std::uint8_t> TakeReply() override {
        std::vector<std::uint8_t> reply(silent ? 0 : printer.PendingReplySize());
        reply.resize(printer.TakeReply(reply));
        return reply;
    }
    bool AnswerControl(std::span<const std::uint8_t, 8> setup,
                       std::optional<std::vector<std::uint8_t>>& answer) override {
        answer =
            printer.AnswerControl({setup[0], setup[1], static_cast<std::uint16_t>(setup[2] | setup[3] << 8),
                                   static_cast<std::uint16_t>(setup[4] | setup[5] << 8),
                                   static_cast<std::uint16_t>(setup[6] | setup[7] << 8)});
        return true;
    }

    simulator::SimulatedPrinter printer;
    std::vector<std::uint8_t> received;
    bool silent = false; // a printer that never answers
};

// The emulated device's descriptors say what the simulated printer's identity says.
EmulatedDeviceLayout LayoutFor(const simulator::DeviceIdentity& identity, EmulatedDeviceLayout layout) {
    layout.deviceDescriptor = simulator::DeviceDescriptor(identity);
    return layout;
}

enum class Variant { Default, WithoutStrings, BidirectionalAtAlt1 };

class LibusbLinkTest : public ::testing::TestWithParam<Variant> {
  protected:
    LibusbLinkTest()
        : responder_(GetParam() == Variant::WithoutStrings ? simulator::DeviceIdOnlyIdentity()
                                                           : simulator::DefaultIdentity()),
          device_(1, 5,
                  LayoutFor(responder_.printer.identity(), GetParam() == Variant::BidirectionalAtAlt1
                                                               ? PrinterWithBidirectionalAlt1()
                                                               : DefaultPrinterLayout()),
                  responder_) {}

    // One exchange the way every transaction makes it: open, frames, reply, close.
    LinkResult Exchange(const std::vector<Frame>& frames, std::vector<std::uint8_t>& reply) {
        USBIOContext context;
        LinkResult result = link_.UsbOpen(context, &manufacturer_, &product_, &serial_);
        error_ = context.error;
        if (result != kLinkOk) {
            return result;
        }
        for (const Frame& frame : frames) {
            result = link_.UsbWrite(context, frame.data(), static_cast<std::uint32_t>(frame.size()));
            if (result != kLinkOk) {
                break;
            }
        }
        if (result == kLinkOk && !reply.empty()) {
            auto length = static_cast<std::uint32_t>(reply.size());
            result = link_.UsbRead(context, reply.data(), length, kReadTimeout);
        }
        link_.UsbClose(context);
        error_ = context.error;
        return result;
    }

    void ExpectInterfaceReleased() {
        EXPECT_FALSE(device_.Claimed(0));
        EXPECT_EQ(device_.Detaches(), 0);
    }

    PrinterResponder responder_;
    EmulatedDevice device_;
    std::unique_ptr<platform::UsbBus> bus_ = platform::CreateLibusbBus();
    CUsb link_{*bus_};
    const std::string manufacturer_ = "Tamblor", product_ = "LM-360R", serial_;
    std::int32_t error_ = 0;
};

TEST_P(LibusbLinkTest, FindsOpensAndPreparesThePrinter) {
    USBIOContext context;
    ASSERT_EQ(link_.UsbOpen(context, &manufacturer_, &product_, &serial_), kLinkOk)
        << "emulated printer not found: is libumockdev-preload.so.0 preloaded?";
    EXPECT_TRUE(device_.Claimed(0));
    EXPECT_NE(context.inPipeRef, 0);
    EXPECT_NE(context.outPipeRef, 0);
    Frame expected = protocol::InitializeFrame();
    const Frame mode = protocol::ModeFrame();
    expected.insert(expected.end(), mode.begin(), mode.end());
    EXPECT_EQ(responder_.received, expected);
    link_.UsbClose(context);
    ExpectInterfaceReleased();
}

TEST_P(LibusbLinkTest, EverySettingIsWrittenAndReadBack) {
    // Values other than each setting's default, so a write that is lost shows.
    const std::vector<std::pair<protocol::SettingKind, std::uint8_t>> writes{{protocol::kPowerOn, 1},
                                                                             {protocol::kAutoPowerOff, 3},
                                                                             {protocol::kNetwork, 0},
                                                                             {protocol::kInfoPrint, 1}};
    for (const auto& [kind, value] : writes) {
        SCOPED_TRACE(kind);
        const protocol::ReadRequest read = *protocol::ReadRequestFor(kind);
        std::vector<std::uint8_t> reply(read.replyLength);
        ASSERT_EQ(Exchange({*protocol::WriteFrameFor(kind, value), read.frame}, reply), kLinkOk);
        EXPECT_EQ(reply[read.valuePosition], value);
        ExpectInterfaceReleased();

        std::fill(reply.begin(), reply.end(), 0xEE);
        ASSERT_EQ(Exchange({read.frame}, reply), kLinkOk);
        EXPECT_EQ(reply[read.valuePosition], value);
        EXPECT_EQ(responder_.printer.settings().Get(kind), value);
        ExpectInterfaceReleased();
    }
}

TEST_P(LibusbLinkTest, ResetRestoresTheDefaults) {
    simulator::PrinterSettings changed;
    changed.Set(protocol::kAutoPowerOff, 1);
    changed.Set(protocol::kPowerOn, 1);
    responder_.printer.SetSettings(changed);
    const protocol::ResetExchange reset = protocol::ResetExchangeFrames();
    std::vector<std::uint8_t> reply(reset.readRequest.replyLength);
    ASSERT_EQ(Exchange({reset.resetFrame, reset.readRequest.frame}, reply), kLinkOk);
    EXPECT_EQ(responder_.printer.settings(), simulator::PrinterSettings{});
    ExpectInterfaceReleased();
}

std::string VariantName(const ::testing::TestParamInfo<Variant>& variant) {
    switch (variant.param) {
    case Variant::WithoutStrings:
        return "WithoutStrings";
    case Variant::BidirectionalAtAlt1:
        return "BidirectionalAtAlt1";
    default:
        return "Default";
    }
}

INSTANTIATE_TEST_SUITE_P(Printers, LibusbLinkTest,
                         ::testing::Values(Variant::Default, Variant::WithoutStrings,
                                           Variant::BidirectionalAtAlt1),
                         VariantName);

// Faults need only one printer.
class LibusbLinkFaultTest : public LibusbLinkTest {};

TEST_P(LibusbLinkFaultTest, StalledReplyPipeFailsTheReadWithItsStatus) {
    device_.Halt(kBulkIn);
    const protocol::ReadRequest read = *protocol::ReadRequestFor(protocol::kPowerOn);
    std::vector<std::uint8_t> reply(read.replyLength);
    EXPECT_EQ(Exchange({read.frame}, reply), kLinkReadFailed);
    EXPECT_EQ(error_, platform::kUsbErrorPipe);
    ExpectInterfaceReleased();
}

TEST_P(LibusbLinkFaultTest, PrinterThatNeverAnswersTimesOutAfterCountedPasses) {
    responder_.silent = true;
    const protocol::ReadRequest read = *protocol::ReadRequestFor(protocol::kPowerOn);
    std::vector<std::uint8_t> reply(read.replyLength);
    EXPECT_EQ(Exchange({read.frame}, reply), kLinkReadFailed);
    EXPECT_EQ(error_, 0);
    // 40 passes fit the time-out, and a 41st could not count: each pass is one bounded transfer.
    EXPECT_EQ(device_.BulkInSubmissions(), 40);
    ExpectInterfaceReleased();
}

TEST_P(LibusbLinkFaultTest, UnplugDuringAnExchangeEndsItAndTheNextFindsNoPrinter) {
    device_.UnplugAfterBulkOut(3); // the two frames of the open, then the read request
    const protocol::ReadRequest read = *protocol::ReadRequestFor(protocol::kPowerOn);
    std::vector<std::uint8_t> reply(read.replyLength);
    EXPECT_EQ(Exchange({read.frame}, reply), kLinkReadFailed);
    EXPECT_EQ(error_, platform::kUsbErrorNoDevice);

    device_.Unplug();
    EXPECT_EQ(Exchange({read.frame}, reply), kLinkNoPrinter);
    EXPECT_EQ(error_, 0);
}

INSTANTIATE_TEST_SUITE_P(Printer, LibusbLinkFaultTest, ::testing::Values(Variant::Default));

} // namespace
