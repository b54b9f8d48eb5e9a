#pragma once

#include "platform/usbhost/UsbInterface.h"

#include <cstdint>
#include <memory>
#include <string>

// The record of one connection: created fresh before each open, dropped after the close.
struct USBIOContext {
    platform::UsbDeviceRef device = 0;
    std::unique_ptr<platform::UsbInterface> intf; // the open printer interface; null while closed
    std::uint8_t outPipeRef = 0;                  // 0: no bulk OUT pipe found
    std::uint8_t inPipeRef = 0;                   // 0: no bulk IN pipe found
    // Targets given to the open, borrowed; null means "not set", which matches any printer.
    const std::string* targetManufacturer = nullptr;
    const std::string* targetProduct = nullptr;
    const std::string* targetSerial = nullptr;
    // Status of the step that made the last operation fail; 0 after a read time-out. Written only on failure.
    std::int32_t error = 0;
};
