// How the libusb backend takes the printer from its kernel driver and gives it back, against a device
// emulated at the usbfs level with its interfaces shown in sysfs: the wait for a printer in use, the
// guard of a print job, notes left by killed runs, another program taking the printer in between, and
// the ways a process ends while it holds the printer.

#include "platform/usb/libusb/DetachLedger.h"
#include "platform/usb/libusb/LibusbBus.h"
#include "tests/platform/usb/LibusbPrinterLayouts.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace platform;
using namespace usbfs_test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SilentResponder final : public DeviceResponder {
  public:
    void Receive(std::span<const std::uint8_t>) override {}
    std::vector<std::uint8_t> TakeReply() override { return {}; }
};

class LibusbClaimTest : public ::testing::Test {
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

    static fs::path LedgerFolder() { return DefaultLedgerPlaces().own->path; }
    static std::vector<std::string> Notes() {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(LedgerFolder(), error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    // Where the backend finds the device, as it names its note while it holds the interface.
    InterfaceLocation LocationOf(EmulatedDevice& device) {
        auto handle = Interface();
        EXPECT_EQ(handle->USBInterfaceOpen(), kUsbOk);
        const std::vector<std::string> notes = Notes();
        handle.reset();
        EXPECT_EQ(notes.size(), 1u);
        InterfaceLocation location;
        location.bus = 1;
        location.address = 5;
        location.configuration = 1;
        const std::string name = notes.empty() ? "1-5:0" : notes[0];
        location.ports = name.substr(2, name.find(':') - 2);
        EXPECT_TRUE(device.DriverBound(0));
        return location;
    }

    // The note a run killed outright left behind.
    static void LeaveNoteOfKilledRun(const InterfaceLocation& location) {
        const pid_t child = fork();
        if (child == 0) {
            _exit(DetachLedger().Write(location, "usblp") ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    SilentResponder responder_;
    std::unique_ptr<UsbBus> bus_ = CreateLibusbBus();
};

// The bound is the caller's, to the millisecond: passes are made until it is reached, and none after.
TEST_F(LibusbClaimTest, APrinterInUseIsWaitedForAsLongAsAskedFractionsIncluded) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.TakeNow(10s);
    struct Case {
        std::chrono::milliseconds wait;
        int fewestPasses, mostPasses;
    };
    for (const Case c : {Case{0ms, 1, 1}, Case{500ms, 2, 6}}) {
        SCOPED_TRACE(c.wait.count());
        WaitingFor(c.wait);
        auto second = Interface();
        const int before = device.ClaimAttempts();
        const auto start = Clock::now();
        EXPECT_EQ(second->USBInterfaceOpen(), kUsbErrorBusy);
        EXPECT_GE(Clock::now() - start, c.wait) << "gave up before the wait was over";
        const int passes = device.ClaimAttempts() - before;
        EXPECT_GE(passes, c.fewestPasses);
        EXPECT_LE(passes, c.mostPasses);
    }
    EXPECT_TRUE(device.Claimed(0)) << "the other program keeps the printer";
}

// usblp's node is held by a print job, or this user may not open it: either way nobody can tell that no
// job is being printed, so the driver is not touched and the run says the printer is in use.
TEST_F(LibusbClaimTest, ADriverWhoseNodeCannotBeOpenedIsLeftAlone) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.ShowInSysfs();
    std::unique_ptr<UsbInterface> handle;

    fs::remove(device.PrinterNodeInTestbed());
    fs::create_directory(device.PrinterNodeInTestbed()); // cannot be opened for writing
    {
        WaitingFor(300ms);
        handle = Interface();
        const auto start = Clock::now();
        EXPECT_EQ(handle->USBInterfaceOpen(), kUsbErrorBusy);
        EXPECT_GE(Clock::now() - start, 300ms) << "a job in progress is waited for";
    }
    EXPECT_TRUE(device.DriverBound(0));
    EXPECT_EQ(device.ClaimAttempts(), 0) << "the interface was never taken";
    EXPECT_TRUE(Notes().empty());

    // Once the node opens, nothing can be printing: the driver steps aside for the run.
    fs::remove(device.PrinterNodeInTestbed());
    std::ofstream(device.PrinterNodeInTestbed()).flush();
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_FALSE(device.DriverBound(0));
    handle.reset();
    EXPECT_TRUE(device.DriverBound(0));
}

// A run killed outright left the driver away. The next run gives it back only to the plug it was taken
// from: after a replug (another address) the device is another one, and an administrator who unbound
// its driver since meant it.
TEST_F(LibusbClaimTest, AKilledRunsDriverIsGivenBackOnlyToItsOwnPlug) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.ShowInSysfs();
    const InterfaceLocation here = LocationOf(device);
    struct Case {
        const char* what;
        int noteAddress;
        bool boundAfterwards;
    };
    // The second case leaves the driver unbound, as the administrator wanted.
    for (const Case c : {Case{"this plug", 5, true}, Case{"an earlier plug", 4, false}}) {
        SCOPED_TRACE(c.what);
        InterfaceLocation killed = here;
        killed.address = c.noteAddress;
        LeaveNoteOfKilledRun(killed);
        device.UnbindDriver(0);
        auto handle = Interface();
        ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
        handle.reset();
        EXPECT_EQ(device.DriverBound(0), c.boundAfterwards);
        EXPECT_TRUE(Notes().empty()) << "the note has done its work either way";
    }
}

// A print spooler retrying its claim takes the interface the moment the run lets go, before the driver
// is attached again. The run waits for it like a printer in use and then gives the driver back; a
// spooler that stays longer leaves the note for the next claim, which gives the driver back first.
TEST_F(LibusbClaimTest, AProgramTakingThePrinterInTheGapIsWaitedForBeforeTheDriverComesBack) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.ShowInSysfs();
    WaitingFor(1500ms);
    {
        auto handle = Interface();
        ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
        device.TakeOnNextRelease(300ms);
        ASSERT_EQ(handle->USBInterfaceClose(), kUsbOk);
        EXPECT_TRUE(device.DriverBound(0));
        EXPECT_TRUE(Notes().empty());
    }
    {
        auto handle = Interface();
        ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
        device.TakeOnNextRelease(2500ms);
        testing::internal::CaptureStderr();
        ASSERT_EQ(handle->USBInterfaceClose(), kUsbOk);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(device.DriverBound(0));
        EXPECT_EQ(Notes().size(), 1u) << "kept for the next run";
        EXPECT_NE(told.find("could not be given back"), std::string::npos) << told;
    }
    std::this_thread::sleep_for(1200ms); // the spooler's job ends
    ASSERT_FALSE(device.Claimed(0));
    auto next = Interface();
    ASSERT_EQ(next->USBInterfaceOpen(), kUsbOk);
    next.reset();
    EXPECT_TRUE(device.DriverBound(0));
    EXPECT_TRUE(Notes().empty());
}

// The other way round: a spooler held the printer when the run began, having set usblp aside, and lets
// go without giving it back (it found the run in its way). The run, which waited for it, gives usblp back.
TEST_F(LibusbClaimTest, ADriverAnotherProgramLeftAwayIsGivenBackAfterTheRun) {
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    device.ShowInSysfs();
    device.UnbindDriver(0);
    device.TakeNow(300ms);
    WaitingFor(3s);
    auto handle = Interface();
    ASSERT_EQ(handle->USBInterfaceOpen(), kUsbOk);
    EXPECT_FALSE(device.DriverBound(0));
    handle.reset();
    EXPECT_TRUE(device.DriverBound(0));
    EXPECT_TRUE(Notes().empty());
}

// The window leaves through exit() when its display goes away, and an uncaught exception ends in
// std::terminate(): both while an exchange may hold the printer. What the process sees last (an exit
// handler or terminate handler installed before the printer was taken) finds the driver back.
EmulatedDevice* watched = nullptr;
void SayWhetherTheDriverIsBack() {
    std::fputs(watched != nullptr && watched->DriverBound(0) && !watched->Claimed(0) ? "driver back\n"
                                                                                     : "driver away\n",
               stderr);
}

TEST_F(LibusbClaimTest, ExitAndTerminateGiveTheDriverBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: its handlers in a known order
    EmulatedDevice device(1, 5, DefaultPrinterLayout(), responder_);
    watched = &device;
    EXPECT_EXIT(
        {
            std::atexit(SayWhetherTheDriverIsBack);
            auto handle = Interface();
            if (handle->USBInterfaceOpen() == kUsbOk && !device.DriverBound(0)) {
                std::exit(3);
            }
        },
        testing::ExitedWithCode(3), "driver back");
    EXPECT_DEATH(
        {
            std::set_terminate([] {
                SayWhetherTheDriverIsBack();
                std::abort();
            });
            auto handle = Interface();
            if (handle->USBInterfaceOpen() == kUsbOk && !device.DriverBound(0)) {
                std::terminate();
            }
        },
        "driver back");
    watched = nullptr;
}

} // namespace
