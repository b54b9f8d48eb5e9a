#include "cli/Run.h"

#include "cli/CommandLine.h"
#include "cli/Completion.h"
#include "cli/ExitCodes.h"
#include "cli/FileCommands.h"
#include "cli/Output.h"
#include "cli/PrinterCommands.h"
#include "cli/PrinterList.h"
#include "platform/usb/InUseWait.h"

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
    if (invocation.waitMilliseconds >= 0) {
        platform::SetInUseWait(std::chrono::milliseconds(invocation.waitMilliseconds));
    }
    switch (invocation.command) {
    case Command::SaveCommands:
        return RunSaveCommands(invocation);
    case Command::Inspect:
        return RunInspect(invocation);
    default:
        break;
    }
    const std::unique_ptr<platform::UsbBus> bus = openBus();
    switch (invocation.command) {
    case Command::List:
        return RunList(*bus, invocation);
    case Command::Get:
        return RunGet(*bus, invocation);
    case Command::Set:
        return RunSet(*bus, invocation);
    case Command::Reset:
        return RunReset(*bus, invocation);
    case Command::Status:
        return RunStatus(*bus, invocation);
    case Command::Send:
        return RunSend(*bus, invocation);
    case Command::SaveCommands:
    case Command::Inspect:
        break;
    }
    return kExitUsage;
}

} // namespace cli
