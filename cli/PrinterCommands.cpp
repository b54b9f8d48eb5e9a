#include "cli/PrinterCommands.h"

#include "cli/ExitCodes.h"
#include "cli/FileCommands.h"
#include "cli/LinkFailure.h"
#include "cli/Output.h"
#include "cli/Printer.h"
#include "protocol/SettingValues.h"
#include "usb/ExchangeAlerts.h"

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

int ReportFailure(Printer& printer, LinkResult result, const QString& what) {
    PrintError(QStringLiteral("%1 failed: %2").arg(what, DescribeLinkFailure(result, printer.LastStatus())));
    return ExitCodeForLinkFailure(result);
}

// Reads each kind in its own exchange; the first failure is reported and ends the reading.
std::optional<std::vector<Reading>> ReadAll(Printer& printer, const std::vector<SettingKind>& kinds,
                                            int& exitCode, const QString& context) {
    std::vector<Reading> readings;
    for (const SettingKind kind : kinds) {
        const auto request = *protocol::ReadRequestFor(kind);
        std::vector<std::uint8_t> reply;
        const LinkResult result = printer.Read(request, reply);
        if (result != kLinkOk) {
            exitCode =
                ReportFailure(printer, result, context + QStringLiteral("reading ") + SettingName(kind));
            return std::nullopt;
        }
        readings.push_back({kind, protocol::ReplyValue(reply[request.valuePosition])});
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

bool Confirmed() {
    if (isatty(STDIN_FILENO) == 0) {
        return false;
    }
    std::fputs("Reset the printer's settings to their defaults? [y/N] ", stderr);
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

int RunGet(const Invocation& invocation) {
    Printer printer(invocation.serial.toStdString());
    int exitCode = kExitSuccess;
    const auto readings = ReadAll(printer, invocation.kinds, exitCode, {});
    if (readings) {
        PrintReadings(*readings, invocation.json);
    }
    return exitCode;
}

int RunSet(const Invocation& invocation) {
    Printer printer(invocation.serial.toStdString());
    const SettingKind kind = invocation.kinds.front();
    const std::int16_t written = protocol::ValueForIndex(kind, invocation.index);
    const auto frame = *protocol::WriteFrameFor(kind, protocol::ValueByte(written));
    const auto request = *protocol::ReadRequestFor(kind);
    std::vector<std::uint8_t> reply;
    const LinkResult result = printer.Write(frame, request, reply);
    if (result != kLinkOk) {
        // the application's classification: did the value not get there, or did it not come back?
        const bool readBack = exchange::AlertKeyForWrite(result) == exchange::kGetCommandErrorKey;
        return ReportFailure(printer, result,
                             (readBack ? QStringLiteral("reading back ") : QStringLiteral("writing ")) +
                                 SettingName(kind));
    }
    const int answered = protocol::ReplyValue(reply[request.valuePosition]);
    const bool matches = answered == written;
    if (invocation.json) {
        PrintJson(QJsonObject{{QStringLiteral("setting"), SettingName(kind)},
                              {QStringLiteral("written"), SettingJson(kind, written)},
                              {QStringLiteral("answered"), SettingJson(kind, answered)},
                              {QStringLiteral("matches"), matches}});
    } else if (matches) {
        PrintLine(SettingLine(kind, answered));
    }
    if (!matches) {
        PrintError(QStringLiteral("%1: wrote %2, but the printer answered %3")
                       .arg(SettingName(kind), ValueText(kind, written), ValueText(kind, answered)));
        return kExitMismatch;
    }
    return kExitSuccess;
}

int RunReset(const Invocation& invocation) {
    if (!invocation.yes && !Confirmed()) {
        PrintError(isatty(STDIN_FILENO) != 0
                       ? QStringLiteral("reset not confirmed; nothing was sent")
                       : QStringLiteral("reset needs confirmation on a terminal, or --yes"));
        return kExitUsage;
    }
    Printer printer(invocation.serial.toStdString());
    const protocol::ResetExchange reset = protocol::ResetExchangeFrames();
    std::vector<std::uint8_t> reply;
    const LinkResult result = printer.Write(reset.resetFrame, reset.readRequest, reply);
    if (result != kLinkOk) {
        return ReportFailure(printer, result, QStringLiteral("resetting"));
    }
    std::vector<SettingKind> all;
    for (SettingKind kind = protocol::kFirstValueKind; kind <= protocol::kLastValueKind; ++kind) {
        all.push_back(kind);
    }
    int exitCode = kExitSuccess;
    const auto readings = ReadAll(printer, all, exitCode, QStringLiteral("the printer was reset, but "));
    if (readings) {
        PrintReadings(*readings, invocation.json, QJsonObject{{QStringLiteral("reset"), true}});
    }
    return exitCode;
}

int RunStatus(const Invocation& invocation) {
    Printer printer(invocation.serial.toStdString());
    std::vector<std::uint8_t> reply;
    const LinkResult result = printer.Status(reply);
    if (result != kLinkOk) {
        return ReportFailure(printer, result, QStringLiteral("reading the status"));
    }
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

int RunSend(const Invocation& invocation) {
    const auto bytes = ReadValidCommandFile(invocation.file, invocation.json, false);
    if (!bytes) {
        return kExitInvalidFile;
    }
    Printer printer(invocation.serial.toStdString());
    const LinkResult result = printer.Send(*bytes);
    if (result != kLinkOk) {
        return ReportFailure(printer, result, QStringLiteral("sending ") + invocation.file);
    }
    if (invocation.json) {
        PrintJson(QJsonObject{{QStringLiteral("file"), invocation.file},
                              {QStringLiteral("sent"), static_cast<qint64>(bytes->size())}});
    } else {
        PrintLine(QStringLiteral("sent %1 (%2 bytes)").arg(invocation.file).arg(bytes->size()));
    }
    return kExitSuccess;
}

} // namespace cli
