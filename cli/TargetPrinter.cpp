#include "cli/TargetPrinter.h"

#include "protocol/PrinterIdentity.h"

namespace cli {

SettingsService TargetPrinter(platform::UsbBus& bus, const QString& serial) {
    SettingsService service(bus);
    if (!serial.isEmpty()) {
        service.SetTarget(std::string(protocol::kTargetManufacturer), std::string(protocol::kTargetProduct),
                          serial.toStdString());
    }
    return service;
}

} // namespace cli
