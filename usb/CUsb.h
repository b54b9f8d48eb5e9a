#pragma once

#include "usb/LinkResult.h"
#include "usb/USBIOContext.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class ProgressIndicator;

namespace platform {
class UsbBus;
}

// The printer a transaction looks for; a null or empty target matches any printer.
struct LinkTargets {
    const std::string* manufacturer = nullptr;
    const std::string* product = nullptr;
    const std::string* serial = nullptr;
};

// One transaction: open the target printer, write one or two frames, read the reply, close.
struct TransactionPlan {
    // A read writes its request and reads the reply. A set writes its command, then, when there is
    // one, the read request, and reads the reply; without a read request nothing is read.
    enum class Shape { Read, Set };
    Shape shape = Shape::Read;
    std::span<const std::uint8_t> frame;   // the read's request, or the set's command
    std::span<const std::uint8_t> request; // a set's read request; empty: none
    std::span<std::uint8_t> reply;         // exactly this many bytes are read
    // Moved after every step, ending at 100 on every path; may be null.
    ProgressIndicator* progress = nullptr;
};

// A transaction's result and the platform status of its failing step (0 for a read time-out and
// for no printer found).
struct TransactionOutcome {
    LinkResult result = kLinkOk;
    std::int32_t status = 0;
};

// The printer link: finds the target printer on the bus, opens its printer-class interface,
// moves frames over its bulk pipes and closes it. No connection outlives a transaction.
class CUsb {
  public:
    // The bus is borrowed and must outlive the link.
    explicit CUsb(platform::UsbBus& bus);

    // Targets for the link's own transactions; a null argument leaves that target unset.
    void SetDeviceInf(const std::string* manufacturer, const std::string* product, const std::string* serial);

    LinkResult UsbOpen(USBIOContext& context, const std::string* manufacturer, const std::string* product,
                       const std::string* serial);
    LinkResult UsbWrite(USBIOContext& context, const void* frame, std::uint32_t length);
    // `length`: bytes wanted on entry, bytes counted as received on return. Each read pass counts
    // 100 against `timeout`; every caller passes 4000.
    LinkResult UsbRead(USBIOContext& context, void* reply, std::uint32_t& length, std::uint32_t timeout);
    LinkResult UsbClose(USBIOContext& context);

    // The transactions, on the link's own targets; each is one plan for the one engine and returns
    // the result with the failing step's platform status. A failure is also kept as the last one.
    // Exactly `reply.size()` bytes are read: the network and information-print replies are 3 bytes
    // long, and waiting for 32 would let a complete short reply run into the read's time-out.
    // `progress` moves after every step and ends at 100; it may be null.
    //
    // Writes `frame` and reads the reply; 5 when the frame cannot be written.
    TransactionOutcome GetSettings(std::span<const std::uint8_t> frame, std::span<std::uint8_t> reply,
                                   ProgressIndicator* progress = nullptr);
    // The status request, answered by `reply` (32 bytes).
    TransactionOutcome GetStatus(std::span<std::uint8_t> reply);
    // Writes `frame`, then `secondFrame`, and reads the reply; 6 when the first frame cannot be
    // written, 5 when the second cannot. Without a second frame nothing is read.
    TransactionOutcome SetSettings(std::span<const std::uint8_t> frame,
                                   std::span<const std::uint8_t> secondFrame, std::span<std::uint8_t> reply,
                                   ProgressIndicator* progress = nullptr);
    // One frame and nothing read: SetSettings without a second frame.
    TransactionOutcome TestPrint(std::span<const std::uint8_t> frame);

    // The last failed transaction's result and the platform status of its failing step; both stay
    // as they are after a success.
    std::uint32_t mLastResult() const { return lastResult_; }
    std::uint32_t mLastError() const { return lastError_; }

  private:
    // The one engine every transaction runs on.
    TransactionOutcome Transact(const LinkTargets& targets, const TransactionPlan& plan);
    LinkTargets OwnTargets() const;
    // Notes a failed transaction's result and status; returns the result.
    LinkResult Record(LinkResult result, std::int32_t error);

    platform::UsbBus* bus_;
    std::optional<std::string> mManufacturer;
    std::optional<std::string> mProduct;
    std::optional<std::string> mSerial;
    std::uint32_t lastResult_ = 0;
    std::uint32_t lastError_ = 0;
};

inline constexpr std::uint32_t kReadTimeout = 4000;
