#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files of the program: single-byte Windows-1251 text. Lines are read with CR LF, LF or
// CR as their end; a line break after the last line adds no empty line. Lines are written with
// CR LF. Every function here may be called from any thread.
namespace orvane {

QString DecodeText(const QByteArray& bytes);
QByteArray EncodeText(const QString& text);

// Splits text into lines at CR LF, LF or CR.
QStringList SplitLines(const QString& text);

// Reads the lines of a file. Returns false (and leaves lines empty) when it cannot be read.
bool ReadTextLines(const QString& path, QStringList& lines);

// Writes the lines, each ending in CR LF, replacing the file atomically: the old file stays
// whole when the write fails. Returns false on failure.
bool WriteTextLines(const QString& path, const QStringList& lines);

// Replaces the file atomically with the given bytes. Returns false on failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Appends text to the end of a file, creating it when missing. Returns false on failure.
bool AppendText(const QString& path, const QString& text);

// Turns a path written in a data file ("study\small\one.kol") into a native one.
QString NativePath(const QString& path);

}  // namespace orvane
