#pragma once

#include "simulator/SimulatedPrinter.h"
#include "simulator/usbredir/BulkOutRecord.h"
#include "simulator/usbredir/DeviceOptions.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <usbredirparser.h>
#include <vector>

namespace simulator::usbredir {

struct ParserDeleter {
    void operator()(usbredirparser* parser) const { usbredirparser_destroy(parser); }
};

// One connection to QEMU's usb-redir device: plays the USB host's side of usbredir for a plugged-in
// LM-360R whose behaviour is `printer`'s. Control requests are answered at once; a bulk IN request
// is held until the printer has reply bytes, as a real printer answers only when it has something
// to say. `faults` is shared by successive connections: a swallowed-reply budget or an unplug is
// used up once, not once per plug.
class RedirectedPrinter {
  public:
    // `inRequests` gets one byte for every bulk IN request, `times` a line for every bulk packet.
    RedirectedPrinter(int socket, SimulatedPrinter& printer, DeviceOptions& faults, BulkOutRecord& record,
                      BulkOutRecord& inRequests, BulkOutRecord& times);
    RedirectedPrinter(const RedirectedPrinter&) = delete;
    RedirectedPrinter& operator=(const RedirectedPrinter&) = delete;

    // False once the connection is over: QEMU closed it, it failed, or the printer was unplugged.
    bool ReadIncoming();
    bool WriteOutgoing();
    bool HasOutgoing() const;
    bool Unplugged() const { return unplugged_; }
    // Once the printer takes bytes again, the OUT packets it held are taken, in order.
    void TakeHeldWrites();

  private:
    struct HeldPacket {
        std::uint64_t id;
        usb_redir_bulk_packet_header header;
        std::vector<std::uint8_t> data; // of an OUT packet
    };

    void InstallCallbacks();
    void SendDeviceInfo();
    void AnswerControl(std::uint64_t id, usb_redir_control_packet_header header,
                       std::span<const std::uint8_t> data);
    void AnswerBulk(std::uint64_t id, usb_redir_bulk_packet_header header,
                    std::span<const std::uint8_t> data);
    void ReceiveOut(std::uint64_t id, usb_redir_bulk_packet_header header,
                    std::span<const std::uint8_t> data);
    void FeedPrinter(std::span<const std::uint8_t> bytes);
    void ServeHeldReads();
    void Cancel(std::uint64_t id);
    void SendBulk(std::uint64_t id, usb_redir_bulk_packet_header header, std::uint8_t status,
                  std::span<std::uint8_t> data);
    bool& Halted(std::uint8_t endpoint);
    void NoteTime(const char* direction, std::size_t bytes);

    int socket_;
    SimulatedPrinter& printer_;
    DeviceOptions& faults_;
    BulkOutRecord& record_;
    BulkOutRecord& inRequests_;
    BulkOutRecord& times_;
    std::unique_ptr<usbredirparser, ParserDeleter> parser_;
    std::deque<HeldPacket> heldReads_;
    std::deque<HeldPacket> heldWrites_; // not taken while the printer holds its OUT pipe
    bool zeroLengthSent_ = false;       // for the reply now pending
    bool outHalted_ = false;
    bool inHalted_ = false;
    bool closed_ = false;
    bool unplugged_ = false;
};

} // namespace simulator::usbredir
