#include "simulator/usbredir/RedirectedPrinter.h"

#include "platform/usbhost/UsbRequests.h"
#include "simulator/usbredir/PrinterDescriptors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace simulator::usbredir {
namespace {

using platform::kRequestGetDescriptor;
using platform::kRequestTypeStandardDeviceIn;

constexpr std::uint8_t kDirectionIn = 0x80;
constexpr std::uint8_t kRequestGetStatus = 0x00;
constexpr std::uint8_t kRequestClearFeature = 0x01;
constexpr std::uint16_t kFeatureEndpointHalt = 0;
constexpr std::uint8_t kRequestTypeStandardInterfaceIn = 0x81;
constexpr std::uint8_t kRequestTypeStandardEndpointIn = 0x82;
constexpr std::uint8_t kRequestTypeStandardEndpointOut = 0x02;
constexpr std::uint8_t kRequestGetPortStatus = 0x01;      // printer class
constexpr std::uint8_t kPortStatusSelectedNoError = 0x18; // selected, not in error, paper present

RedirectedPrinter& Self(void* priv) {
    return *static_cast<RedirectedPrinter*>(priv);
}

std::uint32_t BulkLength(const usb_redir_bulk_packet_header& header) {
    return static_cast<std::uint32_t>(header.length_high) << 16 | header.length;
}

void SetBulkLength(usb_redir_bulk_packet_header& header, std::uint32_t length) {
    header.length = static_cast<std::uint16_t>(length & 0xFFFF);
    header.length_high = static_cast<std::uint16_t>(length >> 16);
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, std::uint16_t length) {
    bytes.resize(std::min<std::size_t>(bytes.size(), length));
    return bytes;
}

// Hands a packet's data to `use` and gives the buffer back to the parser afterwards.
template <typename Use> void WithData(usbredirparser* parser, std::uint8_t* data, int length, Use use) {
    use(std::span<const std::uint8_t>(data, data != nullptr ? static_cast<std::size_t>(length) : 0));
    if (data != nullptr) {
        usbredirparser_free_packet_data(parser, data);
    }
}

} // namespace

RedirectedPrinter::RedirectedPrinter(int socket, SimulatedPrinter& printer, DeviceOptions& faults,
                                     BulkOutRecord& record, BulkOutRecord& inRequests, BulkOutRecord& times)
    : socket_(socket), printer_(printer), faults_(faults), record_(record), inRequests_(inRequests),
      times_(times), parser_(usbredirparser_create()) {
    InstallCallbacks();
    std::uint32_t caps[USB_REDIR_CAPS_SIZE] = {};
    for (const int cap : {usb_redir_cap_connect_device_version, usb_redir_cap_ep_info_max_packet_size,
                          usb_redir_cap_64bits_ids, usb_redir_cap_32bits_bulk_length}) {
        usbredirparser_caps_set_cap(caps, cap);
    }
    usbredirparser_init(parser_.get(), "lm360r-usbredir-printer", caps, USB_REDIR_CAPS_SIZE,
                        usbredirparser_fl_usb_host);
}

