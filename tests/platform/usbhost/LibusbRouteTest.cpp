// Which way the libusb backend's pipes go, against a device emulated at the usbfs level: through
// usblp's node while usblp is bound, through a claim where nothing is bound, and never by taking the
// interface from a driver.

#include "platform/usbhost/libusb/LibusbBus.h"
#include "tests/platform/usbhost/LibusbPrinterLayouts.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using namespace platform;
using namespace usbfs_test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SilentResponder final : public DeviceResponder {
  public:
    void Receive(std::span<const std::uint8_t> bytes) override {
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t> TakeReply() override { return {}; }
    std::vector<std::uint8_t> received;
};

constexpr std::uint8_t kOutPipe = 1;
constexpr std::uint8_t kInPipe = 2;

class LibusbRouteTest : public ::testing::Test {
  protected:
    // The bus a program that waits this long for a printer in use would open.
    void WaitingFor(std::chrono::milliseconds wait) { bus_ = CreateLibusbBus({.inUseWait = wait}); }

    std::unique_ptr<UsbInterface> Interface() {
        std::vector<std::unique_ptr<UsbInterfaceEntry>> entries;
        EXPECT_EQ(bus_->ListInterfaces(entries), kUsbOk);
        EXPECT_EQ(entries.size(), 1u) << "emulated device not found: is libumockdev-preload.so.0 preloaded?";
        std::unique_ptr<UsbInterface> handle;
        if (entries.size() == 1) {
            EXPECT_EQ(entries[0]->CreateInterface(handle), kUsbOk);
        }
        return handle;
    }

    static std::vector<std::uint8_t> Contents(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    SilentResponder responder_;
    std::unique_ptr<UsbBus> bus_ = CreateLibusbBus();
};

// The bound is the caller's, to the millisecond: claims are tried until it is reached, and none after.
TEST_F(LibusbRouteTest, AnotherProgramsClaimIsWaitedForAsLongAsAskedFractionsIncluded) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.TakeNow(10s);
    struct Case {
        std::chrono::milliseconds wait;
        int fewestTries, mostTries;
    };
    for (const Case c : {Case{0ms, 1, 1}, Case{500ms, 2, 6}}) {
        SCOPED_TRACE(c.wait.count());
        WaitingFor(c.wait);
        auto second = Interface();
        const int before = device.ClaimAttempts();
        const auto start = Clock::now();
        EXPECT_EQ(second->USBInterfaceOpen(), kUsbErrorBusy);
        EXPECT_GE(Clock::now() - start, c.wait) << "gave up before the wait was over";
        const int tries = device.ClaimAttempts() - before;
        EXPECT_GE(tries, c.fewestTries);
        EXPECT_LE(tries, c.mostTries);
    }
    EXPECT_TRUE(device.Claimed(0)) << "the other program keeps the printer";
}

// What the kernel shows decides the way; a driver is never unbound for it, and is bound as before
// afterwards.
TEST_F(LibusbRouteTest, TheBoundDriverDecidesTheWayAndStays) {
    struct Case {
        const char* name;
        bool shownInSysfs, usblpBound;
        UsbStatus opened;
        bool throughNode, claimed;
    };
    const Case cases[] = {
        {"usblp with its node: through the node", true, true, kUsbOk, true, false},
        {"a kernel driver with no node to be seen: in use", false, true, kUsbErrorBusy, false, false},
        {"nothing bound: claimed", true, false, kUsbOk, false, true},
        {"nothing bound, not shown: claimed", false, false, kUsbOk, false, true},
    };
    const std::vector<std::uint8_t> frame{0x1B, 0x40};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SilentResponder responder;
        EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder);
        if (c.usblpBound) {
            device.BindDriver(0);
        }
        if (c.shownInSysfs) {
            device.ShowInSysfs();
        }
        WaitingFor(200ms);
        auto handle = Interface();
        ASSERT_TRUE(handle);
        ASSERT_EQ(handle->USBInterfaceOpen(), c.opened);
        if (c.opened == kUsbOk) {
            EXPECT_EQ(device.Claimed(0), c.claimed);
            ASSERT_EQ(handle->WritePipe(kOutPipe, frame.data(), static_cast<std::uint32_t>(frame.size())),
                      kUsbOk);
            EXPECT_EQ(responder.received == frame, c.claimed) << "bytes on the usbfs pipe";
            if (c.throughNode) {
                const std::vector<std::uint8_t> atNode = Contents(device.PrinterNodeInTestbed());
                EXPECT_TRUE(atNode.size() >= frame.size() &&
                            std::equal(frame.begin(), frame.end(), atNode.begin()))
                    << "bytes at usblp's node";
            }
        }
        handle.reset();
        EXPECT_FALSE(device.Claimed(0));
        EXPECT_EQ(device.DriverBound(0), c.usblpBound);
        EXPECT_EQ(device.Detaches(), 0);
        if (!c.claimed) {
            EXPECT_EQ(device.ClaimAttempts(), 0);
        }
    }
}

// A zero-length packet reads as nothing through usblp's node (the emulated node, a plain file at its
// end, reads nothing at once): a pass waits out its time and delivers nothing, it does not end early.
TEST_F(LibusbRouteTest, AReadPassThroughTheNodeThatGetsNothingLastsItsTime) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.BindDriver(0);
    device.ShowInSysfs();
    auto handle = Interface();
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    const std::uint8_t frame[] = {0x1B, 0x40}; // the whole node's file, so it reads nothing after it
    ASSERT_EQ(handle->WritePipe(kOutPipe, frame, sizeof frame), kUsbOk);
    std::uint8_t reply[32] = {};
    std::uint32_t size = sizeof reply;
    const auto start = Clock::now();
    EXPECT_EQ(handle->ReadPipe(kInPipe, reply, size), kUsbOk);
    EXPECT_EQ(size, 0u);
    EXPECT_GE(Clock::now() - start, 90ms);
}

} // namespace
