#include "app/core/PictureFile.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

using namespace orvane;

namespace {

// A Windows bitmap with a 40-byte header: `bits` 24 or 32, rows bottom-up unless topDown, each
// pixel a function of its position so that a swapped row, column or channel shows.
QByteArray Bitmap(int width, int height, int bits, bool topDown, quint32 compression = 0) {
    const int stride = ((width * bits + 31) / 32) * 4;
    QByteArray data(54 + stride * height, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, data.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, data.data() + at); };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, quint32(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(topDown ? -height : height));
    put16(26, 1);
    put16(28, quint16(bits));
    put32(30, compression);
    put32(34, quint32(stride * height));
    put32(38, 2835);
    put32(42, 3780);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        char* line = data.data() + 54 + row * stride;
        for (int x = 0; x < width; ++x) {
            char* p = line + x * (bits / 8);
            p[0] = char(x * 7);      // blue
            p[1] = char(y * 11);     // green
            p[2] = char(x * 3 + y);  // red
            if (bits == 32) {
                p[3] = char(0x5A);  // unused byte of an uncompressed 32-bit bitmap
            }
        }
    }
    return data;
}

class PictureFileTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(PictureFileTest, BitmapsReadAsQtReadsThemInEveryLayout) {
    // Odd widths need row padding; top-down rows come first; 32-bit rows have no padding.
    for (const bool topDown : {false, true}) {
        for (const int bits : {24, 32}) {
            for (const int width : {1, 3, 5, 96, 129}) {
                const QString path =
                    Write(QStringLiteral("p.bmp"), Bitmap(width, 7, bits, topDown));
                const QImage ours = ReadPictureFile(path);
                const QImage qt(path);
                ASSERT_FALSE(qt.isNull());
                EXPECT_EQ(ours, qt)
                    << "bits " << bits << " width " << width << " top-down " << topDown;
                EXPECT_EQ(ours.format(), qt.format());
                EXPECT_EQ(ours.dotsPerMeterX(), qt.dotsPerMeterX());
                EXPECT_EQ(ours.dotsPerMeterY(), qt.dotsPerMeterY());
            }
        }
    }
}

TEST_F(PictureFileTest, OtherFilesGoThroughQtsReader) {
    // An indexed bitmap, a compressed one, a PNG under a .bmp name: whatever Qt makes of them.
    QImage indexed(9, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(200, 10, 30), qRgb(5, 250, 60)});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) {
            indexed.setPixel(x, y, uint((x + y) % 3));
        }
    }
    const QString eight = dir.filePath(QStringLiteral("eight.bmp"));
    ASSERT_TRUE(indexed.save(eight, "BMP"));
    const QString png = dir.filePath(QStringLiteral("png.bmp"));
    ASSERT_TRUE(indexed.convertToFormat(QImage::Format_ARGB32).save(png, "PNG"));
    const QString rle = Write(QStringLiteral("rle.bmp"), Bitmap(4, 4, 24, false, 1));
    for (const QString& path : {eight, png, rle}) {
        EXPECT_EQ(ReadPictureFile(path), QImage(path)) << path.toStdString();
    }
    EXPECT_FALSE(ReadPictureFile(eight).isNull());
    EXPECT_FALSE(ReadPictureFile(png).isNull());
}

TEST_F(PictureFileTest, DamagedOrMissingFilesGiveNoPicture) {
    EXPECT_TRUE(ReadPictureFile(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
    EXPECT_TRUE(ReadPictureFile(Write(QStringLiteral("empty.bmp"), {})).isNull());
    // Cut inside the pixel rows: not read here past the end of the file, but left to Qt's
    // reader (which gives what it could read, the rest undefined).
    const QByteArray whole = Bitmap(40, 40, 24, false);
    const QString cut = Write(QStringLiteral("cut.bmp"), whole.left(whole.size() / 2));
    const QImage partial = ReadPictureFile(cut);
    EXPECT_EQ(partial.isNull(), QImage(cut).isNull());
    EXPECT_TRUE(partial.isNull() || partial.size() == QSize(40, 40));
    // A header that claims a huge picture.
    QByteArray huge = Bitmap(2, 2, 24, false);
    qToLittleEndian<quint32>(0x7FFFFFF0u, huge.data() + 18);
    EXPECT_TRUE(ReadPictureFile(Write(QStringLiteral("huge.bmp"), huge)).isNull());
}

TEST_F(PictureFileTest, TheProgramsOwnPicturesReadAsQtReadsThem) {
    int compared = 0;
    for (const char* folder : {"Images", "Animate"}) {
        QDirIterator it(QStringLiteral(ORVANE_PROGRAM_DIR "/") + QLatin1String(folder),
                        {QStringLiteral("*.bmp")}, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            EXPECT_EQ(ReadPictureFile(path), QImage(path)) << path.toStdString();
            ++compared;
        }
    }
    EXPECT_GT(compared, 60);
}

}  // namespace
