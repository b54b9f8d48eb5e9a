// The libusb backend through its own interface, against devices emulated at the usbfs level.

#include "platform/usbhost/libusb/LibusbBus.h"

#include "tests/platform/usbhost/LibusbPrinterLayouts.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>

namespace {

using namespace platform;
using namespace usbfs_test;

// Records what the host wrote and answers with queued replies.
class ScriptedResponder final : public DeviceResponder {
  public:
    void Receive(std::span<const std::uint8_t> bytes) override {
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t> TakeReply() override {
        if (replies.empty()) {
            return {};
        }
        auto reply = std::move(replies.front());
        replies.pop_front();
        return reply;
    }
    std::vector<std::uint8_t> received;
    std::deque<std::vector<std::uint8_t>> replies;
};

constexpr std::uint8_t kOutPipe = 1;
constexpr std::uint8_t kInPipe = 2;

class LibusbBusTest : public ::testing::Test {
  protected:
    std::vector<std::unique_ptr<UsbInterfaceEntry>> List() {
        std::vector<std::unique_ptr<UsbInterfaceEntry>> entries;
        EXPECT_EQ(bus_->ListInterfaces(entries), kUsbOk);
        return entries;
    }

    // The only interface of the only device on the bus; fails loudly when the emulation is missing.
    std::unique_ptr<UsbInterface> OnlyInterface() {
        auto entries = List();
        EXPECT_EQ(entries.size(), 1u) << "emulated device not found: is libumockdev-preload.so.0 preloaded?";
        std::unique_ptr<UsbInterface> handle;
        if (entries.size() == 1) {
            EXPECT_EQ(entries[0]->CreateInterface(handle), kUsbOk);
        }
        return handle;
    }

