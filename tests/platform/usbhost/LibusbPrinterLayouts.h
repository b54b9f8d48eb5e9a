#pragma once

#include "tests/platform/usbhost/LibusbEmulatedDevice.h"

namespace usbfs_test {

inline constexpr std::uint8_t kBulkOut = 0x02;
inline constexpr std::uint8_t kBulkIn = 0x81;

// The LM-360R as it presents itself: one printer-class interface, bidirectional, with its strings and
// IEEE 1284 device ID.
inline EmulatedDeviceLayout DefaultPrinterLayout() {
    EmulatedDeviceLayout layout;
    layout.strings = {{1, u"Tamblor"}, {2, u"LM-360R"}, {3, u"A1B2C3"}};
    layout.iManufacturer = 1;
    layout.iProduct = 2;
    layout.iSerialNumber = 3;
    layout.interfaces = {{{{7, 1, 2, {{kBulkOut}, {kBulkIn}}}}}};
    layout.deviceId = "MFG:Tamblor;CMD:ESCPL;MDL:LM-360R;CLS:PRINTER;";
    return layout;
}

// No string descriptors: the names are only in the device ID.
inline EmulatedDeviceLayout PrinterWithoutStrings() {
    EmulatedDeviceLayout layout = DefaultPrinterLayout();
    layout.strings.clear();
    layout.iManufacturer = layout.iProduct = layout.iSerialNumber = 0;
    return layout;
}

// Unidirectional in its first setting; the bidirectional protocol sits at alternate setting 1.
inline EmulatedDeviceLayout PrinterWithBidirectionalAlt1() {
    EmulatedDeviceLayout layout = DefaultPrinterLayout();
    layout.interfaces = {{{{7, 1, 1, {{kBulkOut}}}, {7, 1, 2, {{kBulkOut}, {kBulkIn}}}}}};
    return layout;
}

} // namespace usbfs_test
