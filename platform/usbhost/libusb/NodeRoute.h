#pragma once

// Private to the libusb backend.

#include "platform/usbhost/libusb/CallBound.h"
#include "platform/usbhost/libusb/FileDescriptor.h"
#include "platform/usbhost/libusb/PipeRoute.h"

#include <string>

namespace platform::libusb {

// The printer's pipes through the device node of the kernel's printer driver, usblp, which stays
// bound throughout. usblp reads the bulk IN pipe into a buffer of its own from the open on, lets one
// process open the node at a time, and has no time-outs: every wait here is bounded, and a write the
// printer never takes ends by closing the node, which cancels it.
class NodeRoute final : public PipeRoute {
  public:
    // Opens `node`. EBUSY (a print job or another program has it) is worth waiting for, and so is a
    // refusal on a node udev may not have given this user yet (it came a moment ago).
    static OpenAttempt Open(const std::string& node, std::unique_ptr<PipeRoute>& route);

    explicit NodeRoute(FileDescriptor node) : node_(std::move(node)) {}

    RouteResult Write(std::uint8_t endpoint, std::span<const std::uint8_t> bytes) override;
    RouteResult ReadPass(std::uint8_t endpoint, std::span<std::uint8_t> room,
                         std::uint32_t& delivered) override;
    // usblp offers no way to ask; a halt shows as the failure of a transfer.
    UsbStatus PipeStatus(std::uint8_t /*endpoint*/) override { return ended_; }
    std::optional<UsbStatus> DeviceId(std::span<std::uint8_t> buffer, std::uint32_t& done) override;

  private:
    RouteResult Failed(int error);
    bool DriverLetGo() const;

    CallBound writeBound_; // of the thread that uses the route, which is the one that opened it
    FileDescriptor node_;
    UsbStatus ended_ = kUsbOk; // why the node was closed early; every later transfer reports it
};

} // namespace platform::libusb
