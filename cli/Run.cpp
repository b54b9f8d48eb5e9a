#include "cli/Run.h"

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/FileCommands.h"
#include "cli/Output.h"

#include <QCoreApplication>

namespace cli {

int Run(const QStringList& arguments) {
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
    switch (invocation.command) {
    case Command::SaveCommands:
        return RunSaveCommands(invocation);
    case Command::Inspect:
        return RunInspect(invocation);
    default:
        PrintError(QStringLiteral("this command needs the USB link, which is not built yet"));
        return kExitLinkFailure;
    }
}

} // namespace cli
