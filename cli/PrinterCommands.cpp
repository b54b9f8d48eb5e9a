#include "cli/PrinterCommands.h"

#include "cli/CheckedWrite.h"
#include "cli/ExitCodes.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/SettingWords.h"
#include "cli/TargetPrinter.h"
#include "protocol/SettingValues.h"
#include "protocol/SettingsTable.h"

#include <QJsonArray>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace cli {
namespace {

using protocol::SettingKind;

struct Reading {
    SettingKind kind = 0;
    int value = 0;
};

// Reads each kind in its own exchange; the first failure is reported and ends the reading.
std::optional<std::vector<Reading>> ReadAll(SettingsService& service, const std::vector<SettingKind>& kinds,
                                            int& exitCode, const QString& context) {
    std::vector<Reading> readings;
    for (const SettingKind kind : kinds) {
        const ReadOutcome read = service.ReadSetting(kind);
        if (read.result != kLinkOk) {
            exitCode = ReportLinkFailure(read.result, read.status,
                                         context + QStringLiteral("reading ") + SettingName(kind));
            return std::nullopt;
        }
        readings.push_back({kind, read.value});
    }
    return readings;
}

void PrintReadings(const std::vector<Reading>& readings, bool json, QJsonObject document = {}) {
    if (json) {
        QJsonArray settings;
        for (const Reading& r : readings) {
            settings.append(SettingJson(r.kind, r.value));
        }
        document.insert(QStringLiteral("settings"), settings);
        PrintJson(document);
        return;
    }
    for (const Reading& r : readings) {
        PrintLine(SettingLine(r.kind, r.value));
    }
}

bool Confirmed(int printers) {
    if (isatty(STDIN_FILENO) == 0) {
        return false;
    }
    const QByteArray question =
        printers == 1
            ? QByteArray("Reset the printer's settings to their defaults? [y/N] ")
            : QStringLiteral("Reset the settings of all %1 LM-360R printers to their defaults? [y/N] ")
                  .arg(printers)
                  .toUtf8();
    std::fputs(question.constData(), stderr);
    std::fflush(stderr);
    char answer[16] = {};
    if (std::fgets(answer, sizeof answer, stdin) == nullptr) {
        return false;
    }
    return answer[0] == 'y' || answer[0] == 'Y';
}

QString Hex(const std::vector<std::uint8_t>& bytes) {
    QStringList hex;
    for (const std::uint8_t b : bytes) {
        hex << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return hex.join(QLatin1Char(' '));
}

} // namespace

bool ResetConfirmed(bool yes, int printers) {
    if (yes || Confirmed(printers)) {
        return true;
    }
    PrintError(isatty(STDIN_FILENO) != 0
                   ? QStringLiteral("reset not confirmed; nothing was sent")
                   : QStringLiteral("reset needs confirmation on a terminal, or --yes"));
    return false;
}

int RunGet(platform::UsbBus& bus, const Invocation& invocation) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    int exitCode = kExitSuccess;
    const auto readings = ReadAll(service, invocation.kinds, exitCode, {});
    if (readings) {
        PrintReadings(*readings, invocation.json);
    }
    return exitCode;
}

int RunSet(platform::UsbBus& bus, const Invocation& invocation) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    const SettingKind kind = invocation.kinds.front();
    const CheckedWrite write = WriteAndCompare(service, kind, invocation.index);
    if (!write.answeredSomething()) {
        return write.exitCode;
    }
    const int written = write.written;
    const int answered = write.answered;
    const bool matches = write.exitCode == kExitSuccess;
    if (invocation.json) {
        PrintJson(QJsonObject{{QStringLiteral("setting"), SettingName(kind)},
                              {QStringLiteral("written"), SettingJson(kind, written)},
                              {QStringLiteral("answered"), SettingJson(kind, answered)},
                              {QStringLiteral("matches"), matches}});
    } else if (matches) {
        PrintLine(SettingLine(kind, answered));
    }
    return write.exitCode;
}

int RunReset(platform::UsbBus& bus, const Invocation& invocation) {
    // Which printer is meant is said before the question, not after the answer.
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    if (!ResetConfirmed(invocation.yes, 1)) {
        return kExitUsage;
    }
    const ResetOutcome reset = service.Reset();
    if (reset.result() != kLinkOk) {
        return ReportLinkFailure(reset.result(), reset.status(),
                                 reset.confirmation
                                     ? QStringLiteral("the printer was reset, but reading it back")
                                     : QStringLiteral("resetting"));
    }
    std::vector<SettingKind> all;
    for (const protocol::SettingRow& setting : protocol::Settings()) {
        all.push_back(setting.kind);
    }
    int exitCode = kExitSuccess;
    const auto readings = ReadAll(service, all, exitCode, QStringLiteral("the printer was reset, but "));
    if (readings) {
        PrintReadings(*readings, invocation.json, QJsonObject{{QStringLiteral("reset"), true}});
    }
    return exitCode;
}

int RunStatus(platform::UsbBus& bus, const Invocation& invocation) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    const StatusOutcome status = service.ReadStatus();
    if (status.outcome.result != kLinkOk) {
        return ReportLinkFailure(status.outcome.result, status.outcome.status,
                                 QStringLiteral("reading the status"));
    }
    const std::vector<std::uint8_t>& reply = status.reply;
    if (invocation.json) {
        QJsonArray bytes;
        for (const std::uint8_t b : reply) {
            bytes.append(b);
        }
        PrintJson(QJsonObject{{QStringLiteral("status"), bytes}});
    } else {
        PrintLine(Hex(reply));
    }
    return kExitSuccess;
}

int RunSend(platform::UsbBus& bus, const Invocation& invocation, std::span<const std::uint8_t> bytes) {
    SettingsService service = TargetPrinter(bus, invocation.serial);
    WarnWhenSeveralMatch(service, invocation.serial);
    const TransactionOutcome sent = service.Send(bytes);
    if (sent.result != kLinkOk) {
        return ReportLinkFailure(sent.result, sent.status, QStringLiteral("sending ") + invocation.file);
    }
    if (invocation.json) {
        PrintJson(QJsonObject{{QStringLiteral("file"), invocation.file},
                              {QStringLiteral("sent"), static_cast<qint64>(bytes.size())}});
    } else {
        PrintLine(QStringLiteral("sent %1 (%2 bytes)").arg(invocation.file).arg(bytes.size()));
    }
    return kExitSuccess;
}

} // namespace cli
