#include "simulator/DeviceIdentity.h"

#include "platform/core/TextConversion.h"
#include "platform/usbhost/UsbRequests.h"

#include <algorithm>
#include <limits>

namespace simulator {
namespace {

using platform::kDescriptorTypeDevice;
using platform::kDescriptorTypeString;
using platform::kDeviceDescriptorLength;
constexpr std::uint8_t kManufacturerIndex = 1;
constexpr std::uint8_t kProductIndex = 2;
constexpr std::uint8_t kSerialIndex = 3;
constexpr std::size_t kMaxStringDescriptorText = 252; // the whole descriptor fits its one length byte

std::uint8_t Low(std::uint16_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
std::uint8_t High(std::uint16_t v) {
    return static_cast<std::uint8_t>(v >> 8);
}

} // namespace

std::string DeviceIdText(std::string_view manufacturer, std::string_view product, std::string_view serial) {
    std::string text;
    text.append("MFG:").append(manufacturer).append(";");
    text.append("CMD:ESC/LM,RASTER;");
    text.append("MDL:").append(product).append(";");
    text.append("CLS:PRINTER;");
    text.append("SERN:").append(serial).append(";");
    return text;
}

DeviceIdentity DefaultIdentity(std::string_view serial) {
    DeviceIdentity identity;
    identity.manufacturer = std::string(kDefaultManufacturer);
    identity.product = std::string(kDefaultProduct);
    identity.serial = std::string(serial);
    identity.deviceId = DeviceIdText(kDefaultManufacturer, kDefaultProduct, serial);
    return identity;
}

DeviceIdentity DeviceIdOnlyIdentity(std::string_view serial) {
    DeviceIdentity identity = DefaultIdentity(serial);
    identity.manufacturer.reset();
    identity.product.reset();
    identity.serial.reset();
    return identity;
}

std::vector<std::uint8_t> DeviceDescriptor(const DeviceIdentity& identity) {
    return {kDeviceDescriptorLength,
            kDescriptorTypeDevice,
            0x00,
            0x02, // USB 2.0
            0x00,
            0x00,
            0x00, // class per interface
            0x40, // control packet size
            Low(identity.vendorId),
            High(identity.vendorId),
            Low(identity.productId),
            High(identity.productId),
            0x00,
            0x01, // device release
            identity.manufacturer ? kManufacturerIndex : std::uint8_t{0},
            identity.product ? kProductIndex : std::uint8_t{0},
            identity.serial ? kSerialIndex : std::uint8_t{0},
            0x01}; // one configuration
}

std::vector<std::uint8_t> StringDescriptor(std::string_view utf8) {
    std::string units = platform::ConvertText(utf8, "UTF-8", "UTF-16LE").value_or(std::string());
    units.resize(std::min(units.size(), kMaxStringDescriptorText));
    std::vector<std::uint8_t> descriptor(units.size() + 2);
    descriptor[0] = static_cast<std::uint8_t>(descriptor.size());
    descriptor[1] = kDescriptorTypeString;
    std::copy(units.begin(), units.end(), descriptor.begin() + 2);
    return descriptor;
}

std::vector<std::uint8_t> LanguageIdsDescriptor() {
    return {4, kDescriptorTypeString, 0x09, 0x04}; // English (United States)
}

std::vector<std::uint8_t> DeviceIdReply(std::string_view text) {
    const std::size_t maxText = std::numeric_limits<std::uint16_t>::max() - 2;
    text = text.substr(0, maxText);
    const auto total = static_cast<std::uint16_t>(text.size() + 2);
    std::vector<std::uint8_t> reply(total);
    reply[0] = High(total);
    reply[1] = Low(total);
    std::copy(text.begin(), text.end(), reply.begin() + 2);
    return reply;
}

} // namespace simulator
