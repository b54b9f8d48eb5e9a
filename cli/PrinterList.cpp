#include "cli/PrinterList.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/TargetPrinter.h"

#include <QJsonArray>
#include <algorithm>

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
    std::vector<ListedPrinter> printers = listing.printers;
    // Every LM-360R matches an empty serial, but the other commands use only the first of them.
    std::vector<bool> matches;
    bool targetSeen = false;
    for (ListedPrinter& printer : printers) {
        matches.push_back(printer.target);
        printer.target = printer.target && !targetSeen;
        targetSeen = targetSeen || printer.target;
    }
    if (invocation.json) {
        QJsonArray list;
        for (std::size_t i = 0; i < printers.size(); ++i) {
            const cusb_detail::PrinterIdentity& p = printers[i].identity;
            list.append(QJsonObject{{QStringLiteral("manufacturer"), JsonString(p.manufacturer)},
                                    {QStringLiteral("product"), JsonString(p.product)},
                                    {QStringLiteral("serial"), JsonString(p.serial)},
                                    {QStringLiteral("device_id"), JsonString(p.deviceId)},
                                    {QStringLiteral("matches"), static_cast<bool>(matches[i])},
                                    {QStringLiteral("target"), printers[i].target}});
        }
        PrintJson(QJsonObject{{QStringLiteral("printers"), list}});
    } else if (printers.empty()) {
        PrintLine(QStringLiteral("no USB printer interface found"));
    }
    for (std::size_t i = 0; i < printers.size() && !invocation.json; ++i) {
        const cusb_detail::PrinterIdentity& p = printers[i].identity;
        const QString mark = printers[i].target ? QStringLiteral(" [target]")
                             : matches[i] ? QStringLiteral(" [also an LM-360R: choose it with --serial]")
                                          : QString();
        PrintLine(QStringLiteral("%1: manufacturer %2, product %3, serial %4%5")
                      .arg(i + 1)
                      .arg(Quoted(p.manufacturer), Quoted(p.product), Quoted(p.serial), mark));
        PrintLine(QStringLiteral("   device ID: %1").arg(Quoted(p.deviceId)));
    }
    const bool found =
        std::any_of(printers.begin(), printers.end(), [](const ListedPrinter& p) { return p.target; });
    return found ? kExitSuccess : kExitNoPrinter;
}

} // namespace cli
