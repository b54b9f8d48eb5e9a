// Construction, targets, and the open: scan the bus for the target printer's printer-class
// interface, open it, choose its bulk pipes and put the printer into a known state.

#include "platform/usbhost/UsbRequests.h"
#include "protocol/Frames.h"
#include "usb/CUsb.h"
#include "usb/PrinterIdentity.h"

#include <vector>

using platform::UsbInterface;
using platform::UsbStatus;

namespace {

// Printers that offer the bidirectional protocol only on a later alternate setting: select the first
// one above the current setting that does, else the last unidirectional one seen. The walk is answered
// from the interface's descriptors without claiming it, so a printer that turns out not to be the
// target keeps its kernel driver; the printer is told the setting when its interface is opened.
void PreferBidirectional(UsbInterface& intf) {
    std::optional<std::uint8_t> unidirectional;
    // Each step selects a higher setting, so at most 255 steps; a handle that does not advance still
    // cannot keep the walk going.
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
        if (protocol == platform::kPrinterProtocolUnidirectional) {
            unidirectional = next;
        }
        if (protocol == platform::kPrinterProtocolBidirectional) {
            return;
        }
    }
    if (unidirectional) {
        intf.SetAlternateInterface(*unidirectional);
    }
}

bool Matches(const USBIOContext& context, const PrinterIdentity& found) {
    return MatchesTargets(found, context.targetManufacturer, context.targetProduct, context.targetSerial);
}

// Whether a printer that refused this user could be the one looked for: its manufacturer and product
// as the system shows them match the targets, or the system does not show them.
bool CouldBeTarget(UsbInterface& intf, const USBIOContext& context) {
    PrinterIdentity shown;
    if (intf.GetSystemDeviceStrings(shown.manufacturer, shown.product) != platform::kUsbOk ||
        !shown.manufacturer || !shown.product) {
        return true;
    }
    return MatchesTargets(shown, context.targetManufacturer, context.targetProduct, nullptr);
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
                std::uint8_t protocol = 0;
                if (!IsPrinterInterface(*intf) || intf->GetInterfaceProtocol(protocol) != platform::kUsbOk) {
                    continue; // rejected: the handle is released here, before the next interface
                }
                if (protocol != platform::kPrinterProtocolBidirectional) {
                    PreferBidirectional(*intf);
                }
                status = intf->GetInterfaceProtocol(protocol);
                const PrinterIdentity found = ReadPrinterIdentity(*intf);
                printerRefusedAccess =
                    printerRefusedAccess || (found.accessRefused && CouldBeTarget(*intf, context));
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
        // The target printer that the user may not open is not "no printer": the user can do something
        // about it. Another maker's printer that refuses the user is none of this program's business.
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
