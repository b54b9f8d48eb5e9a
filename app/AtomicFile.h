#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` so that the file at `path` afterwards is either the whole new content or
// exactly what was there before: the data goes to a temporary file next to it, which replaces the
// target only when every byte reached the disk. False when anything failed.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);