    ScriptedResponder responder_;
    std::unique_ptr<UsbBus> bus_ = CreateLibusbBus();
};

TEST_F(LibusbBusTest, ListsEveryInterfaceInBusAddressAndInterfaceOrderWithoutOpeningDevices) {
    EmulatedDeviceLayout composite = DefaultPrinterLayout();
    composite.interfaces = {{{{3, 0, 0, {{0x83, 0x03, 8}}}}}, {{{7, 1, 2, {{kBulkOut}, {kBulkIn}}}}}};
    EmulatedDevice later(2, 3, DefaultPrinterLayout(), responder_);
    EmulatedDevice first(1, 9, composite, responder_);

    auto entries = List();
    ASSERT_EQ(entries.size(), 3u) << "emulated devices not found: is libumockdev-preload.so.0 preloaded?";
    struct Expected {
        UsbDeviceRef device;
        std::uint8_t number, interfaceClass, protocol;
    };
    const std::array<Expected, 3> expected{
        {{1 << 8 | 9, 0, 3, 0}, {1 << 8 | 9, 1, 7, 2}, {2 << 8 | 3, 0, 7, 2}}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        std::unique_ptr<UsbInterface> handle;
        ASSERT_EQ(entries[i]->CreateInterface(handle), kUsbOk);
        UsbDeviceRef device = 0;
        std::uint8_t number = 0, interfaceClass = 0, protocol = 0, configuration = 0;
        EXPECT_EQ(handle->GetDevice(device), kUsbOk);
        EXPECT_EQ(handle->GetInterfaceNumber(number), kUsbOk);
        EXPECT_EQ(handle->GetInterfaceClass(interfaceClass), kUsbOk);
        EXPECT_EQ(handle->GetInterfaceProtocol(protocol), kUsbOk);
        EXPECT_EQ(handle->GetConfigurationValue(configuration), kUsbOk);
        EXPECT_EQ(device, expected[i].device);
        EXPECT_EQ(number, expected[i].number);
        EXPECT_EQ(interfaceClass, expected[i].interfaceClass);
        EXPECT_EQ(protocol, expected[i].protocol);
        EXPECT_EQ(configuration, 1);
    }
    EXPECT_EQ(first.Opens(), 0);
    EXPECT_EQ(later.Opens(), 0);
}

// Where no kernel driver has the interface, it is claimed for the exchange and released after it:
// nothing is detached, and nothing is bound afterwards.
TEST_F(LibusbBusTest, OpenClaimsAFreeInterfaceAndEveryEndReleasesIt) {
    EmulatedDevice device(1, 5, PrinterWithBidirectionalAlt1(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_TRUE(device.Claimed(0));
    EXPECT_EQ(handle->USBInterfaceClose(), kUsbOk);
    EXPECT_FALSE(device.Claimed(0));

    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    handle.reset(); // a handle dropped while open
    EXPECT_FALSE(device.Claimed(0));

    handle = OnlyInterface();
    ASSERT_EQ(handle->SetAlternateInterface(1), kUsbOk);
    device.RefuseSetInterface();
    EXPECT_NE(handle->USBInterfaceOpen(), kUsbOk); // an open that fails half-way
    EXPECT_FALSE(device.Claimed(0));
    EXPECT_FALSE(device.DriverBound(0));
    EXPECT_EQ(device.Detaches(), 0);
}

TEST_F(LibusbBusTest, WriteTheDeviceTookOnlyPartOfFails) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    device.ShortenBulkOut(1);
    const std::array<std::uint8_t, 4> frame{0x1B, 0x69, 0x61, 0x01};
    EXPECT_EQ(handle->WritePipe(kOutPipe, frame.data(), frame.size()), kUsbErrorIo);
}

TEST_F(LibusbBusTest, SystemShowsTheStringsOfADeviceNobodyOpened) {
    EmulatedDevice named(1, 5, DefaultPrinterLayout(), responder_);
    EmulatedDevice unnamed(1, 6, PrinterWithoutStrings(), responder_);
    auto entries = List();
    ASSERT_EQ(entries.size(), 2u) << "emulated devices not found: is libumockdev-preload.so.0 preloaded?";
    struct Expected {
        std::optional<std::string> manufacturer, product;
    };
    const std::array<Expected, 2> expected{{{"Tamblor", "LM-360R"}, {std::nullopt, std::nullopt}}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::unique_ptr<UsbInterface> handle;
        ASSERT_EQ(entries[i]->CreateInterface(handle), kUsbOk);
        std::optional<std::string> manufacturer, product;
        EXPECT_EQ(handle->GetSystemDeviceStrings(manufacturer, product), kUsbOk);
        EXPECT_EQ(manufacturer, expected[i].manufacturer);
        EXPECT_EQ(product, expected[i].product);
    }
    EXPECT_EQ(named.Opens() + unnamed.Opens(), 0);
}

TEST_F(LibusbBusTest, InterfaceHeldByAnotherHandleIsBusy) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    bus_ = CreateLibusbBus({.inUseWait = std::chrono::milliseconds(0)});
    auto holder = OnlyInterface();
    auto second = OnlyInterface();
    ASSERT_TRUE(holder && second);
    ASSERT_EQ(holder->USBInterfaceOpen(), kUsbOk);
    EXPECT_EQ(second->USBInterfaceOpen(), kUsbErrorBusy);
    // The refused handle cannot disturb the holder.
    EXPECT_EQ(second->USBInterfaceClose(), kUsbOk);
    EXPECT_TRUE(device.Claimed(0));
    holder.reset();
    EXPECT_FALSE(device.Claimed(0));
}

TEST_F(LibusbBusTest, AlternateSettingsReachTheDeviceOnlyWithTheInterfaceAndSurviveReclaiming) {
    EmulatedDevice device(1, 5, PrinterWithBidirectionalAlt1(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    std::uint8_t protocol = 0, alternate = 9, endpoints = 0;
    EXPECT_EQ(handle->GetInterfaceProtocol(protocol), kUsbOk);
    EXPECT_EQ(protocol, 1);
    EXPECT_EQ(handle->GetAlternateSetting(alternate), kUsbOk);
    EXPECT_EQ(alternate, 0);
    // Looking at another setting is the handle's own business: nothing is claimed or sent.
    ASSERT_EQ(handle->SetAlternateInterface(1), kUsbOk);
    EXPECT_EQ(handle->GetInterfaceProtocol(protocol), kUsbOk);
    EXPECT_EQ(protocol, 2);
    EXPECT_EQ(device.AltSetting(0), 0);
    EXPECT_EQ(handle->SetAlternateInterface(2), kUsbErrorNotFound);

    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_EQ(device.AltSetting(0), 1) << "the handle's setting is the device's once it is claimed";
    ASSERT_EQ(handle->SetAlternateInterface(0), kUsbOk);
    EXPECT_EQ(device.AltSetting(0), 0);
    ASSERT_EQ(handle->SetAlternateInterface(1), kUsbOk);
    EXPECT_EQ(handle->GetInterfaceProtocol(protocol), kUsbOk);
    EXPECT_EQ(protocol, 2);
    EXPECT_EQ(handle->GetAlternateSetting(alternate), kUsbOk);
    EXPECT_EQ(alternate, 1);
    EXPECT_EQ(handle->GetNumEndpoints(endpoints), kUsbOk);
    EXPECT_EQ(endpoints, 2);
    EXPECT_EQ(device.AltSetting(0), 1);

    // Another program may leave the interface in any setting; claiming it again must restore the
    // setting the handle reports, or its pipes would not exist.
    ASSERT_EQ(handle->USBInterfaceClose(), kUsbOk);
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_EQ(device.AltSetting(0), 1);
}

TEST_F(LibusbBusTest, ControlRequestsReportWhatTheDeviceDelivered) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    const std::string deviceId = *DefaultPrinterLayout().deviceId;
    const std::vector<std::uint8_t> descriptors = DescriptorBytes(DefaultPrinterLayout());
    struct Case {
        const char* what;
        std::uint8_t requestType, request;
        std::uint16_t value, index, length;
        UsbStatus status;
        std::vector<std::uint8_t> answer;
    };
    std::vector<std::uint8_t> idAnswer(deviceId.size() + 2);
    idAnswer[1] = static_cast<std::uint8_t>(idAnswer.size()); // big-endian length, counting itself
    std::copy(deviceId.begin(), deviceId.end(), idAnswer.begin() + 2);
    const std::vector<Case> cases{
        {"product string",
         0x80,
         6,
         0x0302,
         0,
         256,
         kUsbOk,
         {16, 3, 'L', 0, 'M', 0, '-', 0, '3', 0, '6', 0, '0', 0, 'R', 0}},
        {"device descriptor",
         0x80,
         6,
         0x0100,
         0,
         18,
         kUsbOk,
         {descriptors.begin(), descriptors.begin() + 18}},
        {"missing string stalls", 0x80, 6, 0x0307, 0, 256, kUsbErrorPipe, {}},
        {"device ID", 0xA1, 0, 0, 0x0000, 256, kUsbOk, idAnswer},
        {"device ID cut to the room offered",
         0xA1,
         0,
         0,
         0x0000,
         4,
         kUsbOk,
         {idAnswer.begin(), idAnswer.begin() + 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> buffer(c.length, 0xEE);
        UsbDevRequest request{c.requestType, c.request, c.value, c.index, c.length, buffer.data(), 99};
        EXPECT_EQ(handle->ControlRequest(request), c.status);
        ASSERT_EQ(request.wLenDone, c.answer.size());
        EXPECT_TRUE(std::equal(c.answer.begin(), c.answer.end(), buffer.begin()));
    }
    EXPECT_FALSE(device.Claimed(0)) << "control requests need no claim";
}

TEST_F(LibusbBusTest, PipePropertiesFollowEndpointOrder) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    PipeProperties out, in, none;
    ASSERT_EQ(handle->GetPipeProperties(kOutPipe, out), kUsbOk);
    ASSERT_EQ(handle->GetPipeProperties(kInPipe, in), kUsbOk);
    EXPECT_EQ(out.direction, kPipeDirectionOut);
    EXPECT_EQ(out.number, 2);
    EXPECT_EQ(out.transferType, kPipeTypeBulk);
    EXPECT_EQ(out.maxPacketSize, 64);
    EXPECT_EQ(in.direction, kPipeDirectionIn);
    EXPECT_EQ(in.number, 1);
    EXPECT_EQ(handle->GetPipeProperties(0, none), kUsbErrorInvalidParam);
    EXPECT_EQ(handle->GetPipeProperties(3, none), kUsbErrorInvalidParam);
}

TEST_F(LibusbBusTest, BulkTransfersCarryFramesAndReplies) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    const std::array<std::uint8_t, 5> frame{0x1B, 'i', 'U', 'p', 0x01};
    EXPECT_NE(handle->WritePipe(kOutPipe, frame.data(), frame.size()), kUsbOk)
        << "written without the interface";
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_EQ(handle->GetPipeStatus(kOutPipe), kUsbOk);
    ASSERT_EQ(handle->WritePipe(kOutPipe, frame.data(), frame.size()), kUsbOk);
    EXPECT_EQ(responder_.received, std::vector<std::uint8_t>(frame.begin(), frame.end()));
    EXPECT_EQ(handle->WritePipe(kInPipe, frame.data(), frame.size()), kUsbErrorInvalidParam);

    // 40 bytes arrive in one packet while the host has room for 32: nothing may be lost.
    std::vector<std::uint8_t> reply(40);
    for (std::size_t i = 0; i < reply.size(); ++i) {
        reply[i] = static_cast<std::uint8_t>(i);
    }
    responder_.replies.push_back(reply);
    std::array<std::uint8_t, 32> buffer{};
    std::uint32_t size = 32;
    ASSERT_EQ(handle->ReadPipe(kInPipe, buffer.data(), size), kUsbOk);
    ASSERT_EQ(size, 32u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), reply.begin()));
    size = 32;
    ASSERT_EQ(handle->ReadPipe(kInPipe, buffer.data(), size), kUsbOk);
    ASSERT_EQ(size, 8u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 8, reply.begin() + 32));

