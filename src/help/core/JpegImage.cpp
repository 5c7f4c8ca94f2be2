#include "help/core/JpegImage.h"

#include <QFile>
#include <turbojpeg.h>

namespace orvane {

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    tjhandle handle = tjInitDecompress();
    if (!handle) {
        return {};
    }
    auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    QImage image;
    if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colourspace) == 0 && width > 0 &&
        height > 0) {
        image = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(handle, data, size, image.bits(), width, static_cast<int>(image.bytesPerLine()), height,
                          TJPF_RGB, TJFLAG_ACCURATEDCT) != 0) {
            image = QImage();
        }
    }
    tjDestroy(handle);
    return image;
}

QImage LoadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return DecodeJpeg(file.readAll());
}

}  // namespace orvane
