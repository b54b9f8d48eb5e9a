#include "cli/PrinterList.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/Printer.h"
#include "platform/usb/ProcessUsbBus.h"
#include "platform/usb/UsbRequests.h"
#include "usb/CUsbStrings.h"

#include <QJsonArray>
#include <algorithm>
#include <array>

namespace cli {
namespace {

using platform::UsbInterface;

constexpr std::uint8_t kPrinterClass = 7;
constexpr std::uint8_t kPrinterSubClass = 1;
constexpr std::size_t kDeviceIdBufferSize = 256;
constexpr std::size_t kDeviceIdLengthBytes = 2;

struct Identity {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> serial;
    std::optional<std::string> deviceId;
    bool target = false;
};

bool IsPrinterInterface(UsbInterface& intf) {
    std::uint8_t interfaceClass = 0;
    std::uint8_t interfaceSubClass = 0;
    return intf.GetInterfaceClass(interfaceClass) == platform::kUsbOk &&
           intf.GetInterfaceSubClass(interfaceSubClass) == platform::kUsbOk &&
           interfaceClass == kPrinterClass && interfaceSubClass == kPrinterSubClass;
}

// The device ID as the link asks for it (GET_DEVICE_ID on the current alternate setting), read
// again with a larger buffer when the printer announces a longer one.
std::optional<std::string> ReadDeviceId(UsbInterface& intf) {
    std::uint8_t configuration = 0;
    std::uint8_t interfaceNumber = 0;
    std::uint8_t alternate = 0;
    if (intf.GetConfigurationValue(configuration) != platform::kUsbOk ||
        intf.GetInterfaceNumber(interfaceNumber) != platform::kUsbOk ||
        intf.GetAlternateSetting(alternate) != platform::kUsbOk) {
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
        return intf.ControlRequest(request) == platform::kUsbOk && request.wLenDone >= kDeviceIdLengthBytes;
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
    const std::size_t end =
        std::min({announced(), static_cast<std::size_t>(request.wLenDone), buffer.size()});
    if (end < kDeviceIdLengthBytes) {
        return cusb_detail::DecodeDeviceId({});
    }
    return cusb_detail::DecodeDeviceId(std::string_view(
        reinterpret_cast<const char*>(buffer.data()) + kDeviceIdLengthBytes, end - kDeviceIdLengthBytes));
}

// String descriptors first; what they leave out comes from the device ID, under the link's keys.
Identity ReadIdentity(UsbInterface& intf) {
    Identity identity;
    std::array<std::uint8_t, platform::kDeviceDescriptorLength> descriptor{};
    platform::UsbDevRequest request;
    request.bmRequestType = platform::kRequestTypeStandardDeviceIn;
    request.bRequest = platform::kRequestGetDescriptor;
    request.wValue = platform::DescriptorValue(platform::kDescriptorTypeDevice, 0);
    request.wLength = static_cast<std::uint16_t>(descriptor.size());
    request.data = descriptor.data();
    if (intf.ControlRequest(request) == platform::kUsbOk) {
        identity.product = cusb_detail::usb_create_string(intf, descriptor[platform::kProductStringIndexAt]);
        identity.manufacturer =
            cusb_detail::usb_create_string(intf, descriptor[platform::kManufacturerStringIndexAt]);
        identity.serial = cusb_detail::usb_create_string(intf, descriptor[platform::kSerialStringIndexAt]);
    }
    identity.deviceId = ReadDeviceId(intf);
    const auto fill = [&identity](std::optional<std::string>& field, std::string_view key,
                                  std::string_view otherKey) {
        if (!field) {
            field = cusb_detail::create_1284_substring(identity.deviceId, key);
        }
        if (!field && !otherKey.empty()) {
            field = cusb_detail::create_1284_substring(identity.deviceId, otherKey);
        }
    };
    fill(identity.manufacturer, "MFG:", "MANUFACTURER:");
    fill(identity.product, "MDL:", "MODEL:");
    fill(identity.serial, "SERN:", {});
    return identity;
}

bool IsTarget(const Identity& identity, const Printer& target) {
    constexpr int kUnused = 8;
    return cusb_detail::cfcomparecstring(&target.Manufacturer(), identity.manufacturer, kUnused) == 0 &&
           cusb_detail::cfcomparecstring(&target.Product(), identity.product, kUnused) == 0 &&
           cusb_detail::cfcomparecstring(&target.Serial(), identity.serial, kUnused) == 0;
}

QJsonValue JsonString(const std::optional<std::string>& text) {
    return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QString Quoted(const std::optional<std::string>& text) {
    return text ? QStringLiteral("\"%1\"").arg(QString::fromStdString(*text)) : QStringLiteral("(none)");
}

} // namespace

int RunList(const Invocation& invocation) {
    const Printer target(invocation.serial.toStdString());
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    if (const platform::UsbStatus status = platform::ProcessUsbBus().ListInterfaces(entries);
        status != platform::kUsbOk) {
        PrintError(QStringLiteral("listing the USB interfaces failed: platform status %1").arg(status));
        return kExitLinkFailure;
    }
    std::vector<Identity> printers;
    for (const auto& entry : entries) {
        std::unique_ptr<UsbInterface> intf;
        if (entry->CreateInterface(intf) != platform::kUsbOk || !intf || !IsPrinterInterface(*intf)) {
            continue;
        }
        Identity identity = ReadIdentity(*intf);
        identity.target = IsTarget(identity, target);
        printers.push_back(std::move(identity));
    }

    if (invocation.json) {
        QJsonArray list;
        for (const Identity& p : printers) {
            list.append(QJsonObject{{QStringLiteral("manufacturer"), JsonString(p.manufacturer)},
                                    {QStringLiteral("product"), JsonString(p.product)},
                                    {QStringLiteral("serial"), JsonString(p.serial)},
                                    {QStringLiteral("deviceId"), JsonString(p.deviceId)},
                                    {QStringLiteral("target"), p.target}});
        }
        PrintJson(QJsonObject{{QStringLiteral("printers"), list}});
    } else if (printers.empty()) {
        PrintLine(QStringLiteral("no USB printer interface found"));
    }
    for (std::size_t i = 0; i < printers.size() && !invocation.json; ++i) {
        const Identity& p = printers[i];
        PrintLine(QStringLiteral("%1: manufacturer %2, product %3, serial %4%5")
                      .arg(i + 1)
                      .arg(Quoted(p.manufacturer), Quoted(p.product), Quoted(p.serial),
                           p.target ? QStringLiteral(" [target]") : QString()));
        PrintLine(QStringLiteral("   device ID: %1").arg(Quoted(p.deviceId)));
    }
    const bool found =
        std::any_of(printers.begin(), printers.end(), [](const Identity& p) { return p.target; });
    return found ? kExitSuccess : kExitNoPrinter;
}

} // namespace cli
