#include "PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QList>
#include <QSaveFile>

#include <turbojpeg.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace orvane::pictures {

namespace {

[[noreturn]] void Fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(':'));
}

QList<QByteArray> SplitLines(const QByteArray& text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.append(text.mid(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

}  // namespace

std::vector<BellRow> ParseCatalogue(const QByteArray& text) {
    const QList<QByteArray> lines = SplitLines(text);
    if (lines.size() < kCatalogueBells) {
        Fail(QStringLiteral("the bell catalogue has %1 lines, %2 expected")
                 .arg(lines.size())
                 .arg(kCatalogueBells));
    }
    std::vector<BellRow> rows;
    for (int i = 0; i < kCatalogueBells; ++i) {
        // ';' is one byte in the single-byte code page, so the fields can be split undecoded;
        // the columns used here are plain ASCII.
        const QList<QByteArray> fields = lines[i].split(';');
        if (fields.size() < 8) {
            Fail(QStringLiteral("bell catalogue line %1 has %2 fields, 8 expected")
                     .arg(i + 1)
                     .arg(fields.size()));
        }
        BellRow row;
        row.inPicture = QString::fromLatin1(fields[2]);
        row.outPicture = QString::fromLatin1(fields[3]);
        bool ok = false;
        row.weightKg = fields[4].toInt(&ok, 10);
        if (!ok || row.weightKg <= 0) {
            Fail(QStringLiteral("bell catalogue line %1: weight \"%2\" is not a positive number")
                     .arg(i + 1)
                     .arg(QString::fromLatin1(fields[4])));
        }
        for (const QString& name : {row.inPicture, row.outPicture}) {
            if (!IsPlainFileName(name)) {
                Fail(QStringLiteral("bell catalogue line %1: \"%2\" is not a plain file name")
                         .arg(i + 1)
                         .arg(name));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<BellRow> ReadCatalogue(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1").arg(path));
    }
    return ParseCatalogue(file.readAll());
}

void SaveBmp(const QImage& image, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
        Fail(QStringLiteral("cannot encode %1: %2").arg(path, writer.errorString()));
    }
    WriteFile(path, bytes);
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<void, int (*)(tjhandle)> compressor(tjInitCompress(), &tjDestroy);
    if (!compressor) {
        Fail(QStringLiteral("cannot start the JPEG encoder"));
    }
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(compressor.get(), rgb.constBits(), rgb.width(),
                                   static_cast<int>(rgb.bytesPerLine()), rgb.height(), TJPF_RGB,
                                   &jpeg, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT);
    const std::unique_ptr<unsigned char, void (*)(unsigned char*)> owned(jpeg, &tjFree);
    if (result != 0) {
        Fail(QStringLiteral("JPEG encoding failed: %1")
                 .arg(QString::fromLocal8Bit(tjGetErrorStr2(compressor.get()))));
    }
    return QByteArray(reinterpret_cast<const char*>(jpeg), static_cast<qsizetype>(size));
}

void SaveJpeg(const QImage& image, const QString& path) {
    WriteFile(path, EncodeJpeg(image, 90));
}

}  // namespace orvane::pictures
