#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Status of one USB host operation: 0 for success, otherwise the backend's error code. The libusb
// backend passes libusb's codes through; the simulated bus uses the same numbers so that an alert
// shows the same code for the same fault.
using UsbStatus = std::int32_t;

inline constexpr UsbStatus kUsbOk = 0;
inline constexpr UsbStatus kUsbErrorIo = -1;
inline constexpr UsbStatus kUsbErrorInvalidParam = -2;
inline constexpr UsbStatus kUsbErrorAccess = -3;
inline constexpr UsbStatus kUsbErrorNoDevice = -4;
inline constexpr UsbStatus kUsbErrorNotFound = -5;
inline constexpr UsbStatus kUsbErrorBusy = -6;
inline constexpr UsbStatus kUsbErrorTimeout = -7;
inline constexpr UsbStatus kUsbErrorOverflow = -8;
inline constexpr UsbStatus kUsbErrorPipe = -9; // stalled endpoint
inline constexpr UsbStatus kUsbErrorInterrupted = -10;
inline constexpr UsbStatus kUsbErrorNoMem = -11;
inline constexpr UsbStatus kUsbErrorNotSupported = -12;
inline constexpr UsbStatus kUsbErrorOther = -99;

// The status's name as libusb spells it ("LIBUSB_ERROR_ACCESS"), for messages that support can look
// up; "**UNKNOWN**" for a number that is none of the above.
std::string_view UsbStatusName(UsbStatus status);

} // namespace platform
