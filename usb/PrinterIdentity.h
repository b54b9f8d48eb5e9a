#pragma once

// How the link tells who a printer-class interface belongs to; shared by the open and by tools that
// list printers, so both see the same identity.

#include "platform/usbhost/UsbInterface.h"

#include <optional>
#include <string>

struct PrinterIdentity {
    std::optional<std::string> manufacturer;
    std::optional<std::string> product;
    std::optional<std::string> serial;
    std::optional<std::string> deviceId; // the IEEE 1284 device ID's text, when the printer gave one
    bool accessRefused = false;          // the device would not let this user ask it anything
};

// Class 7 (printer), subclass 1; an interface whose class cannot be read is not one.
bool IsPrinterInterface(platform::UsbInterface& intf);

// Manufacturer, product and serial from the device's string descriptors; what they leave out comes
// from the device ID (read on the alternate setting now selected).
PrinterIdentity ReadPrinterIdentity(platform::UsbInterface& intf);

// Whether the identity matches all three targets (an unset or empty target matches anything).
bool MatchesTargets(const PrinterIdentity& identity, const std::string* manufacturer,
                    const std::string* product, const std::string* serial);
