#pragma once

// Private to the libusb backend.

#include "platform/usbhost/libusb/PipeRoute.h"

#include <libusb.h>
#include <set>
#include <vector>

namespace platform::libusb {

// The printer's pipes through an interface this process claimed with libusb: only where no kernel
// driver has it, so there is nothing to detach and nothing to give back. Transfers are bounded by
// libusb's time-outs.
class ClaimRoute final : public PipeRoute {
  public:
    // Claims `interface` on `handle` and selects `alternateSetting` when it has several. Another
    // program's claim that came first (or a driver bound since) is worth waiting for. `handle` and
    // `interface` must outlive the route.
    static OpenAttempt Open(libusb_device_handle* handle, const libusb_interface& interface,
                            std::uint8_t alternateSetting, std::unique_ptr<PipeRoute>& route);

    ClaimRoute(libusb_device_handle* handle, const libusb_interface& interface,
               std::uint8_t alternateSetting);
    ~ClaimRoute() override;
    ClaimRoute(const ClaimRoute&) = delete;
    ClaimRoute& operator=(const ClaimRoute&) = delete;

    RouteResult Write(std::uint8_t endpoint, std::span<const std::uint8_t> bytes) override;
    RouteResult ReadPass(std::uint8_t endpoint, std::span<std::uint8_t> room,
                         std::uint32_t& delivered) override;
    UsbStatus PipeStatus(std::uint8_t endpoint) override;
    UsbStatus SelectSetting(std::uint8_t alternateSetting) override;

  private:
    const libusb_interface_descriptor* Setting(std::uint8_t alternateSetting) const;
    const libusb_endpoint_descriptor* Endpoint(std::uint8_t address) const;
    UsbStatus Transfer(const libusb_endpoint_descriptor& endpoint, unsigned char* data, int length,
                       int& transferred, unsigned int timeoutMs);

    libusb_device_handle* handle_;
    const libusb_interface& interface_;
    std::uint8_t alternateSetting_;
    // Bytes a read pass received beyond the room the caller offered; handed out before the pipe is read
    // again.
    std::vector<std::uint8_t> pending_;
    // Endpoints of the current setting that answered they are not halted.
    std::set<std::uint8_t> clearEndpoints_;
};

} // namespace platform::libusb
