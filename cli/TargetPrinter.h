#pragma once

#include "usb/SettingsService.h"

#include <QString>

namespace cli {

// The settings service for the application's printer, the LM-360R, narrowed to the one with serial
// number `serial` when it is not empty.
SettingsService TargetPrinter(platform::UsbBus& bus, const QString& serial);

} // namespace cli