void RedirectedPrinter::InstallCallbacks() {
    usbredirparser& p = *parser_;
    p.priv = this;
    p.log_func = [](void*, int level, const char* message) {
        if (level <= usbredirparser_warning) {
            std::cerr << "lm360r-usbredir-printer: usbredir: " << message << "\n";
        }
    };
    p.read_func = [](void* priv, std::uint8_t* data, int count) -> int {
        RedirectedPrinter& self = Self(priv);
        const ssize_t n = read(self.socket_, data, static_cast<std::size_t>(count));
        if (n > 0) {
            return static_cast<int>(n);
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return 0;
        }
        self.closed_ = true; // end of stream: QEMU went away
        return -1;
    };
    p.write_func = [](void* priv, std::uint8_t* data, int count) -> int {
        RedirectedPrinter& self = Self(priv);
        const ssize_t n = write(self.socket_, data, static_cast<std::size_t>(count));
        if (n >= 0) {
            return static_cast<int>(n);
        }
        if (errno == EAGAIN || errno == EINTR) {
            return 0;
        }
        self.closed_ = true;
        return -1;
    };
    p.hello_func = [](void* priv, usb_redir_hello_header*) { Self(priv).SendDeviceInfo(); };
    p.reset_func = [](void* priv) {
        RedirectedPrinter& self = Self(priv);
        self.heldReads_.clear(); // a bus reset ends every transfer in flight
        self.outHalted_ = self.inHalted_ = false;
    };
    p.set_configuration_func = [](void* priv, std::uint64_t id, usb_redir_set_configuration_header* header) {
        usb_redir_configuration_status_header status{};
        status.status = header->configuration == kConfigurationValue ? usb_redir_success : usb_redir_stall;
        status.configuration = kConfigurationValue;
        usbredirparser_send_configuration_status(Self(priv).parser_.get(), id, &status);
    };
    p.get_configuration_func = [](void* priv, std::uint64_t id) {
        usb_redir_configuration_status_header status{usb_redir_success, kConfigurationValue};
        usbredirparser_send_configuration_status(Self(priv).parser_.get(), id, &status);
    };
    p.set_alt_setting_func = [](void* priv, std::uint64_t id, usb_redir_set_alt_setting_header* header) {
        usb_redir_alt_setting_status_header status{};
        status.status =
            header->interface == kInterfaceNumber && header->alt == 0 ? usb_redir_success : usb_redir_inval;
        status.interface = header->interface;
        status.alt = 0;
        usbredirparser_send_alt_setting_status(Self(priv).parser_.get(), id, &status);
    };
    p.get_alt_setting_func = [](void* priv, std::uint64_t id, usb_redir_get_alt_setting_header* header) {
        usb_redir_alt_setting_status_header status{};
        status.status = header->interface == kInterfaceNumber ? usb_redir_success : usb_redir_inval;
        status.interface = header->interface;
        status.alt = 0;
        usbredirparser_send_alt_setting_status(Self(priv).parser_.get(), id, &status);
    };
    p.cancel_data_packet_func = [](void* priv, std::uint64_t id) { Self(priv).Cancel(id); };
    p.control_packet_func = [](void* priv, std::uint64_t id, usb_redir_control_packet_header* header,
                               std::uint8_t* data, int length) {
        RedirectedPrinter& self = Self(priv);
        WithData(self.parser_.get(), data, length,
                 [&](std::span<const std::uint8_t> bytes) { self.AnswerControl(id, *header, bytes); });
    };
    p.bulk_packet_func = [](void* priv, std::uint64_t id, usb_redir_bulk_packet_header* header,
                            std::uint8_t* data, int length) {
        RedirectedPrinter& self = Self(priv);
        WithData(self.parser_.get(), data, length,
                 [&](std::span<const std::uint8_t> bytes) { self.AnswerBulk(id, *header, bytes); });
    };
    // A printer has no isochronous or interrupt pipes and no streams: such packets are dropped.
    p.iso_packet_func = [](void* priv, std::uint64_t, usb_redir_iso_packet_header*, std::uint8_t* data,
                           int length) { WithData(Self(priv).parser_.get(), data, length, [](auto) {}); };
    p.interrupt_packet_func = [](void* priv, std::uint64_t, usb_redir_interrupt_packet_header*,
                                 std::uint8_t* data, int length) {
        WithData(Self(priv).parser_.get(), data, length, [](auto) {});
    };
}

void RedirectedPrinter::SendDeviceInfo() {
    usb_redir_interface_info_header interfaces{};
    interfaces.interface_count = 1;
    interfaces.interface[0] = kInterfaceNumber;
    interfaces.interface_class[0] = platform::kPrinterInterfaceClass;
    interfaces.interface_subclass[0] = platform::kPrinterInterfaceSubClass;
    interfaces.interface_protocol[0] = platform::kPrinterProtocolBidirectional;
    usbredirparser_send_interface_info(parser_.get(), &interfaces);

    // Endpoints are indexed OUT 0-15, IN 16-31.
    usb_redir_ep_info_header endpoints{};
    std::fill(std::begin(endpoints.type), std::end(endpoints.type), usb_redir_type_invalid);
    const auto index = [](std::uint8_t address) { return (address & 0x80) >> 3 | (address & 0x0F); };
    for (const std::uint8_t control : {std::uint8_t{0x00}, std::uint8_t{0x80}}) {
        endpoints.type[index(control)] = usb_redir_type_control;
        endpoints.max_packet_size[index(control)] = kControlPacketSize;
    }
    for (const std::uint8_t bulk : {kBulkOutEndpoint, kBulkInEndpoint}) {
        endpoints.type[index(bulk)] = usb_redir_type_bulk;
        endpoints.interface[index(bulk)] = kInterfaceNumber;
        endpoints.max_packet_size[index(bulk)] = kBulkPacketSize;
    }
    usbredirparser_send_ep_info(parser_.get(), &endpoints);

    usb_redir_device_connect_header device{};
    device.speed = usb_redir_speed_high;
    device.vendor_id = printer_.identity().vendorId;
    device.product_id = printer_.identity().productId;
    device.device_version_bcd = kDeviceRelease;
    usbredirparser_send_device_connect(parser_.get(), &device);
}

