// How an exchange goes on when another program takes the printer mid-way: begun again from its start
// once the printer is free, with nothing lost, nothing given twice, and an end when it stays taken.

#include "platform/usbhost/libusb/PrinterSession.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;
using namespace platform::libusb;
using namespace std::chrono_literals;

const std::vector<std::uint8_t> kReply{1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::uint8_t kOut = 0x02;
constexpr std::uint8_t kIn = 0x81;

// The printer behind every route: answers the last frame of an exchange with kReply, a few bytes a
// pass. Operations (writes and read passes, over all routes) are counted from 1; at those listed the
// route is cut, as CUPS detaching usblp does.
struct FakePrinter {
    std::vector<int> cutAt;
    int busyAfterCut = 0;        // opens refused as in use after each cut; -1: for ever
    UsbStatus failWith = kUsbOk; // at the first cut instead of cutting: a failure of the printer's own
    int operations = 0, opens = 0, refusedSinceCut = 0;
    std::vector<std::vector<std::uint8_t>> lastRouteFrames;
    std::size_t replyLeft = 0;

    bool CutNow() {
        ++operations;
        return std::find(cutAt.begin(), cutAt.end(), operations) != cutAt.end();
    }
};

class FakeRoute final : public PipeRoute {
  public:
    explicit FakeRoute(FakePrinter& printer) : printer_(printer) {
        printer_.lastRouteFrames.clear();
        printer_.replyLeft = 0;
    }
    RouteResult Write(std::uint8_t, std::span<const std::uint8_t> bytes) override {
        if (printer_.CutNow()) {
            return Cut();
        }
        printer_.lastRouteFrames.emplace_back(bytes.begin(), bytes.end());
        printer_.replyLeft = kReply.size();
        return {};
    }
    RouteResult ReadPass(std::uint8_t, std::span<std::uint8_t> room, std::uint32_t& delivered) override {
        delivered = 0;
        if (printer_.CutNow()) {
            return Cut();
        }
        const std::size_t from = kReply.size() - printer_.replyLeft;
        delivered = static_cast<std::uint32_t>(std::min<std::size_t>({room.size(), printer_.replyLeft, 3}));
        std::copy_n(kReply.begin() + static_cast<std::ptrdiff_t>(from), delivered, room.begin());
        printer_.replyLeft -= delivered;
        return {};
    }
    UsbStatus PipeStatus(std::uint8_t) override { return kUsbOk; }

  private:
    RouteResult Cut() {
        if (printer_.failWith != kUsbOk) {
            return {printer_.failWith, false};
        }
        printer_.refusedSinceCut = 0;
        return {kUsbErrorNoDevice, true};
    }
    FakePrinter& printer_;
};

class FakeOpener final : public RouteOpener {
  public:
    explicit FakeOpener(FakePrinter& printer) : printer_(printer) {}
    OpenAttempt OpenRoute(std::unique_ptr<PipeRoute>& route) override {
        const bool afterCut = printer_.opens > 0;
        if (afterCut && (printer_.busyAfterCut < 0 || printer_.refusedSinceCut < printer_.busyAfterCut)) {
            ++printer_.refusedSinceCut;
            return {kUsbErrorBusy, true};
        }
        ++printer_.opens;
        route = std::make_unique<FakeRoute>(printer_);
        return {};
    }

  private:
    FakePrinter& printer_;
};

TEST(PrinterSession, AnExchangeCutByAnotherProgramIsBegunAgainAndEndsAsIfUncut) {
    const std::vector<std::vector<std::uint8_t>> frames{
        {0x1B, 0x40}, {0x1B, 0x69, 0x61, 0x01}, {0x1B, 0x69, 0x55}};
    struct Case {
        const char* name;
        FakePrinter printer;
        UsbStatus ended;
        int opens;
    };
    // Operations 1-3 write the frames; 4 on read the reply, three bytes a pass.
    Case cases[] = {
        {"never cut", {}, kUsbOk, 1},
        {"cut at the request, free again after a while", {.cutAt = {3}, .busyAfterCut = 2}, kUsbOk, 2},
        {"cut half-way through the reply", {.cutAt = {5}}, kUsbOk, 2},
        {"cut again while it begins again", {.cutAt = {2, 4}}, kUsbOk, 3},
        {"cut at the last pass of the reply", {.cutAt = {6}}, kUsbOk, 2},
        {"taken for longer than the wait", {.cutAt = {5}, .busyAfterCut = -1}, kUsbErrorBusy, 1},
        {"taken again and again: the waits add up to one", {.cutAt = {3, 6}, .busyAfterCut = 2}, kUsbErrorBusy, 2},
        {"the printer's own failure is no cut", {.cutAt = {5}, .failWith = kUsbErrorIo}, kUsbErrorIo, 1},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeOpener opener(c.printer);
        PrinterSession session(opener, 300ms);
        ASSERT_EQ(session.Open(), kUsbOk);
        UsbStatus status = kUsbOk;
        for (const auto& frame : frames) {
            if (status == kUsbOk) {
                status = session.Write(kOut, frame);
            }
        }
        std::vector<std::uint8_t> got;
        for (int pass = 0; status == kUsbOk && got.size() < kReply.size() && pass < 20; ++pass) {
            std::uint8_t room[8] = {};
            std::uint32_t delivered = 0;
            status = session.ReadPass(kIn, std::span(room, kReply.size() - got.size()), delivered);
            got.insert(got.end(), room, room + delivered);
        }
        EXPECT_EQ(status, c.ended);
        EXPECT_EQ(c.printer.opens, c.opens);
        if (c.ended == kUsbOk) {
            EXPECT_EQ(got, kReply) << "the reply whole, nothing twice";
            EXPECT_EQ(c.printer.lastRouteFrames, frames) << "the printer had every frame, in order";
        }
    }
}

} // namespace
