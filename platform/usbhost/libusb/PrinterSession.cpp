#include "platform/usbhost/libusb/PrinterSession.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace platform::libusb {
namespace {

using Clock = std::chrono::steady_clock;

} // namespace

PrinterSession::PrinterSession(RouteOpener& opener, std::chrono::milliseconds inUseWait)
    : opener_(opener), inUseWait_(inUseWait) {}

UsbStatus PrinterSession::OpenWaiting() {
    // One wait for the whole interface's open, however often another program cuts in: a printer that
    // keeps being taken ends as one in use.
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::max(std::chrono::milliseconds(0), inUseWait_ - waited_);
    const auto done = [&](UsbStatus status) {
        waited_ += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return status;
    };
    while (true) {
        route_.reset();
        const OpenAttempt attempt = opener_.OpenRoute(route_);
        if (attempt.status == kUsbOk && route_) {
            return done(kUsbOk);
        }
        route_.reset();
        if (!attempt.worthWaiting || Clock::now() >= deadline) {
            return done(attempt.status != kUsbOk ? attempt.status : kUsbErrorOther);
        }
        std::this_thread::sleep_for(kInUsePoll);
    }
}

UsbStatus PrinterSession::Open() {
    written_.clear();
    readSinceWrite_ = 0;
    skipOnRead_ = 0;
    waited_ = std::chrono::milliseconds(0);
    return OpenWaiting();
}

void PrinterSession::Close() {
    route_.reset();
    written_.clear();
}

UsbStatus PrinterSession::BeginAgain() {
    while (true) {
        if (const UsbStatus opened = OpenWaiting(); opened != kUsbOk) {
            return opened;
        }
        bool cutAgain = false;
        for (const Frame& frame : written_) {
            const RouteResult result = route_->Write(frame.endpoint, frame.bytes);
            if (result.cut) {
                cutAgain = true;
                break;
            }
            if (result.status != kUsbOk) {
                return result.status;
            }
        }
        if (!cutAgain) {
            skipOnRead_ = readSinceWrite_;
            return kUsbOk;
        }
    }
}

UsbStatus PrinterSession::Write(std::uint8_t endpoint, std::span<const std::uint8_t> bytes) {
    if (!route_) {
        return kUsbErrorNotFound;
    }
    written_.push_back({endpoint, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    readSinceWrite_ = 0;
    skipOnRead_ = 0;
    const RouteResult result = route_->Write(endpoint, bytes);
    // A new beginning writes this frame too, as the last of those since the open.
    return result.cut ? BeginAgain() : result.status;
}

UsbStatus PrinterSession::ReadPass(std::uint8_t endpoint, std::span<std::uint8_t> room,
                                   std::uint32_t& delivered) {
    delivered = 0;
    if (!route_) {
        return kUsbErrorNotFound;
    }
    RouteResult result = route_->ReadPass(endpoint, room, delivered);
    if (result.cut) {
        delivered = 0;
        if (const UsbStatus again = BeginAgain(); again != kUsbOk) {
            return again;
        }
        result = route_->ReadPass(endpoint, room, delivered);
        if (result.cut) {
            // Cut again at once: this pass delivered nothing; the next one begins again.
            delivered = 0;
            return BeginAgain();
        }
    }
    if (result.status != kUsbOk) {
        delivered = 0;
        return result.status;
    }
    // The reply of a new beginning repeats what the caller already has of the first one.
    const auto skipped = static_cast<std::uint32_t>(std::min<std::uint64_t>(skipOnRead_, delivered));
    if (skipped > 0) {
        std::memmove(room.data(), room.data() + skipped, delivered - skipped);
        delivered -= skipped;
        skipOnRead_ -= skipped;
    }
    readSinceWrite_ += delivered;
    return kUsbOk;
}

} // namespace platform::libusb
