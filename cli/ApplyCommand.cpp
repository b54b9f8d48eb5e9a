#include "cli/ApplyCommand.h"

#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/TargetPrinter.h"
#include "protocol/SettingValues.h"

#include <QJsonArray>
#include <vector>

namespace cli {
namespace {

QString Line(const SettingChange& s, bool check) {
    if (!s.Differs()) {
        return QStringLiteral("%1: %2, unchanged").arg(SettingName(s.kind), ValueText(s.kind, s.before));
    }
    return QStringLiteral("%1: %2 -> %3%4")
        .arg(SettingName(s.kind), ValueText(s.kind, s.before), ValueText(s.kind, s.after),
             check ? QStringLiteral(", would change") : QString());
}

void Print(const DesiredOutcome& outcome, bool check, bool json) {
    QJsonArray settings;
    for (const SettingChange& s : outcome.settings) {
        settings.append(QJsonObject{{QStringLiteral("setting"), SettingName(s.kind)},
                                    {QStringLiteral("desired"), ValueWordJson(s.kind, s.desired)},
                                    {QStringLiteral("before"), ValueWordJson(s.kind, s.before)},
                                    {QStringLiteral("after"), ValueWordJson(s.kind, s.after)},
                                    {QStringLiteral("changed"), s.Differs()}});
        if (!json) {
            PrintLine(Line(s, check));
        }
    }
    if (json) {
        PrintJson(QJsonObject{{QStringLiteral("changed"), outcome.Changed()},
                              {QStringLiteral("check"), check},
                              {QStringLiteral("settings"), settings}});
    }
}

QString FailedStep(DesiredOutcome::Step step) {
    switch (step) {
    case DesiredOutcome::Step::Read:
        return QStringLiteral("reading ");
    case DesiredOutcome::Step::Write:
        return QStringLiteral("writing ");
    case DesiredOutcome::Step::ReadBack:
        return QStringLiteral("reading back ");
    }
    return {};
}

} // namespace

int RunApply(platform::UsbBus& bus, const Invocation& invocation, std::span<const ChosenValue> desired) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    std::vector<DesiredValue> wanted;
    for (const ChosenValue& choice : desired) {
        wanted.push_back({choice.kind, protocol::ValueForIndex(choice.kind, choice.index)});
    }
    const DesiredOutcome outcome = service.ApplyDesired(wanted, invocation.check);
    // Each setting stands on its own: a printer that answered another value does not stop the others.
    for (const SettingChange& s : outcome.settings) {
        if (s.Mismatch()) {
            PrintError(
                QStringLiteral("%1: wrote %2, but the printer answered %3")
                    .arg(SettingName(s.kind), ValueText(s.kind, s.desired), ValueText(s.kind, s.after)));
        }
    }
    if (outcome.Failed()) {
        // The link is in trouble; what was written stays, and apply can be run again.
        return ReportLinkFailure(outcome.result, outcome.status,
                                 FailedStep(outcome.failedStep) + SettingName(outcome.failedKind));
    }
    Print(outcome, invocation.check, invocation.json);
    return outcome.Mismatch() ? kExitMismatch : kExitSuccess;
}

} // namespace cli
