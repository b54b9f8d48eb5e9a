#include "cli/Run.h"

#include "cli/ApplyCommand.h"
#include "cli/CommandLine.h"
#include "cli/Completion.h"
#include "cli/DesiredState.h"
#include "cli/ExitCodes.h"
#include "cli/FileCommands.h"
#include "cli/Output.h"
#include "cli/PrinterCommands.h"
#include "cli/PrinterList.h"
#include "cli/PrinterRuns.h"

#include <QCoreApplication>

namespace cli {

int Run(const QStringList& arguments, const BusFactory& openBus) {
    if (arguments.value(1) == QLatin1String(kCompleteWord)) {
        return RunCompletion(arguments.mid(2));
    }
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    switch (parsed.outcome) {
    case ParsedCommandLine::Outcome::Help:
        PrintLine(parsed.text.trimmed());
        return kExitSuccess;
    case ParsedCommandLine::Outcome::Version:
        PrintLine(QStringLiteral("lm360rctl %1").arg(QCoreApplication::applicationVersion()));
        return kExitSuccess;
    case ParsedCommandLine::Outcome::UsageError:
        PrintError(parsed.text);
        return kExitUsage;
    case ParsedCommandLine::Outcome::Run:
        break;
    }
    const Invocation& invocation = parsed.invocation;
    // Files are read once, before any printer is asked: standard input cannot be read again for the
    // next printer, and a file that is not right ends the command before it touches one.
    int exitCode = kExitSuccess;
    std::optional<std::vector<std::uint8_t>> commandFile;
    std::optional<std::vector<ChosenValue>> desired;
    switch (invocation.command) {
    case Command::SaveCommands:
        return RunSaveCommands(invocation);
    case Command::Inspect:
        return RunInspect(invocation);
    case Command::Send:
        commandFile = ReadValidCommandFile(invocation.file, invocation.json, false, exitCode);
        if (!commandFile) {
            return exitCode;
        }
        break;
    case Command::Apply:
        desired = ReadDesiredState(invocation, exitCode);
        if (!desired) {
            return exitCode;
        }
        break;
    default:
        break;
    }
    backend::BusOptions options;
    if (invocation.waitMilliseconds >= 0) {
        options.libusb.inUseWait = std::chrono::milliseconds(invocation.waitMilliseconds);
    }
    const std::unique_ptr<platform::UsbBus> bus = openBus(options);
    switch (invocation.command) {
    case Command::List:
        return RunList(*bus, invocation);
    case Command::Get:
        return RunOnPrinters(*bus, invocation, RunGet);
    case Command::Set:
        return RunOnPrinters(*bus, invocation, RunSet);
    case Command::Reset:
        return RunOnPrinters(*bus, invocation, RunReset);
    case Command::Status:
        return RunStatus(*bus, invocation);
    case Command::Send:
        return RunOnPrinters(*bus, invocation, [&commandFile](platform::UsbBus& b, const Invocation& i) {
            return RunSend(b, i, *commandFile);
        });
    case Command::Apply:
        return RunOnPrinters(*bus, invocation, [&desired](platform::UsbBus& b, const Invocation& i) {
            return RunApply(b, i, *desired);
        });
    case Command::SaveCommands:
    case Command::Inspect:
        break;
    }
    return kExitUsage;
}

} // namespace cli
