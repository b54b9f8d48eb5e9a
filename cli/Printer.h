#pragma once

#include "protocol/Frames.h"
#include "protocol/PrinterIdentity.h"
#include "usb/CUsb.h"
#include "usb/LinkResult.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cli {

// One target printer of the application's model; a serial number narrows it to one among several.
//  Every call is one exchange on a fresh connection, with the same steps and
// results as the application's exchanges; nothing is retried.
class Printer {
  public:
    explicit Printer(const std::string& serial); // empty: any printer of the model

    // Writes the request and reads its reply (request.replyLength bytes). A failed write is 4.
    LinkResult Read(const protocol::ReadRequest& request, std::vector<std::uint8_t>& reply);
    // Writes `frame`, then the read request, and reads the reply. A failed first write is 6, a
    // failed read-request write 5.
    LinkResult Write(std::span<const std::uint8_t> frame, const protocol::ReadRequest& request,
                     std::vector<std::uint8_t>& reply);
    // The 32-byte status reply.
    LinkResult Status(std::vector<std::uint8_t>& reply);
    // All bytes in one write; no reply is read.
    LinkResult Send(std::span<const std::uint8_t> bytes);

    // The platform status of the last failure's failing step (0 for a time-out or no printer).
    std::int32_t LastStatus() const { return static_cast<std::int32_t>(link_.mLastError); }

    const std::string& Manufacturer() const { return manufacturer_; }
    const std::string& Product() const { return product_; }
    const std::string& Serial() const { return serial_; }

  private:
    LinkResult Exchange(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second,
                        std::vector<std::uint8_t>& reply);

    std::string manufacturer_{protocol::kTargetManufacturer};
    std::string product_{protocol::kTargetProduct};
    std::string serial_;
    CUsb link_;
};

} // namespace cli
