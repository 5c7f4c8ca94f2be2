#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace orvane {

// Decodes JPEG bytes into an RGB888 image; a null image when the bytes are not a JPEG.
QImage DecodeJpeg(const QByteArray& bytes);
// Reads a file (or a Qt resource) and decodes it.
QImage LoadJpeg(const QString& path);

}  // namespace orvane
