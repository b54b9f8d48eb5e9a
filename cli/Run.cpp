#include "cli/Run.h"

#include "cli/CommandLine.h"
#include "cli/Completion.h"
#include "cli/ExitCodes.h"
#include "cli/Output.h"

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
    return CommandOf(invocation.command).run(invocation, openBus);
}

} // namespace cli
