#pragma once
// Shared by the fuzz targets: one application object, and the input written to a file of this
// process for the loaders that read files.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace fuzz {

inline void App() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Writes the bytes to a file of this process (the same path every time) and returns its path.
inline QString AsFile(const uint8_t *data, size_t size) {
    static const QString path = QDir::temp().filePath(QStringLiteral("tarven-fuzz-%1.bin").arg(::getpid()));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

} // namespace fuzz
