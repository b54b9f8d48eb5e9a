#include "platform/usbhost/UsbStatus.h"

#include <algorithm>
#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<UsbStatus, std::string_view>, 14> kNames{{
    {kUsbOk, "LIBUSB_SUCCESS / LIBUSB_TRANSFER_COMPLETED"},
    {kUsbErrorIo, "LIBUSB_ERROR_IO"},
    {kUsbErrorInvalidParam, "LIBUSB_ERROR_INVALID_PARAM"},
    {kUsbErrorAccess, "LIBUSB_ERROR_ACCESS"},
    {kUsbErrorNoDevice, "LIBUSB_ERROR_NO_DEVICE"},
    {kUsbErrorNotFound, "LIBUSB_ERROR_NOT_FOUND"},
    {kUsbErrorBusy, "LIBUSB_ERROR_BUSY"},
    {kUsbErrorTimeout, "LIBUSB_ERROR_TIMEOUT"},
    {kUsbErrorOverflow, "LIBUSB_ERROR_OVERFLOW"},
    {kUsbErrorPipe, "LIBUSB_ERROR_PIPE"},
    {kUsbErrorInterrupted, "LIBUSB_ERROR_INTERRUPTED"},
    {kUsbErrorNoMem, "LIBUSB_ERROR_NO_MEM"},
    {kUsbErrorNotSupported, "LIBUSB_ERROR_NOT_SUPPORTED"},
    {kUsbErrorOther, "LIBUSB_ERROR_OTHER"},
}};

} // namespace

std::string_view UsbStatusName(UsbStatus status) {
    const auto found = std::find_if(kNames.begin(), kNames.end(),
                                    [status](const auto& entry) { return entry.first == status; });
    return found != kNames.end() ? found->second : "**UNKNOWN**";
}

} // namespace platform
