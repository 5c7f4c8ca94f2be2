#include "chime/core/ChimeNameCheck.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace orvane {

namespace {

constexpr const char* kCodePage = "windows-1251";

// True when the code point (one or two UTF-16 units) survives a round trip through the code page.
bool Encodable(QStringView unit) {
    QStringEncoder encoder(kCodePage);
    const QByteArray bytes = encoder.encode(unit);
    if (encoder.hasError()) {
        return false;
    }
    QStringDecoder decoder(kCodePage);
    const QString back = decoder.decode(bytes);
    return !decoder.hasError() && back == unit;
}

// The text of a character for a message; control characters by their code.
QString Shown(QStringView unit) {
    const char16_t c = unit.front().unicode();
    if (c < 0x20 || c == 0x7f) {
        return QStringLiteral("U+%1").arg(static_cast<int>(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return QStringLiteral("«") + unit.toString() + QStringLiteral("»");
}

// The message for one field; empty when the field is acceptable.
QString FieldProblem(const QString& field, const QString& text) {
    if (text.contains(u'\n') || text.contains(u'\r')) {
        return QString::fromUtf8("Поле «%1» не может содержать перевод строки").arg(field);
    }
    if (text.contains(u';')) {
        return QString::fromUtf8("Поле «%1» не может содержать символ «;»").arg(field);
    }
    const qsizetype at = FirstUnstorableChar(text);
    if (at < 0) {
        return {};
    }
    const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    return QString::fromUtf8("Поле «%1» содержит символ %2, который нельзя сохранить в списке звонов")
        .arg(field, Shown(QStringView(text).mid(at, length)));
}

}  // namespace

qsizetype FirstUnstorableChar(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return i;
        }
        if (c.unicode() < 0x80) {
            continue;  // printable ASCII is the same in every code page
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!Encodable(QStringView(text).mid(i, length))) {
            return i;
        }
        i += length - 1;
    }
    return -1;
}

QString ChimeNameProblem(const QString& chimeName, const QString& fileName) {
    QString problem = FieldProblem(QString::fromUtf8("Имя звона"), chimeName);
    if (problem.isEmpty()) {
        problem = FieldProblem(QString::fromUtf8("Маска имени файла"), fileName);
    }
    return problem;
}

}  // namespace orvane
