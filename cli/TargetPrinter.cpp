#include "cli/TargetPrinter.h"

#include "cli/Output.h"
#include "protocol/PrinterIdentity.h"

#include <algorithm>

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
    const auto matching = std::count_if(listing.printers.begin(), listing.printers.end(),
                                        [](const ListedPrinter& p) { return p.target; });
    if (matching < 2) {
        return;
    }
    const auto first = std::find_if(listing.printers.begin(), listing.printers.end(),
                                    [](const ListedPrinter& p) { return p.target; });
    const std::optional<std::string>& used = first->identity.serial;
    PrintError(QStringLiteral("warning: %1 LM-360R printers are attached; using the first, %2; choose "
                              "another with --serial SERIAL (\"lm360rctl list\" shows them)")
                   .arg(matching)
                   .arg(used ? QStringLiteral("serial %1").arg(QString::fromStdString(*used))
                             : QStringLiteral("which has no serial number")));
}

} // namespace cli
