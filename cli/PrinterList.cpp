#include "cli/PrinterList.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/Printer.h"
#include "platform/usb/ProcessUsbBus.h"
#include "usb/PrinterIdentityReader.h"

#include <QJsonArray>
#include <algorithm>

namespace cli {
namespace {

using platform::UsbInterface;

struct Listed {
    cusb_detail::PrinterIdentity identity;
    bool target = false;
};

QJsonValue JsonString(const std::optional<std::string>& text) {
    return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QString Quoted(const std::optional<std::string>& text) {
    return text ? QStringLiteral("\"%1\"").arg(QString::fromStdString(*text)) : QStringLiteral("(none)");
}

} // namespace

int RunList(const Invocation& invocation) {
    const Printer target(invocation.serial.toStdString());
    std::vector<std::unique_ptr<platform::UsbInterfaceEntry>> entries;
    if (const platform::UsbStatus status = platform::ProcessUsbBus().ListInterfaces(entries);
        status != platform::kUsbOk) {
        PrintError(QStringLiteral("listing the USB interfaces failed: platform status %1").arg(status));
        return kExitLinkFailure;
    }
    std::vector<Listed> printers;
    for (const auto& entry : entries) {
        std::unique_ptr<UsbInterface> intf;
        if (entry->CreateInterface(intf) != platform::kUsbOk || !intf ||
            !cusb_detail::IsPrinterInterface(*intf)) {
            continue;
        }
        // Unlike the open, listing does not step through alternate settings: it leaves the device as it is.
        Listed listed{cusb_detail::ReadPrinterIdentity(*intf), false};
        listed.target = cusb_detail::MatchesTargets(listed.identity, &target.Manufacturer(),
                                                    &target.Product(), &target.Serial());
        printers.push_back(std::move(listed));
    }

    if (invocation.json) {
        QJsonArray list;
        for (const Listed& listed : printers) {
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
        std::any_of(printers.begin(), printers.end(), [](const Listed& p) { return p.target; });
    return found ? kExitSuccess : kExitNoPrinter;
}

} // namespace cli
