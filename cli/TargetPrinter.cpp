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
    std::size_t matching = 0;
    const std::optional<PrinterIdentity> inUse = service.PrinterInUse(&matching);
    if (matching < 2 || !inUse) {
        return;
    }
    const std::optional<std::string>& used = inUse->serial;
    PrintError(QStringLiteral("warning: %1 LM-360R printers are attached; using the first, %2; choose "
                              "another with --serial SERIAL (\"lm360rctl list\" shows them)")
                   .arg(matching)
                   .arg(used ? QStringLiteral("serial %1").arg(QString::fromStdString(*used))
                             : QStringLiteral("which has no serial number")));
}

} // namespace cli
