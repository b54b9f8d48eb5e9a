#include "cli/PrinterList.h"

#include "cli/ExitCodes.h"
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
        PrintError(
            QStringLiteral("listing the USB interfaces failed: platform status %1").arg(listing.status));
        return kExitLinkFailure;
    }
    const std::vector<ListedPrinter>& printers = listing.printers;
    if (invocation.json) {
        QJsonArray list;
        for (const ListedPrinter& listed : printers) {
            const cusb_detail::PrinterIdentity& p = listed.identity;
            list.append(QJsonObject{{QStringLiteral("manufacturer"), JsonString(p.manufacturer)},
                                    {QStringLiteral("product"), JsonString(p.product)},
                                    {QStringLiteral("serial"), JsonString(p.serial)},
                                    {QStringLiteral("deviceId"), JsonString(p.deviceId)},
                                    {QStringLiteral("target"), listed.target}});
        }
        PrintJson(QJsonObject{{QStringLiteral("printers"), list}});
    } else if (printers.empty()) {
        PrintLine(QStringLiteral("no USB printer interface found"));
    }
    for (std::size_t i = 0; i < printers.size() && !invocation.json; ++i) {
        const cusb_detail::PrinterIdentity& p = printers[i].identity;
        PrintLine(QStringLiteral("%1: manufacturer %2, product %3, serial %4%5")
                      .arg(i + 1)
                      .arg(Quoted(p.manufacturer), Quoted(p.product), Quoted(p.serial),
                           printers[i].target ? QStringLiteral(" [target]") : QString()));
        PrintLine(QStringLiteral("   device ID: %1").arg(Quoted(p.deviceId)));
    }
    const bool found =
        std::any_of(printers.begin(), printers.end(), [](const ListedPrinter& p) { return p.target; });
    return found ? kExitSuccess : kExitNoPrinter;
}

} // namespace cli