bool& RedirectedPrinter::Halted(std::uint8_t endpoint) {
    return endpoint == kBulkInEndpoint ? inHalted_ : outHalted_;
}

void RedirectedPrinter::AnswerControl(std::uint64_t id, usb_redir_control_packet_header header,
                                      std::span<const std::uint8_t> data) {
    (void)data; // no request of the printer takes data from the host
    std::optional<std::vector<std::uint8_t>> answer;
    const std::uint8_t type = header.requesttype;
    const bool endpointKnown = header.index == kBulkInEndpoint || header.index == kBulkOutEndpoint;
    if ((type & kDirectionIn) == 0) {
        // Requests without data succeed; clearing a halt is the one with an effect.
        if (type == kRequestTypeStandardEndpointOut && header.request == kRequestClearFeature &&
            header.value == kFeatureEndpointHalt && endpointKnown) {
            Halted(static_cast<std::uint8_t>(header.index)) = false;
        }
        answer.emplace();
    } else if (type == kRequestTypeStandardDeviceIn && header.request == kRequestGetDescriptor &&
               header.value >> 8 == platform::kDescriptorTypeConfiguration) {
        answer = Truncated(ConfigurationDescriptor(), header.length);
    } else if (header.request == kRequestGetStatus &&
               (type == kRequestTypeStandardDeviceIn || type == kRequestTypeStandardInterfaceIn)) {
        answer = Truncated({0, 0}, header.length);
    } else if (type == kRequestTypeStandardEndpointIn && header.request == kRequestGetStatus &&
               endpointKnown) {
        answer = Truncated(
            {Halted(static_cast<std::uint8_t>(header.index)) ? std::uint8_t{1} : std::uint8_t{0}, 0},
            header.length);
    } else if (type == platform::kRequestTypeClassInterfaceIn && header.request == kRequestGetPortStatus) {
        answer = Truncated({kPortStatusSelectedNoError}, header.length);
    } else {
        answer = printer_.AnswerControl(
            ControlSetup{header.requesttype, header.request, header.value, header.index, header.length});
    }
    header.status = answer ? usb_redir_success : usb_redir_stall;
    if ((type & kDirectionIn) == 0) {
        usbredirparser_send_control_packet(parser_.get(), id, &header, nullptr, 0);
        return;
    }
    header.length = answer ? static_cast<std::uint16_t>(answer->size()) : 0;
    usbredirparser_send_control_packet(parser_.get(), id, &header, answer ? answer->data() : nullptr,
                                       static_cast<int>(header.length));
}

void RedirectedPrinter::AnswerBulk(std::uint64_t id, usb_redir_bulk_packet_header header,
                                   std::span<const std::uint8_t> data) {
    if (header.endpoint == kBulkOutEndpoint) {
        ReceiveOut(id, header, data);
    } else if (header.endpoint == kBulkInEndpoint) {
        constexpr std::uint8_t kOneRequest = 'i';
        inRequests_.Append(std::span(&kOneRequest, 1));
        if (faults_.stallIn || SwitchedOn(faults_.stallWhileFile)) {
            inHalted_ = true;
        }
        if (inHalted_) {
            SendBulk(id, header, usb_redir_stall, {});
            return;
        }
        heldReads_.push_back({id, header});
        ServeHeldReads();
    } else {
        SendBulk(id, header, usb_redir_inval, {});
    }
}

void RedirectedPrinter::ReceiveOut(std::uint64_t id, usb_redir_bulk_packet_header header,
                                   std::span<const std::uint8_t> data) {
    if (faults_.stallOut || SwitchedOn(faults_.stallWhileFile)) {
        outHalted_ = true;
    }
    if (outHalted_) {
        SendBulk(id, header, usb_redir_stall, {});
        return;
    }
    // Held while the switch is on, and behind those held before: the printer takes bytes in order.
    if (SwitchedOn(faults_.holdOutWhileFile) || !heldWrites_.empty()) {
        heldWrites_.push_back({id, header, std::vector<std::uint8_t>(data.begin(), data.end())});
        return;
    }
    if (faults_.unplugAfterBytes) {
        const std::uint64_t room =
            *faults_.unplugAfterBytes - std::min(*faults_.unplugAfterBytes, record_.Total());
        if (data.size() >= room) {
            // The cable comes out while this packet is on its way: what fitted arrived, nothing is
            // acknowledged.
            FeedPrinter(data.first(static_cast<std::size_t>(room)));
            faults_.unplugAfterBytes.reset();
            unplugged_ = true;
            return;
        }
    }
    FeedPrinter(data);
    NoteTime("out", data.size());
    SendBulk(id, header, usb_redir_success, {}); // the header already counts the bytes taken
    ServeHeldReads();
}

