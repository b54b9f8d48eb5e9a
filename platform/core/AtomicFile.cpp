#include "platform/core/AtomicFile.h"

#include <QSaveFile>
#include <QString>

namespace platform {

std::optional<std::string> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString().toStdString();
    }
    const auto size = static_cast<qint64>(bytes.size());
    // QSaveFile::commit() can report success after its final flush failed (disk full) and leave a
    // truncated target behind, so every byte is pushed out and checked before committing.
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush()) {
        std::string error = file.errorString().toStdString();
        file.cancelWriting(); // the temporary file goes, the target stays as it was
        return error;
    }
    if (!file.commit()) {
        return file.errorString().toStdString();
    }
    return std::nullopt;
}

} // namespace platform
