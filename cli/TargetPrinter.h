#pragma once

#include "usb/SettingsService.h"

#include <QString>

namespace cli {

// The settings service for the application's printer, the LM-360R, narrowed to the one with serial
// number `serial` when it is not empty.
SettingsService TargetPrinter(platform::UsbBus& bus, const QString& serial);

// Without a serial the first LM-360R found is used; when there are several, says on stderr which one
// and how to choose another, so a script does not change the wrong printer without a word.
void WarnWhenSeveralMatch(SettingsService& service, const QString& serial);

} // namespace cli
