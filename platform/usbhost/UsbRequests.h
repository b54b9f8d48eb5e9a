#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// The USB printer class: its interfaces, and the one request of its own.
inline constexpr std::uint8_t kPrinterInterfaceClass = 7;
inline constexpr std::uint8_t kPrinterInterfaceSubClass = 1;
inline constexpr std::uint8_t kPrinterProtocolUnidirectional = 1;
inline constexpr std::uint8_t kPrinterProtocolBidirectional = 2;

// Standard requests and the printer-class request the link makes on the default pipe.
inline constexpr std::uint8_t kRequestTypeStandardDeviceIn = 0x80; // standard, device, device-to-host
inline constexpr std::uint8_t kRequestTypeClassInterfaceIn = 0xA1; // class, interface, device-to-host
inline constexpr std::uint8_t kRequestGetDescriptor = 0x06;
inline constexpr std::uint8_t kRequestGetDeviceId = 0x00; // printer class GET_DEVICE_ID

inline constexpr std::uint8_t kDescriptorTypeDevice = 0x01;
inline constexpr std::uint8_t kDescriptorTypeConfiguration = 0x02;
inline constexpr std::uint8_t kDescriptorTypeString = 0x03;
inline constexpr std::uint8_t kDescriptorTypeInterface = 0x04;
inline constexpr std::uint8_t kDescriptorTypeEndpoint = 0x05;

// The device descriptor and where it names its strings.
inline constexpr std::uint8_t kDeviceDescriptorLength = 18;
inline constexpr std::size_t kManufacturerStringIndexAt = 14;
inline constexpr std::size_t kProductStringIndexAt = 15;
inline constexpr std::size_t kSerialStringIndexAt = 16;

constexpr std::uint16_t DescriptorValue(std::uint8_t type, std::uint8_t index) {
    return static_cast<std::uint16_t>(type << 8 | index);
}

} // namespace platform
