#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// Input and output of the picture generator: the bell catalogue rows it needs, and writing the
// pictures as BMP and JPEG files. Every function reports failure by throwing std::runtime_error
// with a message naming the file.
namespace orvane::pictures {

// The columns of one bell catalogue row that the pictures depend on.
struct BellRow {
    QString inPicture;   // file name of the in-set picture, relative to the Images folder
    QString outPicture;  // file name of the out-of-set picture
    int weightKg = 0;    // weight of the bell, kilograms (> 0)
};

// Number of bells in the catalogue: exactly the first lines of the file are read.
inline constexpr int kCatalogueBells = 15;

// Parses the catalogue text (single-byte text, ";"-separated, lines ending in CR LF, LF or CR).
// Takes the first kCatalogueBells lines; throws when there are fewer, when a row has fewer than
// eight fields, when the weight is not a positive decimal integer, or when a picture name is not
// a plain file name (empty, a folder part, "." or "..").
std::vector<BellRow> ParseCatalogue(const QByteArray& text);

// Reads and parses the catalogue file.
std::vector<BellRow> ReadCatalogue(const QString& path);

// Writes a 24-bit BMP file, replacing any file of that name.
void SaveBmp(const QImage& image, const QString& path);

// Encodes a 24-bit baseline JPEG (4:2:0) of the given quality, 1 to 100.
QByteArray EncodeJpeg(const QImage& image, int quality);

// Writes a JPEG file of quality 90, replacing any file of that name.
void SaveJpeg(const QImage& image, const QString& path);

}  // namespace orvane::pictures