    // Nothing to say: the pass ends by its time-out and succeeds with no bytes.
    size = 32;
    EXPECT_EQ(handle->ReadPipe(kInPipe, buffer.data(), size), kUsbOk);
    EXPECT_EQ(size, 0u);
}

TEST_F(LibusbBusTest, HaltedPipeIsReportedAndFailsItsTransfers) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    auto handle = OnlyInterface();
    ASSERT_TRUE(handle);
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    device.Halt(kBulkIn);
    EXPECT_EQ(handle->GetPipeStatus(kInPipe), kUsbErrorPipe);
    EXPECT_EQ(handle->GetPipeStatus(kOutPipe), kUsbOk);
    std::array<std::uint8_t, 32> buffer{};
    std::uint32_t size = 32;
    EXPECT_EQ(handle->ReadPipe(kInPipe, buffer.data(), size), kUsbErrorPipe);
    EXPECT_EQ(size, 0u);

    // A pipe that halts after it was last found clear is reported from then on.
    device.Halt(kBulkOut);
    const std::array<std::uint8_t, 2> frame{0x1B, 0x40};
    EXPECT_EQ(handle->WritePipe(kOutPipe, frame.data(), frame.size()), kUsbErrorPipe);
    EXPECT_EQ(handle->GetPipeStatus(kOutPipe), kUsbErrorPipe);
}

