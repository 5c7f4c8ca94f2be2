#include "app/core/PictureFile.h"

#include <QFile>

#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

constexpr qint64 kFileHeader = 14;
constexpr quint32 kInfoHeader = 40;   // BITMAPINFOHEADER (later versions may carry an alpha mask)
constexpr quint32 kUncompressed = 0;  // BI_RGB
constexpr qint64 kMaxPixels = qint64(1) << 26;

quint32 U32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
quint16 U16(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}
qint32 S32(const uchar* p) {
    return static_cast<qint32>(U32(p));
}

// The bitmap in `data`, or a null image when it is not one this reader handles.
QImage DecodeSimpleBitmap(const uchar* data, qint64 size) {
    if (size < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') {
        return {};
    }
    const uchar* info = data + kFileHeader;
    const quint32 infoSize = U32(info);
    const qint32 width = S32(info + 4);
    const qint32 rawHeight = S32(info + 8);
    const quint16 planes = U16(info + 12);
    const quint16 bits = U16(info + 14);
    const quint32 compression = U32(info + 16);
    const quint32 offset = U32(data + 10);
    if (infoSize != kInfoHeader || planes != 1 || (bits != 24 && bits != 32) ||
        compression != kUncompressed || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) {
        return {};
    }
    const bool topDown = rawHeight < 0;
    const qint64 height = topDown ? -qint64(rawHeight) : rawHeight;
    if (qint64(width) * height > kMaxPixels) {
        return {};
    }
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (offset < kFileHeader + infoSize || qint64(offset) + stride * height > size) {
        return {};
    }
    QImage image(width, int(height), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    const int step = bits / 8;
    for (qint64 y = 0; y < height; ++y) {
        const uchar* in = data + offset + stride * (topDown ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint32 x = 0; x < width; ++x, in += step) {
            out[x] = qRgb(in[2], in[1], in[0]);
        }
    }
    const qint32 dpmX = S32(info + 24);
    const qint32 dpmY = S32(info + 28);
    if (dpmX > 0) {
        image.setDotsPerMeterX(dpmX);
    }
    if (dpmY > 0) {
        image.setDotsPerMeterY(dpmY);
    }
    return image;
}

}  // namespace

QImage ReadPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // Read whole: the program's pictures are small, and unmapping a file costs more than
    // copying it.
    const QByteArray head = file.peek(kFileHeader + kInfoHeader);
    const auto* h = reinterpret_cast<const uchar*>(head.constData());
    const bool simple = head.size() == kFileHeader + kInfoHeader && h[0] == 'B' && h[1] == 'M' &&
                        U32(h + kFileHeader) == kInfoHeader &&
                        (U16(h + 28) == 24 || U16(h + 28) == 32) && U32(h + 30) == kUncompressed;
    const QByteArray bytes = simple ? file.readAll() : QByteArray();
    QImage image =
        DecodeSimpleBitmap(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    if (!image.isNull()) {
        return image;
    }
    file.close();
    return QImage(path);
}

}  // namespace orvane
