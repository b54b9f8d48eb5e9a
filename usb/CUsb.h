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
    // What a read reports when writing its request fails: the window's settings object reports the
    // write's own 4, the link's own transactions 5.
    LinkResult requestWriteFailure = kLinkRequestWriteFailed;
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

    // Every transaction of the program, on the given targets. A failure is also kept as the last one.
    TransactionOutcome Transact(const LinkTargets& targets, const TransactionPlan& plan);

    // The link's own transactions, on its own targets. Replies are 32 bytes long unless the request
    // is answered by fewer (the network and information-print replies are 3 bytes): waiting for 32
    // would let a complete short reply run into the read's time-out. At most 32; reply buffers hold
    // `replyLength` bytes.
    static constexpr std::uint32_t kTransactionReplyLength = 32;
    LinkResult GetSettings(const void* frame, int length, void* reply,
                           std::uint32_t replyLength = kTransactionReplyLength);
    LinkResult GetStatus(void* reply);
    LinkResult SetSettings(const void* frame, int length, const void* secondFrame, int secondLength,
                           void* reply, std::uint32_t replyLength = kTransactionReplyLength);
    LinkResult TestPrint(const void* frame, int length);

    // The last failed transaction's result and the platform status of its failing step; both stay
    // as they are after a success.
    std::uint32_t mLastResult() const { return lastResult_; }
    std::uint32_t mLastError() const { return lastError_; }

  private:
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
