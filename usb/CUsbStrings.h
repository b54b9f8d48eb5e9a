#pragma once

// Internal to the link: how it reads a printer's identity. Declared here so tests can reach them.

#include "platform/usbhost/UsbInterface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cusb_detail {

// The string descriptor `index` (language 0) of the interface's device as UTF-8, or nullopt when the
// device names no such string (index 0), the request fails or delivers nothing, or the descriptor is
// malformed (length byte below 2, or 128 and above). Never reads past the bytes delivered.
std::optional<std::string> usb_create_string(platform::UsbInterface& intf, std::uint8_t index);

// The value of `key` ("MFG:", "MDL:", ...) in an IEEE 1284 device ID: the key is found in any letter
// case; spaces right after it are skipped; the value runs to the next ";" or the end. A key with
// nothing after it gives "". Nullopt when the device ID or key is missing or the key is not found.
std::optional<std::string> create_1284_substring(const std::optional<std::string>& deviceId,
                                                 std::string_view key);

// 0 when `candidate` matches `target`, else non-zero. An unset or empty target matches anything, a
// missing candidate matches nothing else; otherwise the two must be equal, case-sensitive, as C
// strings (up to their first NUL). The third argument is not used.
int cfcomparecstring(const std::string* target, const std::optional<std::string>& candidate, int unused);

// The device-ID bytes after its two length bytes, decoded from Mac Roman; nullopt when they cannot be.
std::optional<std::string> DecodeDeviceId(std::string_view bytes);

} // namespace cusb_detail
