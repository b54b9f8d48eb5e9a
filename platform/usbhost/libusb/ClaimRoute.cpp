#include "platform/usbhost/libusb/ClaimRoute.h"

#include "platform/usbhost/libusb/LibusbInterface.h"

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

OpenAttempt ClaimRoute::Open(libusb_device_handle* handle, const libusb_interface& interface,
                             std::uint8_t alternateSetting, std::unique_ptr<PipeRoute>& route) {
    const int number = interface.altsetting[0].bInterfaceNumber;
    if (const int status = libusb_claim_interface(handle, number); status != LIBUSB_SUCCESS) {
        return {status, status == LIBUSB_ERROR_BUSY};
    }
    auto claimed = std::make_unique<ClaimRoute>(handle, interface, alternateSetting);
    // Another program may have left the interface in any setting; the one the handle reports is made
    // the device's own.
    if (interface.num_altsetting > 1) {
        if (const int status = libusb_set_interface_alt_setting(handle, number, alternateSetting);
            status != LIBUSB_SUCCESS) {
            return {status, false}; // the claim goes with `claimed`
        }
    }
    route = std::move(claimed);
    return {kUsbOk, false};
}

ClaimRoute::ClaimRoute(libusb_device_handle* handle, const libusb_interface& interface,
                       std::uint8_t alternateSetting)
    : handle_(handle), interface_(interface), alternateSetting_(alternateSetting) {}

ClaimRoute::~ClaimRoute() {
    // A release that fails (the device went) leaves nothing behind: the kernel drops every claim of a
    // usbfs file when it is closed, and the handle is closed with the interface.
    libusb_release_interface(handle_, interface_.altsetting[0].bInterfaceNumber);
}

const libusb_interface_descriptor* ClaimRoute::Setting(std::uint8_t alternateSetting) const {
    for (int i = 0; i < interface_.num_altsetting; ++i) {
        if (interface_.altsetting[i].bAlternateSetting == alternateSetting) {
            return &interface_.altsetting[i];
        }
    }
    return nullptr;
}

const libusb_endpoint_descriptor* ClaimRoute::Endpoint(std::uint8_t address) const {
    const libusb_interface_descriptor* setting = Setting(alternateSetting_);
    for (int i = 0; setting != nullptr && i < setting->bNumEndpoints; ++i) {
        if (setting->endpoint[i].bEndpointAddress == address) {
            return &setting->endpoint[i];
        }
    }
    return nullptr;
}

UsbStatus ClaimRoute::SelectSetting(std::uint8_t alternateSetting) {
    if (Setting(alternateSetting) == nullptr) {
        return kUsbErrorNotFound;
    }
    const int status = libusb_set_interface_alt_setting(handle_, interface_.altsetting[0].bInterfaceNumber,
                                                        alternateSetting);
    if (status != LIBUSB_SUCCESS) {
        return status;
    }
    alternateSetting_ = alternateSetting;
    pending_.clear();
    clearEndpoints_.clear();
    return kUsbOk;
}

UsbStatus ClaimRoute::PipeStatus(std::uint8_t address) {
    // A read asks before every pass, and each question is a control transfer that a slow bus feels:
    // once an endpoint answered that it is not halted, a later halt shows as the failure of a transfer
    // on it, and only then is the device asked again.
    if (clearEndpoints_.contains(address)) {
        return kUsbOk;
    }
    // The endpoint's own GET_STATUS: a halted endpoint answers with its halt bit set.
    unsigned char answer[2] = {};
    const int done =
        libusb_control_transfer(handle_, kEndpointStatusRequestType, LIBUSB_REQUEST_GET_STATUS, 0, address,
                                answer, sizeof answer, Milliseconds(kControlTimeout));
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
    clearEndpoints_.insert(address);
    return kUsbOk;
}

UsbStatus ClaimRoute::Transfer(const libusb_endpoint_descriptor& endpoint, unsigned char* data, int length,
                               int& transferred, unsigned int timeoutMs) {
    transferred = 0;
    const auto type = endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
    UsbStatus status = kUsbErrorNotSupported;
    if (type == LIBUSB_TRANSFER_TYPE_BULK) {
        status =
            libusb_bulk_transfer(handle_, endpoint.bEndpointAddress, data, length, &transferred, timeoutMs);
    } else if (type == LIBUSB_TRANSFER_TYPE_INTERRUPT) {
        status = libusb_interrupt_transfer(handle_, endpoint.bEndpointAddress, data, length, &transferred,
                                           timeoutMs);
    }
    if (status == LIBUSB_ERROR_PIPE) {
        clearEndpoints_.erase(endpoint.bEndpointAddress);
    }
    return status;
}

RouteResult ClaimRoute::Write(std::uint8_t address, std::span<const std::uint8_t> bytes) {
    const libusb_endpoint_descriptor* endpoint = Endpoint(address);
    if (endpoint == nullptr) {
        return {kUsbErrorInvalidParam};
    }
    // libusb only reads from the buffer of an OUT transfer; its interface is not const-correct.
    std::vector<unsigned char> frame(bytes.begin(), bytes.end());
    int transferred = 0;
    const UsbStatus status = Transfer(*endpoint, frame.data(), static_cast<int>(frame.size()), transferred,
                                      Milliseconds(kWriteTimeout));
    if (status != LIBUSB_SUCCESS) {
        return {status};
    }
    // A transfer that ended without an error yet took fewer bytes lost the rest: not written.
    return {static_cast<std::size_t>(transferred) == frame.size() ? kUsbOk : kUsbErrorIo};
}

RouteResult ClaimRoute::ReadPass(std::uint8_t address, std::span<std::uint8_t> room,
                                 std::uint32_t& delivered) {
    delivered = 0;
    const libusb_endpoint_descriptor* endpoint = Endpoint(address);
    if (endpoint == nullptr) {
        return {kUsbErrorInvalidParam};
    }
    if (room.empty()) {
        return {};
    }
    if (!pending_.empty()) {
        delivered = static_cast<std::uint32_t>(std::min(room.size(), pending_.size()));
        std::memcpy(room.data(), pending_.data(), delivered);
        pending_.erase(pending_.begin(), pending_.begin() + delivered);
        return {};
    }
    // A device may end a reply with a full packet larger than the room left; reading whole packets
    // keeps such bytes instead of failing the transfer with an overflow.
    const std::size_t packet = std::max<std::size_t>(endpoint->wMaxPacketSize & 0x07FF, 1);
    std::vector<unsigned char> buffer((room.size() + packet - 1) / packet * packet);
    int transferred = 0;
    const UsbStatus status = Transfer(*endpoint, buffer.data(), static_cast<int>(buffer.size()), transferred,
                                      Milliseconds(kReadPassTimeout));
    // A pass that ends by its time-out delivers what arrived until then, possibly nothing.
    if (status != LIBUSB_SUCCESS && status != LIBUSB_ERROR_TIMEOUT) {
        return {status};
    }
    const auto received = static_cast<std::size_t>(transferred);
    delivered = static_cast<std::uint32_t>(std::min(room.size(), received));
    std::memcpy(room.data(), buffer.data(), delivered);
    pending_.assign(buffer.begin() + delivered, buffer.begin() + static_cast<std::ptrdiff_t>(received));
    return {};
}

} // namespace platform::libusb
