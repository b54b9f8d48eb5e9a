#include "cli/PrinterList.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/TargetPrinter.h"

#include <QJsonArray>

namespace cli {
namespace {

QJsonValue JsonString(const std::optional<std::string>& text) {
    return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QString Quoted(const std::optional<std::string>& text) {
    return text ? QStringLiteral("\"%1\"").arg(QString::fromStdString(*text)) : QStringLiteral("(none)");
}

} // namespace

int RunList(platform::UsbBus& bus, const Invocation& invocation) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    const PrinterListing listing = service.ListPrinters();
    if (listing.status != platform::kUsbOk) {
        return ReportListingFailure(listing.status);
    }
    // Every LM-360R matches an empty serial, but the commands use only the first of them.
    const std::vector<ListedPrinter>& printers = listing.printers;
    const ListedPrinter* inUse = listing.InUse();
    if (invocation.json) {
        QJsonArray list;
        for (const ListedPrinter& printer : printers) {
            const PrinterIdentity& p = printer.identity;
            list.append(QJsonObject{{QStringLiteral("manufacturer"), JsonString(p.manufacturer)},
                                    {QStringLiteral("product"), JsonString(p.product)},
                                    {QStringLiteral("serial"), JsonString(p.serial)},
                                    {QStringLiteral("device_id"), JsonString(p.deviceId)},
                                    {QStringLiteral("matches"), printer.target},
                                    {QStringLiteral("target"), &printer == inUse}});
        }
        PrintJson(QJsonObject{{QStringLiteral("printers"), list}});
    } else if (printers.empty()) {
        PrintLine(QStringLiteral("no USB printer interface found"));
    }
    for (std::size_t i = 0; i < printers.size() && !invocation.json; ++i) {
        const PrinterIdentity& p = printers[i].identity;
        const QString mark = &printers[i] == inUse ? QStringLiteral(" [target]")
                             : printers[i].target
                                 ? QStringLiteral(" [also an LM-360R: choose it with --serial]")
                                 : QString();
        PrintLine(QStringLiteral("%1: manufacturer %2, product %3, serial %4%5")
                      .arg(i + 1)
                      .arg(Quoted(p.manufacturer), Quoted(p.product), Quoted(p.serial), mark));
        PrintLine(QStringLiteral("   device ID: %1").arg(Quoted(p.deviceId)));
    }
    return inUse != nullptr ? kExitSuccess : kExitNoPrinter;
}

} // namespace cli
