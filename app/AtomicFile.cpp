#include "app/AtomicFile.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // QSaveFile::commit() can report success after its final flush failed (disk full) and leave a
    // truncated target behind, so every byte is pushed out and checked before committing.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting(); // the temporary file goes, the target stays as it was
        return false;
    }
    return file.commit();
}
