#include "simulator/usbredir/PrinterDescriptors.h"

#include "platform/usbhost/UsbRequests.h"

namespace simulator::usbredir {
namespace {

constexpr std::uint8_t kBulk = 2;
constexpr std::uint8_t kConfigurationLength = 9;
constexpr std::uint8_t kInterfaceLength = 9;
constexpr std::uint8_t kEndpointLength = 7;
constexpr std::uint8_t kTotalLength = kConfigurationLength + kInterfaceLength + 2 * kEndpointLength;

std::vector<std::uint8_t> Endpoint(std::uint8_t address) {
    return {kEndpointLength,
            platform::kDescriptorTypeEndpoint,
            address,
            kBulk,
            kBulkPacketSize & 0xFF,
            kBulkPacketSize >> 8,
            0};
}

} // namespace

std::vector<std::uint8_t> ConfigurationDescriptor() {
    std::vector<std::uint8_t> descriptor{kConfigurationLength,
                                         platform::kDescriptorTypeConfiguration,
                                         kTotalLength,
                                         0,
                                         1 /* interfaces */,
                                         kConfigurationValue,
                                         0 /* no string */,
                                         0xC0 /* self-powered */,
                                         1 /* 2 mA */,
                                         kInterfaceLength,
                                         platform::kDescriptorTypeInterface,
                                         kInterfaceNumber,
                                         0 /* alternate setting */,
                                         2 /* endpoints */,
                                         platform::kPrinterInterfaceClass,
                                         platform::kPrinterInterfaceSubClass,
                                         platform::kPrinterProtocolBidirectional,
                                         0 /* no string */};
    for (const std::uint8_t address : {kBulkOutEndpoint, kBulkInEndpoint}) {
        const auto endpoint = Endpoint(address);
        descriptor.insert(descriptor.end(), endpoint.begin(), endpoint.end());
    }
    return descriptor;
}

} // namespace simulator::usbredir
