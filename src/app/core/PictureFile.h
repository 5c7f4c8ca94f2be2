#pragma once

#include <QImage>
#include <QString>

namespace orvane {

// Reads the picture in the file at `path`; a null image when it is missing or unreadable.
// Uncompressed 24- and 32-bit Windows bitmaps (the program's own pictures) are read here
// directly; any other file goes through Qt's image reader. The result is the same image that
// QImage(path) gives (Format_RGB32 for those bitmaps, with their resolution), but a start does
// not pay for the reader's plugin loading and per-line reads. Any thread.
QImage ReadPictureFile(const QString& path);

}  // namespace orvane
