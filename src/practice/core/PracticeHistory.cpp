#include "practice/core/PracticeHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <cmath>

namespace orvane {

namespace {

QString Number(double value) {
    return QLocale::c().toString(value, 'f', 2);
}

bool ReadInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

bool ReadDouble(const QString& text, double& value) {
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value);
}

}  // namespace

const QStringList& PracticeHistory::Header() {
    static const QStringList kHeader{
        QStringLiteral("time"),   QStringLiteral("chime"),   QStringLiteral("steps"),  QStringLiteral("groups"),
        QStringLiteral("interval_ms"), QStringLiteral("notes"), QStringLiteral("strokes"), QStringLiteral("hits"),
        QStringLiteral("missed"), QStringLiteral("wrong_bell"), QStringLiteral("extra"), QStringLiteral("mean_ms"),
        QStringLiteral("sd_ms"),  QStringLiteral("within_20ms")};
    return kHeader;
}

void FillFigures(PracticeRecord& record, const StrokeSummary& summary) {
    record.notes = summary.notes;
    record.strokes = summary.strokes;
    record.hits = summary.hits;
    record.missed = summary.missed;
    record.wrongBell = summary.wrongBell;
    record.extra = summary.extra;
    record.meanError = summary.meanError;
    record.spread = summary.spread;
    record.withinOnTime = summary.withinOnTime;
}

QStringList PracticeHistory::Fields(const PracticeRecord& r) {
    return {r.when.toUTC().toString(Qt::ISODate), r.chime, QString::number(r.steps), r.groups,
            QString::number(r.intervalMs), QString::number(r.notes), QString::number(r.strokes),
            QString::number(r.hits), QString::number(r.missed), QString::number(r.wrongBell),
            QString::number(r.extra), Number(r.meanError), Number(r.spread), Number(r.withinOnTime)};
}

bool PracticeHistory::Parse(const QStringList& f, PracticeRecord& r) {
    if (f.size() != Header().size()) {
        return false;
    }
    r.when = QDateTime::fromString(f[0], Qt::ISODate);
    r.chime = f[1];
    r.groups = f[3];
    return r.when.isValid() && ReadInt(f[2], r.steps) && ReadInt(f[4], r.intervalMs) && ReadInt(f[5], r.notes) &&
           ReadInt(f[6], r.strokes) && ReadInt(f[7], r.hits) && ReadInt(f[8], r.missed) &&
           ReadInt(f[9], r.wrongBell) && ReadInt(f[10], r.extra) && ReadDouble(f[11], r.meanError) &&
           ReadDouble(f[12], r.spread) && ReadDouble(f[13], r.withinOnTime) && r.withinOnTime >= 0.0 &&
           r.withinOnTime <= 1.0;
}

QStringList PracticeHistory::SplitLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

QString PracticeHistory::JoinLine(const QStringList& fields) {
    QStringList out;
    for (QString field : fields) {
        if (field.contains(u',') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r')) {
            field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            field.remove(u'\n');
            field.remove(u'\r');
            field = u'"' + field + u'"';
        }
        out.append(field);
    }
    return out.join(u',');
}

std::vector<PracticeRecord> PracticeHistory::Read() {
    skipped_ = 0;
    std::vector<PracticeRecord> records;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return records;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    bool first = true;
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = SplitLine(line);
        if (first && fields == Header()) {
            first = false;
            continue;
        }
        first = false;
        PracticeRecord record;
        if (Parse(fields, record)) {
            records.push_back(record);
        } else {
            ++skipped_;
        }
    }
    return records;
}

bool PracticeHistory::Append(const PracticeRecord& record) {
    error_.clear();
    const QFileInfo info(path_);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("The practice history cannot be kept: the folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QByteArray content;
    QFile old(path_);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) {
            error_ = QStringLiteral("The practice history %1 cannot be read.").arg(QDir::toNativeSeparators(path_));
            return false;
        }
        content = old.readAll();
        old.close();
        if (!content.isEmpty() && !content.endsWith('\n')) {
            content += '\n';
        }
    }
    if (content.trimmed().isEmpty()) {
        content = JoinLine(Header()).toUtf8() + '\n';
    }
    content += JoinLine(Fields(record)).toUtf8() + '\n';
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        // Not even the temporary file beside the history can be made.
        error_ = QStringLiteral("The practice history cannot be saved: the folder %1 is read-only (%2).")
                     .arg(QDir::toNativeSeparators(folder), file.errorString());
        return false;
    }
    if (file.write(content) != content.size() || !file.commit()) {
        error_ = QStringLiteral("The practice history %1 cannot be written: %2.")
                     .arg(QDir::toNativeSeparators(path_), file.errorString());
        return false;
    }
    return true;
}

}  // namespace orvane
