// The seam's pipe operations and control requests on an interface: pipes go through the session's
// route, control requests through the device (opened, never claimed).
#include "platform/usbhost/UsbRequests.h"
#include "platform/usbhost/libusb/LibusbInterface.h"

#include <span>

namespace platform::libusb {

UsbStatus LibusbInterface::ControlRequest(UsbDevRequest& request) {
    request.wLenDone = 0;
    if (request.wLength > 0 && request.data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    // While usblp's node is open the driver answers the device ID itself: the same bytes.
    if (session_.IsOpen() && request.bmRequestType == kRequestTypeClassInterfaceIn &&
        request.bRequest == kRequestGetDeviceId) {
        const std::span<std::uint8_t> buffer(static_cast<std::uint8_t*>(request.data), request.wLength);
        if (const std::optional<UsbStatus> asked = session_.Route()->DeviceId(buffer, request.wLenDone)) {
            return *asked;
        }
    }
    // Who the device is was asked when it was first listed; every exchange asks again.
    const bool kept = PlugMemory::Kept(request);
    if (kept && memory_->Answer(PlugOf(), request)) {
        return kUsbOk;
    }
    if (const UsbStatus status = OpenDevice(); status != kUsbOk) {
        return status;
    }
    const int done =
        libusb_control_transfer(handle_.get(), request.bmRequestType, request.bRequest, request.wValue,
                                request.wIndex, static_cast<unsigned char*>(request.data), request.wLength,
                                static_cast<unsigned int>(kControlTimeout.count()));
    if (done < 0) {
        return done;
    }
    request.wLenDone = static_cast<std::uint32_t>(done);
    if (kept) {
        memory_->Keep(PlugOf(), request);
    }
    return kUsbOk;
}

UsbStatus LibusbInterface::OpenEndpoint(std::uint8_t pipeRef, std::uint8_t direction,
                                        std::uint8_t& address) const {
    const libusb_endpoint_descriptor* endpoint = Endpoint(pipeRef);
    if (endpoint == nullptr) {
        return kUsbErrorInvalidParam;
    }
    const bool isIn = (endpoint->bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
    if (isIn != (direction == kPipeDirectionIn)) {
        return kUsbErrorInvalidParam;
    }
    address = endpoint->bEndpointAddress;
    return session_.IsOpen() ? kUsbOk : kUsbErrorNotFound;
}

UsbStatus LibusbInterface::GetPipeStatus(std::uint8_t pipeRef) {
    const libusb_endpoint_descriptor* endpoint = Endpoint(pipeRef);
    if (endpoint == nullptr) {
        return kUsbErrorInvalidParam;
    }
    if (!session_.IsOpen()) {
        return kUsbErrorNotFound;
    }
    return session_.Route()->PipeStatus(endpoint->bEndpointAddress);
}

UsbStatus LibusbInterface::WritePipe(std::uint8_t pipeRef, const void* data, std::uint32_t size) {
    std::uint8_t address = 0;
    if (const UsbStatus status = OpenEndpoint(pipeRef, kPipeDirectionOut, address); status != kUsbOk) {
        return status;
    }
    if (size > 0 && data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    return session_.Write(address, std::span(static_cast<const std::uint8_t*>(data), size));
}

UsbStatus LibusbInterface::ReadPipe(std::uint8_t pipeRef, void* data, std::uint32_t& size) {
    const std::uint32_t room = size;
    size = 0;
    std::uint8_t address = 0;
    if (const UsbStatus status = OpenEndpoint(pipeRef, kPipeDirectionIn, address); status != kUsbOk) {
        return status;
    }
    if (room == 0) {
        return kUsbOk;
    }
    if (data == nullptr) {
        return kUsbErrorInvalidParam;
    }
    return session_.ReadPass(address, std::span(static_cast<std::uint8_t*>(data), room), size);
}

} // namespace platform::libusb
