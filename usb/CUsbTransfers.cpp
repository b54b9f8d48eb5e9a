// Moving frames over the open interface's bulk pipes, and closing it.

#include "usb/CUsb.h"
#include "usb/CUsbLink.h"

#include <algorithm>

namespace {

// Each read pass counts this much against the read's time-out, however long it took. The bus's own
// pass waits a bounded time for bytes, so the link never pauses between passes.
constexpr std::uint32_t kReadPassCost = 100;

} // namespace

namespace cusb_detail {

void close(USBIOContext& context) {
    if (context.intf) {
        context.intf->USBInterfaceClose();
        context.intf.reset();
    }
}

} // namespace cusb_detail

LinkResult CUsb::UsbWrite(USBIOContext& context, const void* frame, std::uint32_t length) {
    if (!context.intf || (frame == nullptr && length > 0)) {
        context.error = platform::kUsbErrorInvalidParam;
        return kLinkWriteFailed;
    }
    if (const platform::UsbStatus status = context.intf->GetPipeStatus(context.outPipeRef);
        status != platform::kUsbOk) {
        context.error = status;
        return kLinkWriteFailed;
    }
    if (const platform::UsbStatus status = context.intf->WritePipe(context.outPipeRef, frame, length);
        status != platform::kUsbOk) {
        context.error = status;
        return kLinkWriteFailed;
    }
    return kLinkOk;
}

LinkResult CUsb::UsbRead(USBIOContext& context, void* reply, std::uint32_t& length, std::uint32_t timeout) {
    const std::uint32_t wanted = length;
    std::uint32_t remaining = wanted;
    std::uint64_t elapsed = 0; // wide enough never to wrap, whatever the time-out
    auto* position = static_cast<std::uint8_t*>(reply);
    const auto fail = [&](std::int32_t status) {
        length = wanted - remaining;
        context.error = status;
        return kLinkReadFailed;
    };
    if (remaining > 0 && (!context.intf || reply == nullptr)) {
        return fail(platform::kUsbErrorInvalidParam);
    }
    while (remaining > 0) {
        // A pass that would run over the time-out could not count its bytes: time out without it.
        if (elapsed + kReadPassCost > timeout) {
            return fail(0);
        }
        if (const platform::UsbStatus status = context.intf->GetPipeStatus(context.inPipeRef);
            status != platform::kUsbOk) {
            return fail(status);
        }
        std::uint32_t delivered = remaining;
        if (const platform::UsbStatus status = context.intf->ReadPipe(context.inPipeRef, position, delivered);
            status != platform::kUsbOk) {
            return fail(status);
        }
        elapsed += kReadPassCost;
        delivered = std::min(delivered, remaining); // a backend that claims more than it was offered
        position += delivered;
        remaining -= delivered;
    }
    return kLinkOk;
}

LinkResult CUsb::UsbClose(USBIOContext& context) {
    cusb_detail::close(context);
    return kLinkOk;
}
