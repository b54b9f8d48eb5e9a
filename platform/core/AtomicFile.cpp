#include "platform/core/AtomicFile.h"

#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// Qt does not always keep the system's reason (a write over the file-size limit comes back as
// "Unknown error"); the system's own word is more use to the person reading it.
std::string Reason(const QSaveFile& file, int systemError) {
    if (systemError != 0) {
        return std::strerror(systemError);
    }
    return file.errorString().toStdString();
}

} // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString().toStdString();
    }
    const auto size = static_cast<qint64>(bytes.size());
    // QSaveFile::commit() can report success after its final flush failed (disk full) and leave a
    // truncated target behind, so every byte is pushed out and checked before committing.
    errno = 0;
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        std::string error = Reason(file, errno);
        file.cancelWriting(); // the temporary file goes, the target stays as it was
        return error;
    }
    errno = 0;
    if (!file.commit()) {
        return Reason(file, errno);
    }
    return std::nullopt;
}

} // namespace platform
