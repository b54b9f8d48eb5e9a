#pragma once

#include "protocol/PrinterModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simulator {

// The simulated printer is the model the application looks for.
inline constexpr std::string_view kDefaultManufacturer = protocol::kTargetManufacturer;
inline constexpr std::string_view kDefaultProduct = protocol::kTargetProduct;
inline constexpr std::string_view kDefaultSerial = "SIM0000001";

// Who a simulated printer says it is, through its string descriptors and its IEEE 1284 device ID.
struct DeviceIdentity {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0x0001;
    // String descriptors (UTF-8 here, UTF-16LE on the wire). A missing one makes the device
    // descriptor name string index 0, "no such string".
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> serial;
    // The device-ID text without its two length bytes, sent byte for byte (Mac Roman on the wire).
    std::string deviceId;
};

// "MFG:<manufacturer>;CMD:...;MDL:<product>;CLS:PRINTER;SERN:<serial>;"
std::string DeviceIdText(std::string_view manufacturer, std::string_view product, std::string_view serial);

// The LM-360R as it ships: all three strings and a matching device ID.
DeviceIdentity DefaultIdentity(std::string_view serial = kDefaultSerial);

// The same identity given only by the device ID: no string descriptors at all.
DeviceIdentity DeviceIdOnlyIdentity(std::string_view serial = kDefaultSerial);

// Wire encodings, exposed so tests and emulated devices can build them the same way.
std::vector<std::uint8_t> DeviceDescriptor(const DeviceIdentity& identity);
std::vector<std::uint8_t> StringDescriptor(std::string_view utf8);
std::vector<std::uint8_t> LanguageIdsDescriptor();
// The device ID as GET_DEVICE_ID answers it: two big-endian length bytes counting themselves, then
// the text. A text too long for the 16-bit length is cut.
std::vector<std::uint8_t> DeviceIdReply(std::string_view text);

} // namespace simulator
