#pragma once

// Private to the libusb backend.

#include "platform/usbhost/libusb/PipeRoute.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform::libusb {

// How often a printer in use is looked at again.
inline constexpr std::chrono::milliseconds kInUsePoll{100};

// The printer's pipes from an interface's open to its close, on whatever route the kernel's state
// offers. A printer in use is waited for, up to the in-use wait, when the interface is opened. When
// another program takes the printer mid-way (the route reports a cut), the exchange is begun again
// from its start once the printer is free, within what is left of the in-use wait: every frame written since
// the open goes out again in order, and a reply is read on from where the caller stands, the bytes it already
// has skipped. Every operation of this printer writes the same bytes again harmlessly.
class PrinterSession {
  public:
    PrinterSession(RouteOpener& opener, std::chrono::milliseconds inUseWait);

    // kUsbErrorBusy: still in use when the wait ran out; otherwise the route's own failure.
    UsbStatus Open();
    void Close();
    bool IsOpen() const { return route_ != nullptr; }
    PipeRoute* Route() const { return route_.get(); }

    UsbStatus Write(std::uint8_t endpoint, std::span<const std::uint8_t> bytes);
    UsbStatus ReadPass(std::uint8_t endpoint, std::span<std::uint8_t> room, std::uint32_t& delivered);

  private:
    UsbStatus OpenWaiting();
    UsbStatus BeginAgain();

    RouteOpener& opener_;
    std::chrono::milliseconds inUseWait_;
    std::chrono::milliseconds waited_{0}; // for the printer, since the open
    std::unique_ptr<PipeRoute> route_;
    struct Frame {
        std::uint8_t endpoint;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Frame> written_;       // since the open, in order
    std::uint64_t readSinceWrite_ = 0; // reply bytes the caller has had since the last frame
    std::uint64_t skipOnRead_ = 0;     // of those, still to come again after a new beginning
};

} // namespace platform::libusb
