#include "practice/core/PracticeReport.h"

#include "practice/core/PracticeMarks.h"

#include <QPainter>
#include <cmath>

namespace orvane {

namespace {

const char* const kGroupNames[3] = {"Small bells", "Medium-size bells", "Great bells"};

QString Ms(double value) {
    return QString::number(value, 'f', 1);
}

}  // namespace

QString PracticeReport::ErrorWords(double errorMs) {
    if (std::abs(errorMs) < 0.05) {
        return QStringLiteral("on the beat");
    }
    return QStringLiteral("%1 ms %2").arg(Ms(std::abs(errorMs)), errorMs > 0 ? QStringLiteral("behind") : QStringLiteral("ahead"));
}

std::array<QString, BellSet::kBellCount> PracticeReport::BellNames(const BellSet& bellSet) {
    std::array<QString, BellSet::kBellCount> names;
    const auto ranks = RankOfBells(bellSet);
    for (int row = 0; row < BellSet::kBellCount; ++row) {
        const int code = bellSet.group[std::size_t(row)];
        if (bellSet.inSet[std::size_t(row)] && code >= kSmallGroup && code <= kGreatGroup && ranks[std::size_t(row)] > 0) {
            names[std::size_t(row)] = GroupLetter(code) + QString::number(ranks[std::size_t(row)]);
        }
    }
    return names;
}

std::vector<std::pair<QString, StrokeSummary>> PracticeReport::Rows() const {
    std::vector<std::pair<QString, StrokeSummary>> rows;
    rows.emplace_back(QStringLiteral("Whole pass"), summary.all);
    for (int g = 0; g < 3; ++g) {
        if (groups[std::size_t(g)]) {
            rows.emplace_back(QString::fromLatin1(kGroupNames[g]), summary.groups[std::size_t(g)]);
        }
    }
    for (int b = 0; b < BellSet::kBellCount; ++b) {
        const StrokeSummary& s = summary.bells[std::size_t(b)];
        if (s.notes > 0 || s.strokes > 0) {
            const QString name = bellNames[std::size_t(b)].isEmpty() ? QStringLiteral("bell %1").arg(b + 1)
                                                                     : bellNames[std::size_t(b)];
            rows.emplace_back(QStringLiteral("  Bell ") + name, s);
        }
    }
    return rows;
}

void PracticeReport::Paint(QPainter& p, const QRectF& page) const {
    p.save();
    // Lay out on a 1000-unit-wide page, scaled to the target.
    const double scale = page.width() / 1000.0;
    p.translate(page.topLeft());
    p.scale(scale, scale);
    const double height = page.height() / scale;
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::black);

    QFont title = font;
    title.setPixelSize(18);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(10, 4, 980, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ring along: %1").arg(record.chime));
    p.setFont(font);
    QStringList groupNames;
    for (int g = 0; g < 3; ++g) {
        if (groups[std::size_t(g)]) {
            groupNames << QString::fromLatin1(kGroupNames[g]);
        }
    }
    p.drawText(QRectF(10, 30, 980, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 rung by the learner; step %2 ms; %3")
                   .arg(groupNames.join(QStringLiteral(", ")))
                   .arg(record.intervalMs)
                   .arg(record.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));

    // The table.
    const QStringList headers{QStringLiteral(""),        QStringLiteral("Notes"),  QStringLiteral("Strokes"),
                              QStringLiteral("Hits"),    QStringLiteral("Missed"), QStringLiteral("Wrong bell"),
                              QStringLiteral("Extra"),   QStringLiteral("Mean error"), QStringLiteral("S.d., ms"),
                              QStringLiteral("Within 20 ms")};
    const double widths[] = {170, 60, 65, 55, 60, 80, 55, 170, 80, 100};
    const auto rows = Rows();
    const double rowHeight = 17;
    const int maxRows = std::max(3, int((height * 0.36 - 20) / rowHeight));
    double y = 56;
    auto cells = [&](const QStringList& texts, bool bold) {
        QFont f = font;
        f.setBold(bold);
        p.setFont(f);
        double x = 10;
        for (int c = 0; c < texts.size(); ++c) {
            p.drawText(QRectF(x + 3, y, widths[c] - 6, rowHeight), (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                       texts[c]);
            x += widths[c];
        }
        y += rowHeight;
    };
    cells(headers, true);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(10, y), QPointF(10 + 895, y));
    int shown = 0;
    for (const auto& [label, s] : rows) {
        if (shown++ >= maxRows) {
            break;
        }
        cells({label, QString::number(s.notes), QString::number(s.strokes), QString::number(s.hits),
               QString::number(s.missed), QString::number(s.wrongBell), QString::number(s.extra),
               s.hits > 0 ? ErrorWords(s.meanError) : QStringLiteral("-"), s.hits > 1 ? Ms(s.spread) : QStringLiteral("-"),
               s.hits > 0 ? QStringLiteral("%1 %").arg(std::lround(s.withinOnTime * 100)) : QStringLiteral("-")},
              shown == 1);
    }
    p.setFont(font);
    // The plots share the rest of the page.
    const double top = y + 10;
    const double plotHeight = std::max(120.0, (height - top - 6) / 2);
    PracticePlots::PaintErrors(p, QRectF(0, top, 1000, plotHeight), points, durationSeconds);
    PracticePlots::PaintProgress(p, QRectF(0, top + plotHeight + 4, 1000, plotHeight), passes);
    p.restore();
}

}  // namespace orvane