TEST_F(LibusbBusTest, UnpluggedDeviceFailsCleanlyAndLeavesTheBus) {
    auto device = std::make_unique<EmulatedDevice>(1, 5, DefaultPrinterLayout(), responder_);
    auto entries = List();
    ASSERT_EQ(entries.size(), 1u);
    std::unique_ptr<UsbInterface> handle;
    ASSERT_EQ(entries[0]->CreateInterface(handle), kUsbOk);
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);

    device->Unplug();
    std::array<std::uint8_t, 32> buffer{};
    std::uint32_t size = 32;
    EXPECT_EQ(handle->ReadPipe(kInPipe, buffer.data(), size), kUsbErrorNoDevice);
    EXPECT_EQ(handle->WritePipe(kOutPipe, buffer.data(), 4), kUsbErrorNoDevice);
    handle->USBInterfaceClose();
    handle.reset();
    EXPECT_TRUE(List().empty());
}

// Unplugging is told through libusb's hot-plug support (libudev's monitor, which umockdev feeds), and
// a watch that ends takes its event thread with it.
TEST_F(LibusbBusTest, AnUnpluggedDeviceIsToldToTheWatcher) {
    auto device = std::make_unique<EmulatedDevice>(1, 5, DefaultPrinterLayout(), responder_);
    ASSERT_EQ(List().size(), 1u);
    std::mutex mutex;
    std::condition_variable told;
    int changes = 0;
    auto watch = bus_->WatchDeviceChanges([&] {
        const std::lock_guard lock(mutex);
        ++changes;
        told.notify_all();
    });
    ASSERT_NE(watch, nullptr) << "libusb has hot-plug support on Linux";
    device->Unplug();
    std::unique_lock lock(mutex);
    EXPECT_TRUE(told.wait_for(lock, std::chrono::seconds(5), [&] { return changes > 0; }));
    lock.unlock();
    const auto before = std::chrono::steady_clock::now();
    watch.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1500));
}

} // namespace
