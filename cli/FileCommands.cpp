#include "cli/FileCommands.h"

#include "cli/CommandGroups.h"
#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "platform/core/AtomicFile.h"
#include "protocol/CommandFile.h"
#include "protocol/CommandFileReader.h"
#include "protocol/SettingValues.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cli {
namespace {

// "-" is standard input or output, as everywhere on the command line.
bool IsStandardStream(const QString& path) {
    return path == QLatin1String("-");
}

std::optional<std::vector<std::uint8_t>> ReadWhole(const QString& path, QString& error) {
    QFile file(path);
    const bool opened =
        IsStandardStream(path) ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
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

// The bytes on standard output, all of them or a failure; never onto a terminal, where they would
// only garble it.
std::optional<QString> WriteToStandardOutput(const std::vector<std::uint8_t>& bytes) {
    if (isatty(STDOUT_FILENO) != 0) {
        return QStringLiteral("standard output is a terminal; redirect it to a file or a pipe");
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
    return std::nullopt;
}

std::optional<QString> WriteCommandFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    if (IsStandardStream(path)) {
        return WriteToStandardOutput(bytes);
    }
    // A folder is never replaced by a file, and "DIR/" names no file to write.
    if (QFileInfo(path).isDir() || path.endsWith(QLatin1Char('/'))) {
        return QStringLiteral("it is a folder; name the file to write in it");
    }
    if (const auto error = platform::WriteFileAtomically(path.toStdString(), bytes)) {
        return QString::fromStdString(*error);
    }
    return std::nullopt;
}

} // namespace

int RunSaveCommands(const Invocation& invocation) {
    const std::vector<std::uint8_t> bytes =
        protocol::BuildCommandFile(invocation.group, invocation.selections);
    if (const auto error = WriteCommandFile(invocation.file, bytes)) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(invocation.file, *error));
        return kExitFileError;
    }
    if (IsStandardStream(invocation.file)) {
        return kExitSuccess; // standard output carries the file itself
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

std::optional<std::vector<std::uint8_t>> ReadInputFile(const QString& path, int& exitCode) {
    QString readError;
    auto bytes = ReadWhole(path, readError);
    if (!bytes) {
        PrintError(QStringLiteral("cannot read %1: %2").arg(path, readError));
        exitCode = kExitFileError;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadValidCommandFile(const QString& path, bool json,
                                                              bool printSettings, int& exitCode) {
    auto bytes = ReadInputFile(path, exitCode);
    if (!bytes || !CheckCommandFileBytes(path, *bytes, json, printSettings, exitCode)) {
        return std::nullopt;
    }
    return bytes;
}

bool CheckCommandFileBytes(const QString& path, std::span<const std::uint8_t> bytes, bool json,
                           bool printSettings, int& exitCode) {
    exitCode = kExitInvalidFile;
    const protocol::CommandFileCheck check = protocol::CheckCommandFile(bytes);
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
        return false;
    }
    exitCode = kExitSuccess;
    if (!printSettings) {
        return true;
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
                              {QStringLiteral("size"), static_cast<qint64>(bytes.size())},
                              {QStringLiteral("settings"), settings}});
    } else {
        PrintLine(QStringLiteral("%1: valid command file, %2 bytes").arg(path).arg(bytes.size()));
        for (const protocol::CarriedSetting& s : check.settings) {
            PrintLine(SettingLine(s.kind, protocol::ReplyValue(s.value)));
        }
    }
    return true;
}

int RunInspect(const Invocation& invocation) {
    int exitCode = kExitSuccess;
    ReadValidCommandFile(invocation.file, invocation.json, true, exitCode);
    return exitCode;
}

} // namespace cli
