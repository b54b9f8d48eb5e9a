// Construction, targets, and the open: scan the bus for the target printer's printer-class
// interface, open it, choose its bulk pipes and put the printer into a known state.

#include "platform/usb/ProcessUsbBus.h"
#include "platform/usb/UsbRequests.h"
#include "protocol/Frames.h"
#include "usb/CUsb.h"
#include "usb/CUsbStrings.h"

#include <array>
#include <vector>

using namespace cusb_detail;
using platform::UsbInterface;
using platform::UsbStatus;

namespace {

constexpr std::uint8_t kPrinterClass = 7;
constexpr std::uint8_t kPrinterSubClass = 1;
constexpr std::uint8_t kUnidirectional = 1;
constexpr std::uint8_t kBidirectional = 2;
constexpr std::size_t kDeviceIdBufferSize = 256;
constexpr std::size_t kDeviceIdLengthBytes = 2;

struct Candidates {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> serial;
    bool accessRefused = false; // the device would not let this user ask it anything
};

// Printers that offer the bidirectional protocol only on a later alternate setting: select the first
// one that does, else the last unidirectional one seen. The interface is closed again afterwards.
void PreferBidirectional(UsbInterface& intf) {
    std::optional<std::uint8_t> unidirectional;
    bool bidirectional = false;
    if (intf.USBInterfaceOpen() == platform::kUsbOk) {
        // Each step selects a higher setting, so at most 255 steps; a device that does not
        // advance still cannot keep the walk going.
        for (int step = 0; step < 255; ++step) {
            std::uint8_t current = 0;
            std::uint8_t protocol = 0;
            if (intf.GetAlternateSetting(current) != platform::kUsbOk || current == 0xFF) {
                break;
            }
            const auto next = static_cast<std::uint8_t>(current + 1);
            if (intf.SetAlternateInterface(next) != platform::kUsbOk ||
                intf.GetInterfaceProtocol(protocol) != platform::kUsbOk) {
                break;
            }
            if (protocol == kUnidirectional) {
                unidirectional = next;
            }
            if (protocol == kBidirectional) {
                bidirectional = true;
                break;
            }
        }
    }
    if (!bidirectional && unidirectional) {
        intf.SetAlternateInterface(*unidirectional);
    }
    intf.USBInterfaceClose();
}

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

Candidates ReadCandidates(UsbInterface& intf) {
    Candidates found;
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

    const std::optional<std::string> deviceId = ReadDeviceId(intf);
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

bool Matches(const USBIOContext& context, const Candidates& found) {
    constexpr int kUnused = 8;
    return cfcomparecstring(context.targetManufacturer, found.manufacturer, kUnused) == 0 &&
           cfcomparecstring(context.targetProduct, found.product, kUnused) == 0 &&
           cfcomparecstring(context.targetSerial, found.serial, kUnused) == 0;
}

// Releases an interface the open matched but could not finish opening, so no caller has to.
LinkResult FailOpen(USBIOContext& context, UsbStatus status, bool interfaceOpen) {
    if (interfaceOpen) {
        context.intf->USBInterfaceClose();
    }
    context.intf.reset();
    context.error = status;
    return kLinkOpenFailed;
}

} // namespace

CUsb::CUsb() : CUsb(platform::ProcessUsbBus()) {}

CUsb::CUsb(platform::UsbBus& bus) : bus_(&bus) {}

void CUsb::SetDeviceInf(const std::string* manufacturer, const std::string* product,
                        const std::string* serial) {
    const auto copy = [](const std::string* from) {
        return from != nullptr ? std::optional<std::string>(*from) : std::nullopt;
    };
    mManufacturer = copy(manufacturer);
    mProduct = copy(product);
    mSerial = copy(serial);
}

LinkResult CUsb::UsbOpen(USBIOContext& context, const std::string* manufacturer, const std::string* product,
                         const std::string* serial) {
    context.targetManufacturer = manufacturer;
    context.targetProduct = product;
    context.targetSerial = serial;
    context.device = 0;
    context.intf.reset();
    context.outPipeRef = 0;
    context.inPipeRef = 0;

    UsbStatus status = platform::kUsbOk;
    bool printerRefusedAccess = false;
    {
        std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
        status = bus_->ListInterfaces(entries);
        if (status == platform::kUsbOk) {
            for (const auto& entry : entries) {
                std::unique_ptr<UsbInterface> intf;
                status = entry->CreateInterface(intf);
                if (status != platform::kUsbOk || !intf) {
                    continue;
                }
                std::uint8_t interfaceClass = 0;
                std::uint8_t interfaceSubClass = 0;
                std::uint8_t protocol = 0;
                if (intf->GetInterfaceClass(interfaceClass) != platform::kUsbOk ||
                    intf->GetInterfaceSubClass(interfaceSubClass) != platform::kUsbOk ||
                    intf->GetInterfaceProtocol(protocol) != platform::kUsbOk ||
                    interfaceClass != kPrinterClass || interfaceSubClass != kPrinterSubClass) {
                    continue; // rejected: the handle is released here, before the next interface
                }
                if (protocol != kBidirectional) {
                    PreferBidirectional(*intf);
                }
                status = intf->GetInterfaceProtocol(protocol);
                const Candidates found = ReadCandidates(*intf);
                printerRefusedAccess = printerRefusedAccess || found.accessRefused;
                if (Matches(context, found)) {
                    status = intf->GetDevice(context.device);
                    context.intf = std::move(intf);
                    break; // the first match wins
                }
            }
        }
    } // every other handle and the listing are released here

    if (status != platform::kUsbOk) {
        return FailOpen(context, status, false);
    }
    if (!context.intf) {
        // A printer the user may not open is not "no printer": the user can do something about it.
        if (printerRefusedAccess) {
            context.error = platform::kUsbErrorAccess;
            return kLinkOpenFailed;
        }
        context.error = status;
        return kLinkNoPrinter;
    }
    std::uint8_t endpoints = 0;
    if (const UsbStatus opened = context.intf->USBInterfaceOpen(); opened != platform::kUsbOk) {
        return FailOpen(context, opened, false);
    }
    if (const UsbStatus counted = context.intf->GetNumEndpoints(endpoints); counted != platform::kUsbOk) {
        return FailOpen(context, counted, true);
    }
    for (unsigned ref = 1; ref <= endpoints; ++ref) {
        const auto pipeRef = static_cast<std::uint8_t>(ref);
        platform::PipeProperties pipe;
        if (const UsbStatus read = context.intf->GetPipeProperties(pipeRef, pipe); read != platform::kUsbOk) {
            return FailOpen(context, read, true);
        }
        if (pipe.transferType != platform::kPipeTypeBulk) {
            continue;
        }
        if (pipe.direction == platform::kPipeDirectionIn) {
            context.inPipeRef = pipeRef; // a later bulk pipe of the same direction wins
        } else if (pipe.direction == platform::kPipeDirectionOut) {
            context.outPipeRef = pipeRef;
        }
    }
    // The printer may be mid-job or in another mode; these cannot fail the open.
    const protocol::Frame initialize = protocol::InitializeFrame();
    const protocol::Frame mode = protocol::ModeFrame();
    UsbWrite(context, initialize.data(), static_cast<std::uint32_t>(initialize.size()));
    UsbWrite(context, mode.data(), static_cast<std::uint32_t>(mode.size()));
    return kLinkOk;
}
