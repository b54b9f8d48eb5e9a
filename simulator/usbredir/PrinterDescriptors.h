#pragma once

#include <cstdint>
#include <vector>

namespace simulator::usbredir {

// The one configuration of the LM-360R as a USB device: interface 0, printer class, bidirectional,
// with one bulk pipe each way. The device and string descriptors come from SimulatedPrinter.
inline constexpr std::uint8_t kConfigurationValue = 1;
inline constexpr std::uint8_t kInterfaceNumber = 0;
inline constexpr std::uint8_t kBulkOutEndpoint = 0x02;
inline constexpr std::uint8_t kBulkInEndpoint = 0x81;
inline constexpr std::uint16_t kBulkPacketSize = 512; // high speed
inline constexpr std::uint16_t kControlPacketSize = 64;
inline constexpr std::uint16_t kDeviceRelease = 0x0100;

std::vector<std::uint8_t> ConfigurationDescriptor();

} // namespace simulator::usbredir
