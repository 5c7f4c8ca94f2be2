#include "app/core/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace orvane {

namespace {
constexpr const char* kCodePage = "windows-1251";
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid()) {
        return QString::fromLatin1(bytes);
    }
    return decoder.decode(bytes);
}

QByteArray EncodeText(const QString& text) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid()) {
        return text.toLatin1();
    }
    return encoder.encode(text);
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < n) {
        lines.append(text.mid(start));
    }
    return lines;
}

bool ReadTextLines(const QString& path, QStringList& lines) {
    lines.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    lines = SplitLines(DecodeText(file.readAll()));
    return file.error() == QFileDevice::NoError;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteTextLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return WriteFileAtomically(path, EncodeText(text));
}

bool AppendText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const QByteArray bytes = EncodeText(text);
    return file.write(bytes) == bytes.size() && file.flush();
}

QString NativePath(const QString& path) {
    QString result = path;
    result.replace(u'\\', u'/');
    return result;
}

}  // namespace orvane
