#include "platform/usb/libusb/LibusbInterface.h"

#include <algorithm>
#include <cstring>

namespace platform::libusb {
namespace {

constexpr std::uint16_t kEndpointHalted = 0x0001; // bit 0 of an endpoint's GET_STATUS answer
// Standard request, endpoint recipient, device to host.
constexpr std::uint8_t kEndpointStatusRequestType = 0x82;

unsigned int Milliseconds(std::chrono::milliseconds timeout) {
    return static_cast<unsigned int>(timeout.count());
}

} // namespace

UsbStatus LibusbInterface::ControlRequest(UsbDevRequest& request) {
    request.wLenDone = 0;
    if (request.wLength > 0 && request.data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    if (const UsbStatus status = OpenDevice(); status != kUsbOk) {
        return status;
    }
    const int done = libusb_control_transfer(
        handle_.get(), request.bmRequestType, request.bRequest, request.wValue, request.wIndex,
        static_cast<unsigned char*>(request.data), request.wLength, Milliseconds(kControlTimeout));
    if (done < 0) {
        return done;
    }
    request.wLenDone = static_cast<std::uint32_t>(done);
    return kUsbOk;
}

UsbStatus LibusbInterface::ClaimedEndpoint(std::uint8_t pipeRef, std::uint8_t direction,
                                           const libusb_endpoint_descriptor*& endpoint) const {
    endpoint = Endpoint(pipeRef);
    if (endpoint == nullptr) {
        return kUsbErrorInvalidParam;
    }
    const bool isIn = (endpoint->bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
    if (isIn != (direction == kPipeDirectionIn)) {
        return kUsbErrorInvalidParam;
    }
    return claim_ ? kUsbOk : kUsbErrorNotFound;
}

UsbStatus LibusbInterface::GetPipeStatus(std::uint8_t pipeRef) {
    const libusb_endpoint_descriptor* endpoint = Endpoint(pipeRef);
    if (endpoint == nullptr) {
        return kUsbErrorInvalidParam;
    }
    if (StopForSignal()) {
        return kUsbErrorInterrupted;
    }
    if (!claim_) {
        return kUsbErrorNotFound;
    }
    // A read asks before every pass, and each question is a control transfer that a slow bus feels:
    // once an endpoint answered that it is not halted, a later halt shows as the failure of a transfer
    // on it, and only then is the device asked again.
    if (clearEndpoints_.contains(endpoint->bEndpointAddress)) {
        return kUsbOk;
    }
    // The endpoint's own GET_STATUS: a halted endpoint answers with its halt bit set.
    unsigned char answer[2] = {};
    const int done = libusb_control_transfer(handle_.get(), kEndpointStatusRequestType,
                                             LIBUSB_REQUEST_GET_STATUS, 0, endpoint->bEndpointAddress, answer,
                                             sizeof answer, Milliseconds(kControlTimeout));
    if (done < 0) {
        return done;
    }
    if (done != sizeof answer) {
        return kUsbErrorIo;
    }
    const auto status = static_cast<std::uint16_t>(answer[0] | answer[1] << 8);
    if ((status & kEndpointHalted) != 0) {
        return kUsbErrorPipe;
    }
    clearEndpoints_.insert(endpoint->bEndpointAddress);
    return kUsbOk;
}

UsbStatus LibusbInterface::Transfer(const libusb_endpoint_descriptor& endpoint, unsigned char* data,
                                    int length, int& transferred, std::chrono::milliseconds timeout) {
    transferred = 0;
    const auto type = endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
    UsbStatus status = kUsbErrorNotSupported;
    if (type == LIBUSB_TRANSFER_TYPE_BULK) {
        status = libusb_bulk_transfer(handle_.get(), endpoint.bEndpointAddress, data, length, &transferred,
                                      Milliseconds(timeout));
    } else if (type == LIBUSB_TRANSFER_TYPE_INTERRUPT) {
        status = libusb_interrupt_transfer(handle_.get(), endpoint.bEndpointAddress, data, length,
                                           &transferred, Milliseconds(timeout));
    }
    if (status == LIBUSB_ERROR_PIPE) {
        clearEndpoints_.erase(endpoint.bEndpointAddress);
    }
    return status;
}

UsbStatus LibusbInterface::WritePipe(std::uint8_t pipeRef, const void* data, std::uint32_t size) {
    if (StopForSignal()) {
        return kUsbErrorInterrupted;
    }
    const libusb_endpoint_descriptor* endpoint = nullptr;
    if (const UsbStatus status = ClaimedEndpoint(pipeRef, kPipeDirectionOut, endpoint); status != kUsbOk) {
        return status;
    }
    if (size > 0 && data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    // libusb only reads from the buffer of an OUT transfer; its interface is not const-correct.
    std::vector<unsigned char> frame(static_cast<const unsigned char*>(data),
                                     static_cast<const unsigned char*>(data) + size);
    // Slices that time out go on from where the last one stopped, until the write's own bound.
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    std::uint32_t sent = 0;
    for (;;) {
        if (StopForSignal()) {
            return kUsbErrorInterrupted;
        }
        int transferred = 0;
        const UsbStatus status =
            Transfer(*endpoint, frame.data() + sent, static_cast<int>(size - sent), transferred, kWriteSlice);
        sent += static_cast<std::uint32_t>(transferred);
        if (status == LIBUSB_ERROR_TIMEOUT && sent < size && std::chrono::steady_clock::now() < deadline) {
            continue;
        }
        if (status != LIBUSB_SUCCESS) {
            return status;
        }
        // A transfer that ended without a time-out yet took fewer bytes lost the rest: not written.
        return sent == size ? kUsbOk : kUsbErrorIo;
    }
}

UsbStatus LibusbInterface::ReadPipe(std::uint8_t pipeRef, void* data, std::uint32_t& size) {
    const std::uint32_t room = size;
    size = 0;
    const libusb_endpoint_descriptor* endpoint = nullptr;
    if (const UsbStatus status = ClaimedEndpoint(pipeRef, kPipeDirectionIn, endpoint); status != kUsbOk) {
        return status;
    }
    if (room == 0) {
        return kUsbOk;
    }
    if (data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    auto* out = static_cast<unsigned char*>(data);
    if (!pending_.empty()) {
        size = static_cast<std::uint32_t>(std::min<std::size_t>(room, pending_.size()));
        std::memcpy(out, pending_.data(), size);
        pending_.erase(pending_.begin(), pending_.begin() + size);
        return kUsbOk;
    }
    // A device may end a reply with a full packet larger than the room left; reading whole packets
    // keeps such bytes instead of failing the transfer with an overflow.
    const std::uint32_t packet = std::max<std::uint32_t>(endpoint->wMaxPacketSize & 0x07FF, 1);
    std::vector<unsigned char> buffer((room + packet - 1) / packet * packet);
    int transferred = 0;
    const UsbStatus status =
        Transfer(*endpoint, buffer.data(), static_cast<int>(buffer.size()), transferred, kReadPassTimeout);
    if (StopForSignal()) {
        return kUsbErrorInterrupted;
    }
    // A pass that ends by its time-out delivers what arrived until then, possibly nothing.
    if (status != LIBUSB_SUCCESS && status != LIBUSB_ERROR_TIMEOUT) {
        return status;
    }
    const auto received = static_cast<std::uint32_t>(transferred);
    size = std::min(room, received);
    std::memcpy(out, buffer.data(), size);
    pending_.assign(buffer.begin() + size, buffer.begin() + received);
    return kUsbOk;
}

} // namespace platform::libusb
