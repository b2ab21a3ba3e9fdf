// Whole-file reads and writes for tests that lay out or check a file byte for byte.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zel::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file with exactly `bytes`; false when any of them could not be written.
inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace zel::test