void RedirectedPrinter::FeedPrinter(std::span<const std::uint8_t> bytes) {
    record_.Append(bytes);
    const std::size_t before = printer_.PendingReplySize();
    printer_.Receive(bytes);
    if (printer_.PendingReplySize() <= before) {
        return;
    }
    const bool silentNow = SwitchedOn(faults_.silentWhileFile);
    if (silentNow || (faults_.silentReplies && *faults_.silentReplies > 0)) {
        std::vector<std::uint8_t> swallowed(printer_.PendingReplySize());
        printer_.TakeReply(swallowed);
        if (!silentNow && *faults_.silentReplies != kSilentForever) {
            --*faults_.silentReplies;
        }
    }
}

void RedirectedPrinter::ServeHeldReads() {
    while (!heldReads_.empty() && printer_.PendingReplySize() > 0) {
        const HeldPacket read = heldReads_.front();
        heldReads_.pop_front();
        if (faults_.zeroLengthFirst && !zeroLengthSent_) {
            zeroLengthSent_ = true;
            SendBulk(read.id, read.header, usb_redir_success, {});
            continue;
        }
        std::size_t room = BulkLength(read.header);
        if (faults_.trickleBytes > 0 || SwitchedOn(faults_.trickleWhileFile)) {
            room = std::min<std::size_t>(room, faults_.trickleBytes > 0 ? faults_.trickleBytes
                                                                        : kTrickleWhileBytes);
        }
        std::vector<std::uint8_t> reply(room);
        reply.resize(printer_.TakeReply(reply));
        zeroLengthSent_ = zeroLengthSent_ && printer_.PendingReplySize() > 0;
        NoteTime("in", reply.size());
        SendBulk(read.id, read.header, usb_redir_success, reply);
    }
}

void RedirectedPrinter::NoteTime(const char* direction, std::size_t bytes) {
    static const auto start = std::chrono::steady_clock::now();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string line =
        std::to_string(micros.count()) + " " + direction + " " + std::to_string(bytes) + "\n";
    times_.Append(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
}

void RedirectedPrinter::TakeHeldWrites() {
    if (heldWrites_.empty() || SwitchedOn(faults_.holdOutWhileFile) || unplugged_) {
        return;
    }
    std::deque<HeldPacket> queued;
    queued.swap(heldWrites_);
    for (const HeldPacket& packet : queued) {
        ReceiveOut(packet.id, packet.header, packet.data);
    }
}

void RedirectedPrinter::Cancel(std::uint64_t id) {
    for (std::deque<HeldPacket>* held : {&heldReads_, &heldWrites_}) {
        const auto found = std::find_if(held->begin(), held->end(),
                                        [id](const HeldPacket& packet) { return packet.id == id; });
        if (found != held->end()) {
            const HeldPacket packet = *found;
            held->erase(found);
            SendBulk(packet.id, packet.header, usb_redir_cancelled, {});
            return;
        }
    }
    // already answered
}

void RedirectedPrinter::SendBulk(std::uint64_t id, usb_redir_bulk_packet_header header, std::uint8_t status,
                                 std::span<std::uint8_t> data) {
    const bool in = (header.endpoint & kDirectionIn) != 0;
    header.status = status;
    if (in || status != usb_redir_success) {
        SetBulkLength(header, static_cast<std::uint32_t>(data.size()));
    }
    usbredirparser_send_bulk_packet(parser_.get(), id, &header, data.empty() ? nullptr : data.data(),
                                    static_cast<int>(data.size()));
}

bool RedirectedPrinter::ReadIncoming() {
    if (usbredirparser_do_read(parser_.get()) != 0) {
        closed_ = true;
    }
    return !closed_ && !unplugged_;
}

bool RedirectedPrinter::WriteOutgoing() {
    if (usbredirparser_do_write(parser_.get()) != 0) {
        closed_ = true;
    }
    return !closed_ && !unplugged_;
}

bool RedirectedPrinter::HasOutgoing() const {
    return usbredirparser_has_data_to_write(parser_.get()) != 0;
}

} // namespace simulator::usbredir
