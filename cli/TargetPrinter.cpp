#include "cli/TargetPrinter.h"

#include "cli/Output.h"
#include "protocol/PrinterModel.h"

namespace cli {

SettingsService TargetPrinter(platform::UsbBus& bus, const QString& serial) {
    SettingsService service(bus);
    if (!serial.isEmpty()) {
        service.SetTarget(std::string(protocol::kTargetManufacturer), std::string(protocol::kTargetProduct),
                          serial.toStdString());
    }
    return service;
}

void WarnWhenSeveralMatch(SettingsService& service, const QString& serial) {
    if (!serial.isEmpty()) {
        return;
    }
    const PrinterListing listing = service.ListPrinters();
    const std::size_t matching = listing.Matching();
    if (matching < 2) {
        return;
    }
    const std::optional<std::string>& used = listing.InUse()->identity.serial;
    PrintError(QStringLiteral("warning: %1 LM-360R printers are attached; using the first, %2; choose "
                              "another with --serial SERIAL (\"lm360rctl list\" shows them)")
                   .arg(matching)
                   .arg(used ? QStringLiteral("serial %1").arg(QString::fromStdString(*used))
                             : QStringLiteral("which has no serial number")));
}

} // namespace cli
