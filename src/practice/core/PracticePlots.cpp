#include "practice/core/PracticePlots.h"

#include "practice/core/PracticeMarks.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// The plot rectangle inside `area`, leaving room for titles and numbers.
QRectF PlotRect(const QRectF& area, bool rightAxis) {
    return area.adjusted(58, 26, rightAxis ? -52 : -14, -40);
}

void Frame(QPainter& p, const QRectF& plot, const QString& title) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    p.drawText(QRectF(plot.left(), plot.top() - 24, plot.width(), 20), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.restore();
}

// Vertical axis ticks and numbers, on the left (or right) edge of the plot.
void YAxis(QPainter& p, const QRectF& plot, double lo, double hi, const QString& unit, bool right) {
    const double step = PracticePlots::NiceStep(hi - lo, 6);
    p.setPen(QPen(Qt::black, 1));
    for (double v = std::ceil(lo / step) * step; v <= hi + step * 1e-6; v += step) {
        const double y = plot.bottom() - (v - lo) / (hi - lo) * plot.height();
        const double x = right ? plot.right() : plot.left();
        p.drawLine(QPointF(x, y), QPointF(right ? x + 4 : x - 4, y));
        const QString text = QString::number(std::abs(v) < step * 1e-6 ? 0.0 : v, 'g', 4);
        if (right) {
            p.drawText(QRectF(x + 6, y - 8, 44, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
        } else {
            p.drawText(QRectF(x - 50, y - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    p.save();
    const double x = right ? plot.right() + 46 : plot.left() - 46;
    p.translate(x, plot.center().y());
    p.rotate(right ? 90 : -90);
    p.drawText(QRectF(-plot.height() / 2, -8, plot.height(), 16), Qt::AlignCenter, unit);
    p.restore();
}

void XAxis(QPainter& p, const QRectF& plot, double lo, double hi, const QString& unit, bool whole) {
    double step = PracticePlots::NiceStep(hi - lo, 8);
    if (whole) {
        step = std::max(1.0, std::round(step));
    }
    p.setPen(QPen(Qt::black, 1));
    for (double v = std::ceil(lo / step) * step; v <= hi + step * 1e-6; v += step) {
        const double x = plot.left() + (v - lo) / (hi - lo) * plot.width();
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        p.drawText(QRectF(x - 30, plot.bottom() + 5, 60, 14), Qt::AlignHCenter | Qt::AlignTop,
                   QString::number(v, 'g', 5));
    }
    p.drawText(QRectF(plot.left(), plot.bottom() + 20, plot.width(), 16), Qt::AlignHCenter | Qt::AlignTop, unit);
}

void Point(QPainter& p, QPointF c, NoteResult result) {
    const QColor color = PracticeMarks::ColorOf(result);
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(color);
    switch (result) {
        case NoteResult::OnTime:
            p.drawEllipse(c, 3.5, 3.5);
            break;
        case NoteResult::SlightlyOff: {
            QPainterPath triangle;
            triangle.moveTo(c + QPointF(0, -4.5));
            triangle.lineTo(c + QPointF(4, 3));
            triangle.lineTo(c + QPointF(-4, 3));
            triangle.closeSubpath();
            p.drawPath(triangle);
            break;
        }
        default:
            p.drawRect(QRectF(c - QPointF(3.5, 3.5), QSizeF(7, 7)));
            break;
    }
}

}  // namespace

std::vector<ErrorPoint> ErrorPoints(const StrokeMatcher& matcher) {
    std::vector<ErrorPoint> points;
    const std::int64_t origin = matcher.StepFrame(0);
    const auto& outcomes = matcher.NoteOutcomes();
    for (const NoteOutcome& o : outcomes) {
        if (o.result == NoteResult::OnTime || o.result == NoteResult::SlightlyOff || o.result == NoteResult::Off) {
            points.push_back({(o.frame - origin) / double(matcher.SampleRate()), matcher.Milliseconds(o.errorFrames),
                              o.result});
        }
    }
    return points;
}

double PracticePlots::NiceStep(double range, int targetTicks) {
    if (!(range > 0.0) || targetTicks < 1) {
        return 1.0;
    }
    const double raw = range / targetTicks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= m * power) {
            return m * power;
        }
    }
    return 10.0 * power;
}

void PracticePlots::PaintErrors(QPainter& p, const QRectF& area, const std::vector<ErrorPoint>& points,
                                double durationSeconds) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plot = PlotRect(area, false);
    double limit = 80.0;
    for (const ErrorPoint& point : points) {
        limit = std::max(limit, std::abs(point.errorMs) * 1.1);
    }
    const double duration = std::max(durationSeconds, 1.0);
    auto toY = [&](double ms) { return plot.bottom() - (ms + limit) / (2 * limit) * plot.height(); };
    auto toX = [&](double s) { return plot.left() + s / duration * plot.width(); };
    p.fillRect(QRectF(plot.left(), toY(kOnTimeMs), plot.width(), toY(-kOnTimeMs) - toY(kOnTimeMs)),
               QColor(0, 158, 115, 50));
    p.setPen(QPen(QColor(0, 158, 115), 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), toY(kOnTimeMs)), QPointF(plot.right(), toY(kOnTimeMs)));
    p.drawLine(QPointF(plot.left(), toY(-kOnTimeMs)), QPointF(plot.right(), toY(-kOnTimeMs)));
    p.setPen(QPen(Qt::gray, 1));
    p.drawLine(QPointF(plot.left(), toY(0)), QPointF(plot.right(), toY(0)));
    Frame(p, plot, QStringLiteral("Signed error of each stroke (above: behind, below: ahead; band: \u00b120 ms)"));
    YAxis(p, plot, -limit, limit, QStringLiteral("error, ms"), false);
    XAxis(p, plot, 0.0, duration, QStringLiteral("time, s"), false);
    p.setClipRect(plot.adjusted(-4, -4, 4, 4));
    for (const ErrorPoint& point : points) {
        Point(p, QPointF(toX(point.seconds), toY(point.errorMs)), point.result);
    }
    if (points.empty()) {
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No stroke was matched"));
    }
    p.restore();
}

void PracticePlots::PaintProgress(QPainter& p, const QRectF& area, const std::vector<PracticeRecord>& all,
                                  int maxPasses) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plot = PlotRect(area, true);
    const std::size_t first = all.size() > std::size_t(maxPasses) ? all.size() - std::size_t(maxPasses) : 0;
    const std::vector<PracticeRecord> passes(all.begin() + std::ptrdiff_t(first), all.end());
    double limit = 40.0;
    for (const PracticeRecord& r : passes) {
        limit = std::max(limit, (std::abs(r.meanError) + r.spread) * 1.1);
    }
    const int count = int(passes.size());
    const double xLo = 0.5;
    const double xHi = std::max(count, 1) + 0.5;
    auto toX = [&](double n) { return plot.left() + (n - xLo) / (xHi - xLo) * plot.width(); };
    auto toY = [&](double ms) { return plot.bottom() - (ms + limit) / (2 * limit) * plot.height(); };
    auto toYShare = [&](double share) { return plot.bottom() - share * plot.height(); };
    p.fillRect(QRectF(plot.left(), toY(kOnTimeMs), plot.width(), toY(-kOnTimeMs) - toY(kOnTimeMs)),
               QColor(0, 158, 115, 40));
    p.setPen(QPen(Qt::gray, 1));
    p.drawLine(QPointF(plot.left(), toY(0)), QPointF(plot.right(), toY(0)));
    Frame(p, plot, QStringLiteral("Progress over passes of this chime"));
    YAxis(p, plot, -limit, limit, QStringLiteral("mean error \u00b1 s.d., ms"), false);
    YAxis(p, plot, 0.0, 100.0, QStringLiteral("within 20 ms, %"), true);
    XAxis(p, plot, xLo, xHi, QStringLiteral("pass"), true);
    const QColor errorColor(0, 114, 178);
    const QColor shareColor(213, 94, 0);
    QPolygonF shareLine;
    for (int i = 0; i < count; ++i) {
        const PracticeRecord& r = passes[std::size_t(i)];
        const double x = toX(i + 1);
        p.setPen(QPen(errorColor, 2));
        p.drawLine(QPointF(x, toY(r.meanError - r.spread)), QPointF(x, toY(r.meanError + r.spread)));
        p.setBrush(errorColor);
        p.drawEllipse(QPointF(x, toY(r.meanError)), 4, 4);
        shareLine.append(QPointF(x, toYShare(r.withinOnTime)));
    }
    p.setPen(QPen(shareColor, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(shareLine);
    p.setBrush(shareColor);
    p.setPen(QPen(shareColor, 1));
    for (const QPointF& point : shareLine) {
        p.drawRect(QRectF(point - QPointF(3.5, 3.5), QSizeF(7, 7)));
    }
    // Key.
    const QRectF key(plot.right() - 250, plot.top() + 4, 246, 34);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(key);
    p.setBrush(errorColor);
    p.drawEllipse(QPointF(key.left() + 10, key.top() + 9), 4, 4);
    p.setBrush(shareColor);
    p.drawRect(QRectF(key.left() + 6.5, key.top() + 21.5, 7, 7));
    p.setPen(Qt::black);
    p.drawText(QRectF(key.left() + 20, key.top() + 1, 226, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("mean error with s.d. (left, ms)"));
    p.drawText(QRectF(key.left() + 20, key.top() + 17, 226, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("hits within 20 ms (right, %)"));
    if (passes.empty()) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No earlier pass of this chime"));
    }
    p.restore();
}

}  // namespace orvane
