#include "cli/FileCommands.h"

#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "platform/core/AtomicFile.h"
#include "protocol/CommandFile.h"
#include "protocol/CommandFileReader.h"
#include "protocol/SettingValues.h"

#include <QFile>
#include <QJsonArray>

namespace cli {
namespace {

QString GroupName(protocol::CommandGroup group) {
    return group == protocol::kPrintGroup ? QStringLiteral("print") : QStringLiteral("power");
}

std::optional<std::vector<std::uint8_t>> ReadWhole(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(protocol::kMaxCommandFileSize) + 1);
    if (bytes.isNull() && file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (static_cast<std::size_t>(bytes.size()) > protocol::kMaxCommandFileSize) {
        error = QStringLiteral("larger than %1 bytes, far more than any command file")
                    .arg(protocol::kMaxCommandFileSize);
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace

int RunSaveCommands(const Invocation& invocation) {
    const std::vector<std::uint8_t> bytes =
        protocol::BuildCommandFile(invocation.group, invocation.selections);
    if (const auto error = platform::WriteFileAtomically(invocation.file.toStdString(), bytes)) {
        PrintError(
            QStringLiteral("cannot write %1: %2").arg(invocation.file, QString::fromStdString(*error)));
        return kExitUsage; // the documented status for a file that cannot be written
    }
    if (invocation.json) {
        PrintJson(QJsonObject{{QStringLiteral("file"), invocation.file},
                              {QStringLiteral("group"), GroupName(invocation.group)},
                              {QStringLiteral("size"), static_cast<qint64>(bytes.size())}});
    } else {
        PrintLine(QStringLiteral("wrote %1 (%2 group, %3 bytes)")
                      .arg(invocation.file, GroupName(invocation.group))
                      .arg(bytes.size()));
    }
    return kExitSuccess;
}

std::optional<std::vector<std::uint8_t>> ReadValidCommandFile(const QString& path, bool json,
                                                              bool printSettings) {
    QString readError;
    const auto bytes = ReadWhole(path, readError);
    if (!bytes) {
        PrintError(QStringLiteral("cannot read %1: %2").arg(path, readError));
        return std::nullopt;
    }
    const protocol::CommandFileCheck check = protocol::CheckCommandFile(*bytes);
    if (check.fault) {
        const QString reason = QString::fromStdString(check.fault->reason);
        PrintError(QStringLiteral("%1: invalid command file at offset %2: %3")
                       .arg(path)
                       .arg(check.fault->offset)
                       .arg(reason));
        if (json && printSettings) {
            PrintJson(QJsonObject{{QStringLiteral("file"), path},
                                  {QStringLiteral("valid"), false},
                                  {QStringLiteral("offset"), static_cast<qint64>(check.fault->offset)},
                                  {QStringLiteral("reason"), reason}});
        }
        return std::nullopt;
    }
    if (!printSettings) {
        return bytes;
    }
    if (json) {
        QJsonArray settings;
        for (const protocol::CarriedSetting& s : check.settings) {
            QJsonObject setting = SettingJson(s.kind, protocol::ReplyValue(s.value));
            setting.insert(QStringLiteral("offset"), static_cast<qint64>(s.offset));
            settings.append(setting);
        }
        PrintJson(QJsonObject{{QStringLiteral("file"), path},
                              {QStringLiteral("valid"), true},
                              {QStringLiteral("size"), static_cast<qint64>(bytes->size())},
                              {QStringLiteral("settings"), settings}});
    } else {
        PrintLine(QStringLiteral("%1: valid command file, %2 bytes").arg(path).arg(bytes->size()));
        for (const protocol::CarriedSetting& s : check.settings) {
            PrintLine(SettingLine(s.kind, protocol::ReplyValue(s.value)));
        }
    }
    return bytes;
}

int RunInspect(const Invocation& invocation) {
    return ReadValidCommandFile(invocation.file, invocation.json, true) ? kExitSuccess : kExitInvalidFile;
}

} // namespace cli
