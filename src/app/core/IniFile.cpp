#include "app/core/IniFile.h"

#include "app/core/TextFile.h"

#include <QFile>
#include <limits>

namespace orvane {

namespace {

constexpr int kMaxTextLength = 2047;

bool IsSectionLine(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[')) {
        return false;
    }
    const qsizetype close = t.indexOf(u']');
    if (close < 0) {
        return false;
    }
    if (name) {
        *name = t.mid(1, close - 1).trimmed();
    }
    return true;
}

// Splits "key=value"; false for lines without "=".
bool SplitKeyLine(const QString& line, QString& key, QString& value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        return false;
    }
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return true;
}

QStringList LoadLines(const QString& path) {
    QStringList lines;
    ReadTextLines(path, lines);
    return lines;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const QStringList lines = LoadLines(path_);
    bool inSection = false;
    for (const QString& line : lines) {
        QString name;
        if (IsSectionLine(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k;
        QString v;
        if (inSection && SplitKeyLine(line, k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            return v.left(kMaxTextLength);
        }
    }
    return def;
}

bool IniFile::ParseInteger(const QString& text, int& value) {
    QString t = text;
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.mid(1);
    } else if (t.size() > 2 && (t.startsWith(QStringLiteral("0x")) || t.startsWith(QStringLiteral("0X")))) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty()) {
        return false;
    }
    qint64 result = 0;
    for (const QChar c : t) {
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c.unicode() - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c.unicode() - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c.unicode() - u'A' + 10;
        }
        if (digit < 0) {
            return false;
        }
        result = result * base + digit;
        // Hexadecimal values may fill all 32 bits; decimal ones must fit a signed integer.
        const qint64 limit = base == 16 ? qint64(std::numeric_limits<quint32>::max())
                                        : qint64(std::numeric_limits<int>::max()) + 1;
        if (result > limit) {
            return false;
        }
    }
    if (base == 10 && !negative && result > std::numeric_limits<int>::max()) {
        return false;
    }
    value = static_cast<int>(static_cast<quint32>(negative ? -result : result));
    return true;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    int value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = LoadLines(path_);
    const QString entry = key + u'=' + value;
    qsizetype sectionStart = -1;
    qsizetype sectionEnd = lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (IsSectionLine(lines[i], &name)) {
            if (sectionStart >= 0) {
                sectionEnd = i;
                break;
            }
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                sectionStart = i;
            }
        }
    }
    if (sectionStart < 0) {
        lines.append(u'[' + section + u']');
        lines.append(entry);
    } else {
        qsizetype insertAt = sectionEnd;
        bool replaced = false;
        for (qsizetype i = sectionStart + 1; i < sectionEnd; ++i) {
            QString k;
            QString v;
            if (SplitKeyLine(lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            // New keys go after the last non-empty line of the section.
            while (insertAt > sectionStart + 1 && lines[insertAt - 1].trimmed().isEmpty()) {
                --insertAt;
            }
            lines.insert(insertAt, entry);
        }
    }
    return WriteTextLines(path_, lines);
}

bool IniFile::EraseKey(const QString& section, const QString& key) {
    QStringList lines = LoadLines(path_);
    qsizetype header = -1;
    bool inSection = false;
    bool erased = false;
    for (qsizetype i = 0; i < lines.size();) {
        QString name;
        if (IsSectionLine(lines[i], &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                header = i;
            }
            ++i;
            continue;
        }
        QString k;
        QString v;
        if (inSection && SplitKeyLine(lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines.removeAt(i);
            erased = true;
            continue;
        }
        ++i;
    }
    if (!erased) {
        return true;
    }
    if (header >= 0) {
        // The header goes when nothing but blank lines follow it up to the next section.
        qsizetype next = header + 1;
        while (next < lines.size() && lines[next].trimmed().isEmpty()) {
            ++next;
        }
        if (next == lines.size() || IsSectionLine(lines[next], nullptr)) {
            lines.remove(header, next - header);
        }
    }
    return WriteTextLines(path_, lines);
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace orvane
