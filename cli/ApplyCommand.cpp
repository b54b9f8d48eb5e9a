#include "cli/ApplyCommand.h"

#include "cli/CheckedWrite.h"
#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/TargetPrinter.h"
#include "protocol/SettingValues.h"

#include <QJsonArray>
#include <vector>

namespace cli {
namespace {

using protocol::SettingKind;

// Only a value's byte travels: values that agree in it are the same to the printer.
bool SameByte(int a, int b) {
    return protocol::ValueByte(static_cast<std::int16_t>(a)) ==
           protocol::ValueByte(static_cast<std::int16_t>(b));
}

struct AppliedSetting {
    SettingKind kind = 0;
    int desired = 0; // values as the printer's replies carry them
    int before = 0;
    int after = 0;
    bool differs() const { return !SameByte(before, after); }
};

QString Line(const AppliedSetting& s, bool check) {
    if (!s.differs()) {
        return QStringLiteral("%1: %2, unchanged").arg(SettingName(s.kind), ValueText(s.kind, s.before));
    }
    return QStringLiteral("%1: %2 -> %3%4")
        .arg(SettingName(s.kind), ValueText(s.kind, s.before), ValueText(s.kind, s.after),
             check ? QStringLiteral(", would change") : QString());
}

void Print(const std::vector<AppliedSetting>& applied, bool check, bool json) {
    bool changed = false;
    QJsonArray settings;
    for (const AppliedSetting& s : applied) {
        changed = changed || s.differs();
        settings.append(QJsonObject{{QStringLiteral("setting"), SettingName(s.kind)},
                                    {QStringLiteral("desired"), ValueWordJson(s.kind, s.desired)},
                                    {QStringLiteral("before"), ValueWordJson(s.kind, s.before)},
                                    {QStringLiteral("after"), ValueWordJson(s.kind, s.after)},
                                    {QStringLiteral("changed"), s.differs()}});
        if (!json) {
            PrintLine(Line(s, check));
        }
    }
    if (json) {
        PrintJson(QJsonObject{{QStringLiteral("changed"), changed},
                              {QStringLiteral("check"), check},
                              {QStringLiteral("settings"), settings}});
    }
}

} // namespace

int RunApply(platform::UsbBus& bus, const Invocation& invocation, std::span<const ChosenValue> desired) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    // Everything is read before anything is written, so a printer that cannot be read is left as it is.
    std::vector<AppliedSetting> applied;
    for (const ChosenValue& choice : desired) {
        const ReadOutcome read = service.ReadSetting(choice.kind);
        if (read.result != kLinkOk) {
            return ReportLinkFailure(read.result, read.status,
                                     QStringLiteral("reading ") + SettingName(choice.kind));
        }
        const auto value = protocol::ValueByte(protocol::ValueForIndex(choice.kind, choice.index));
        applied.push_back({choice.kind, protocol::ReplyValue(value), read.value, read.value});
    }
    int exitCode = kExitSuccess;
    for (std::size_t i = 0; i < applied.size(); ++i) {
        AppliedSetting& s = applied[i];
        if (SameByte(s.before, s.desired)) {
            continue;
        }
        if (invocation.check) {
            s.after = s.desired;
            continue;
        }
        const CheckedWrite write = WriteAndCompare(service, s.kind, desired[i].index);
        if (!write.answeredSomething()) {
            return write.exitCode; // the link is in trouble; what was written stays, apply can be run again
        }
        s.after = write.answered;
        if (write.exitCode == kExitMismatch) {
            exitCode = kExitMismatch; // the others are still written: each stands on its own
        }
    }
    Print(applied, invocation.check, invocation.json);
    return exitCode;
}

} // namespace cli
