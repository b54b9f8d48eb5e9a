#pragma once

// Private to the libusb backend.

#include "platform/usbhost/UsbStatus.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform::libusb {

// What one transfer on a route came to. `cut`: the route ended under the exchange because another
// program took the printer's interface from its driver (CUPS's usb backend starting a job does so
// even while usblp's node is open); the printer itself did not fail, and the route's status says
// nothing about it.
struct RouteResult {
    UsbStatus status = kUsbOk;
    bool cut = false;
};

// One way the bytes of an exchange travel between this process and the printer's bulk pipes, from
// the interface's open to its close: through usblp's device node, or through an interface claimed
// with libusb where no driver has it. Endpoints are named by their addresses (0x81: IN 1).
class PipeRoute {
  public:
    virtual ~PipeRoute() = default;
    // The whole of `bytes` in one write; done when the printer took them.
    virtual RouteResult Write(std::uint8_t endpoint, std::span<const std::uint8_t> bytes) = 0;
    // One pass of a read: waits a bounded time (about kReadPassTimeout) for bytes and delivers what
    // came into `room`, possibly nothing.
    virtual RouteResult ReadPass(std::uint8_t endpoint, std::span<std::uint8_t> room,
                                 std::uint32_t& delivered) = 0;
    // Non-zero when the pipe is known not to work now (halted).
    virtual UsbStatus PipeStatus(std::uint8_t endpoint) = 0;
    // Makes the device use another alternate setting of the interface now, where the route can.
    virtual UsbStatus SelectSetting(std::uint8_t /*alternateSetting*/) { return kUsbErrorNotSupported; }
    // The printer's IEEE 1284 device ID with its two length bytes, when the route asks for it its own
    // way; nullopt: ask the device with the class request.
    virtual std::optional<UsbStatus> DeviceId(std::span<std::uint8_t> /*buffer*/, std::uint32_t& /*done*/) {
        return std::nullopt;
    }
};

// How an attempt to open a route ended: a route, or a status and whether waiting may change it (a
// printer in use, a node udev has not given this user yet).
struct OpenAttempt {
    UsbStatus status = kUsbOk;
    bool worthWaiting = false;
};

// Opens the route the interface's state calls for right now.
class RouteOpener {
  public:
    virtual ~RouteOpener() = default;
    virtual OpenAttempt OpenRoute(std::unique_ptr<PipeRoute>& route) = 0;
};

} // namespace platform::libusb
