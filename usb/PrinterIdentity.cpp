#include "usb/PrinterIdentity.h"

#include "platform/usbhost/UsbRequests.h"
#include "usb/CUsbStrings.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace cusb_detail;
using platform::UsbInterface;
using platform::UsbStatus;

namespace {

constexpr std::size_t kDeviceIdBufferSize = 256;
constexpr std::size_t kDeviceIdLengthBytes = 2;

// The device ID's text (after its length bytes), read with the printer class GET_DEVICE_ID request.
std::optional<std::string> ReadDeviceId(UsbInterface& intf) {
    std::uint8_t configuration = 0;
    std::uint8_t interfaceNumber = 0;
    std::uint8_t alternate = 0;
    std::uint8_t protocol = 0;
    if (intf.GetConfigurationValue(configuration) != platform::kUsbOk ||
        intf.GetInterfaceNumber(interfaceNumber) != platform::kUsbOk ||
        intf.GetAlternateSetting(alternate) != platform::kUsbOk ||
        intf.GetInterfaceProtocol(protocol) != platform::kUsbOk) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> buffer(kDeviceIdBufferSize);
    platform::UsbDevRequest request;
    request.bmRequestType = platform::kRequestTypeClassInterfaceIn;
    request.bRequest = platform::kRequestGetDeviceId;
    request.wValue = static_cast<std::uint16_t>(configuration - 1);
    request.wIndex = static_cast<std::uint16_t>(interfaceNumber << 8 | alternate);
    const auto ask = [&]() {
        request.wLength = static_cast<std::uint16_t>(buffer.size());
        request.data = buffer.data();
        request.wLenDone = 0;
        return intf.ControlRequest(request) == platform::kUsbOk && request.wLenDone > 0;
    };
    const auto announced = [&]() { return static_cast<std::size_t>(buffer[0] << 8 | buffer[1]); };
    if (!ask()) {
        return std::nullopt;
    }
    if (announced() > buffer.size()) {
        buffer.assign(announced(), 0);
        if (!ask()) {
            return std::nullopt;
        }
    }
    // The text ends at the announced length, the bytes that arrived and the buffer, whichever is first.
    const std::size_t delivered = std::min<std::size_t>(request.wLenDone, buffer.size());
    const std::size_t end = std::min(announced(), delivered);
    if (end < kDeviceIdLengthBytes) {
        return DecodeDeviceId({});
    }
    return DecodeDeviceId(std::string_view(
        reinterpret_cast<const char*>(buffer.data()) + kDeviceIdLengthBytes, end - kDeviceIdLengthBytes));
}

} // namespace

bool IsPrinterInterface(UsbInterface& intf) {
    std::uint8_t interfaceClass = 0;
    std::uint8_t interfaceSubClass = 0;
    return intf.GetInterfaceClass(interfaceClass) == platform::kUsbOk &&
           intf.GetInterfaceSubClass(interfaceSubClass) == platform::kUsbOk &&
           interfaceClass == platform::kPrinterInterfaceClass &&
           interfaceSubClass == platform::kPrinterInterfaceSubClass;
}

PrinterIdentity ReadPrinterIdentity(UsbInterface& intf) {
    PrinterIdentity found;
    std::array<std::uint8_t, platform::kDeviceDescriptorLength> descriptor{};
    platform::UsbDevRequest request;
    request.bmRequestType = platform::kRequestTypeStandardDeviceIn;
    request.bRequest = platform::kRequestGetDescriptor;
    request.wValue = platform::DescriptorValue(platform::kDescriptorTypeDevice, 0);
    request.wLength = static_cast<std::uint16_t>(descriptor.size());
    request.data = descriptor.data();
    if (const UsbStatus asked = intf.ControlRequest(request); asked != platform::kUsbOk) {
        found.accessRefused = asked == platform::kUsbErrorAccess;
        return found;
    }
    found.product = usb_create_string(intf, descriptor[platform::kProductStringIndexAt]);
    found.manufacturer = usb_create_string(intf, descriptor[platform::kManufacturerStringIndexAt]);
    found.serial = usb_create_string(intf, descriptor[platform::kSerialStringIndexAt]);

    found.deviceId = ReadDeviceId(intf);
    const std::optional<std::string>& deviceId = found.deviceId;
    if (!deviceId) {
        return found;
    }
    if (!found.manufacturer) {
        found.manufacturer = create_1284_substring(deviceId, "MFG:");
        if (!found.manufacturer) {
            found.manufacturer = create_1284_substring(deviceId, "MANUFACTURER:");
        }
    }
    if (!found.product) {
        found.product = create_1284_substring(deviceId, "MDL:");
        if (!found.product) {
            found.product = create_1284_substring(deviceId, "MODEL:");
        }
    }
    if (!found.serial) {
        found.serial = create_1284_substring(deviceId, "SERN:");
    }
    return found;
}

bool MatchesTargets(const PrinterIdentity& identity, const std::string* manufacturer,
                    const std::string* product, const std::string* serial) {
    constexpr int kUnused = 8;
    return cfcomparecstring(manufacturer, identity.manufacturer, kUnused) == 0 &&
           cfcomparecstring(product, identity.product, kUnused) == 0 &&
           cfcomparecstring(serial, identity.serial, kUnused) == 0;
}
