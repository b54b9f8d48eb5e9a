#include "cli/PrinterRuns.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/OutputRedirect.h"
#include "cli/PrinterCommands.h"
#include "cli/TargetPrinter.h"

#include <QJsonArray>
#include <algorithm>
#include <array>

namespace cli {
namespace {

QJsonValue JsonText(const std::optional<std::string>& text) {
    return text ? QJsonValue(QString::fromStdString(*text)) : QJsonValue(QJsonValue::Null);
}

QJsonObject IdentityJson(const PrinterIdentity& printer) {
    return QJsonObject{{QStringLiteral("manufacturer"), JsonText(printer.manufacturer)},
                       {QStringLiteral("product"), JsonText(printer.product)},
                       {QStringLiteral("serial"), JsonText(printer.serial)}};
}

// The one printer's output: its JSON document names the printer, the rest goes out as it is. Who the
// printer is, is asked only for a document, so that text output costs no listing of the bus.
class NamedPrinterOutput final : public OutputRedirect {
  public:
    NamedPrinterOutput(platform::UsbBus& bus, const QString& serial) : bus_(bus), serial_(serial) {}
    void Line(const QString& line) override { PassLine(line); }
    void Json(const QJsonObject& document) override {
        QJsonObject named = document;
        named.insert(QStringLiteral("printer"), Printer());
        PassJson(named);
    }
    void Error(const QString& message) override { PassError(message); }

  private:
    // The printer the exchanges open: the first that matches the target.
    QJsonValue Printer() const {
        SettingsService service = TargetPrinter(bus_, serial_);
        const std::optional<PrinterIdentity> used = service.PrinterInUse();
        return used ? QJsonValue(IdentityJson(*used)) : QJsonValue(QJsonValue::Null);
    }

    platform::UsbBus& bus_;
    QString serial_;
};

// One printer's output among several: lines and errors go out at once with the printer's mark; the
// JSON document is kept for the list of all of them.
class MarkedPrinterOutput final : public OutputRedirect {
  public:
    explicit MarkedPrinterOutput(const PrinterIdentity& printer)
        : mark_(QStringLiteral("[%1] ").arg(printer.serial && !printer.serial->empty()
                                                ? QString::fromStdString(*printer.serial)
                                                : QStringLiteral("no serial"))),
          printer_(IdentityJson(printer)) {}
    void Line(const QString& line) override { PassLine(mark_ + line); }
    void Json(const QJsonObject& document) override { document_ = document; }
    void Error(const QString& message) override {
        errors_.append(message);
        PassError(mark_ + message);
    }

    QJsonObject Entry(int exitCode) const {
        QJsonObject entry = document_;
        entry.insert(QStringLiteral("printer"), printer_);
        entry.insert(QStringLiteral("exit_status"), exitCode);
        if (!errors_.isEmpty()) {
            entry.insert(QStringLiteral("errors"), errors_);
        }
        return entry;
    }

  private:
    QString mark_;
    QJsonObject printer_;
    QJsonObject document_;
    QJsonArray errors_;
};

int Severity(int exitCode) {
    constexpr std::array<int, 4> kLeastFirst{kExitSuccess, kExitMismatch, kExitNoPrinter, kExitLinkFailure};
    const auto* found = std::find(kLeastFirst.begin(), kLeastFirst.end(), exitCode);
    // Anything else ends a command before any printer is asked; should it come from one, it counts most.
    return static_cast<int>(found - kLeastFirst.begin());
}

// Why a printer of those attached cannot be reached on its own, in words; nullopt when it can.
std::optional<QString> Unreachable(const ModelPrinter& printer, std::size_t attached) {
    switch (printer.reach) {
    case ModelPrinter::Reach::Alone:
        break;
    case ModelPrinter::Reach::NoSerialAmongSeveral:
        return QStringLiteral("this LM-360R has no serial number, so it cannot be told apart from the "
                              "other %1 attached; to work on it, unplug the others")
            .arg(attached - 1);
    case ModelPrinter::Reach::SerialListedBefore:
        return QStringLiteral("an LM-360R listed before this one has the same serial number, so only that "
                              "one can be reached");
    }
    return std::nullopt;
}

int RunOnOne(platform::UsbBus& bus, const Invocation& invocation, const PrinterCommand& command) {
    const NamedPrinterOutput output(bus, invocation.serial);
    return command(bus, invocation);
}

int RunOnEach(platform::UsbBus& bus, const Invocation& invocation, const PrinterCommand& command) {
    SettingsService service = TargetPrinter(bus, QString());
    platform::UsbStatus listed = platform::kUsbOk;
    const std::vector<ModelPrinter> printers = service.EveryModelPrinter(listed);
    if (listed != platform::kUsbOk) {
        return ReportListingFailure(listed);
    }
    if (printers.empty()) {
        return ReportLinkFailure(kLinkNoPrinter, 0, QStringLiteral("looking for printers"));
    }
    Invocation each = invocation;
    each.all = false;
    if (invocation.command == Command::Reset) {
        if (!ResetConfirmed(invocation.yes, static_cast<int>(printers.size()))) {
            return kExitUsage;
        }
        each.yes = true; // asked once for all of them
    }
    int worst = kExitSuccess;
    bool changed = false;
    QJsonArray entries;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        MarkedPrinterOutput output(printers[i].identity);
        int exitCode = kExitLinkFailure;
        if (const auto why = Unreachable(printers[i], printers.size())) {
            PrintError(*why);
        } else {
            each.serial = QString::fromStdString(printers[i].identity.serial.value_or(std::string()));
            exitCode = command(bus, each);
        }
        const QJsonObject entry = output.Entry(exitCode);
        changed = changed || entry.value(QStringLiteral("changed")).toBool();
        entries.append(entry);
        worst = Worse(worst, exitCode);
    }
    if (invocation.json) {
        QJsonObject document{{QStringLiteral("printers"), entries}};
        if (invocation.command == Command::Apply) {
            document.insert(QStringLiteral("changed"), changed);
        }
        PrintJson(document);
    }
    return worst;
}

} // namespace

int Worse(int a, int b) {
    return Severity(b) > Severity(a) ? b : a;
}

int RunOnPrinters(platform::UsbBus& bus, const Invocation& invocation, const PrinterCommand& command) {
    return invocation.all ? RunOnEach(bus, invocation, command) : RunOnOne(bus, invocation, command);
}

} // namespace cli
