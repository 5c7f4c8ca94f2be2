#pragma once

// Helpers shared by the fuzz targets: a private scratch folder, writing an input to a file, and
// cutting one input into several files at NUL bytes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace orvane::fuzz {

// A folder of this process, removed at exit.
inline const QString& Scratch() {
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder\n");
        std::abort();
    }
    static const QString path = dir.path();
    return path;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(bytes);
}

// The input cut at NUL bytes into at most `parts` pieces (the last piece keeps later NULs);
// missing pieces are empty.
inline QList<QByteArray> SplitInput(const std::uint8_t* data, std::size_t size, int parts) {
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> pieces;
    qsizetype from = 0;
    while (pieces.size() < parts - 1) {
        const qsizetype nul = all.indexOf('\0', from);
        if (nul < 0) {
            break;
        }
        pieces.append(all.mid(from, nul - from));
        from = nul + 1;
    }
    pieces.append(all.mid(from));
    while (pieces.size() < parts) {
        pieces.append(QByteArray());
    }
    return pieces;
}

// Ends the run with a message when a property the program relies on does not hold.
#define ORVANE_FUZZ_CHECK(condition)                                                    \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,   \
                         #condition);                                                   \
            std::abort();                                                               \
        }                                                                               \
    } while (false)

}  // namespace orvane::fuzz
