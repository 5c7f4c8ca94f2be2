#include "FacePictures.h"

#include "BellPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace orvane::pictures {

namespace {

constexpr double kBeamTop = 2.0;
constexpr double kBeamHeight = 5.0;
constexpr double kCrownTop = 9.0;
constexpr double kMargin = 2.0;
constexpr double kMaxGap = 16.0;

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QImage NewFace(const QColor& fill) {
    QImage image(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont LabelFont(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// End of the rope of bell `index` (0-based) in a row of `count` bells whose tail is at `tail`.
QPointF RopeEnd(RopeLead lead, QPointF tail, int index, int count) {
    switch (lead) {
        case RopeLead::Hand:
            return {6.0 + 1.5 * index, kFaceHeight - 3.0 + 0.0 * count};
        case RopeLead::Rail:
            return {tail.x() + (kFaceWidth / 2.0 - tail.x()) * 0.12, kFaceHeight - 7.0};
        case RopeLead::Pedals:
        default:
            return {tail.x(), double(kFaceHeight)};
    }
}

void PaintSky(QPainter& painter) {
    QLinearGradient sky(0.0, 0.0, 0.0, kFaceHeight);
    sky.setColorAt(0.0, Rgb(0xc9dcef));
    sky.setColorAt(0.65, Rgb(0xe9f0f7));
    sky.setColorAt(1.0, Rgb(0xf4f1ea));
    painter.fillRect(QRectF(0, 0, kFaceWidth, kFaceHeight), sky);
}

void PaintBeam(QPainter& painter) {
    QLinearGradient wood(0.0, kBeamTop, 0.0, kBeamTop + kBeamHeight);
    wood.setColorAt(0.0, Rgb(0xa57a4e));
    wood.setColorAt(0.3, Rgb(0x7b5331));
    wood.setColorAt(1.0, Rgb(0x4a2f19));
    painter.fillRect(QRectF(0, kBeamTop, kFaceWidth, kBeamHeight), wood);
    painter.fillRect(QRectF(0, kBeamTop + kBeamHeight, kFaceWidth, 1.0), QColor(0, 0, 0, 40));
}

void PaintHanger(QPainter& painter, double x, const QColor& colour) {
    painter.setPen(QPen(colour, 1.2));
    painter.drawLine(QPointF(x, kBeamTop + kBeamHeight), QPointF(x, kCrownTop + 1.0));
}

void PaintGeneral(QPainter& painter, const FaceRow& row, int struck) {
    PaintSky(painter);
    const std::vector<double> centres = BellCentres(row);
    const int count = static_cast<int>(centres.size());

    if (row.ropes == RopeLead::Rail) {
        const double y = kFaceHeight - 7.0;
        QLinearGradient rail(0.0, y - 1.5, 0.0, y + 1.5);
        rail.setColorAt(0.0, Rgb(0x9a7048));
        rail.setColorAt(1.0, Rgb(0x553620));
        painter.fillRect(
            QRectF(centres.front() - 6.0, y - 1.0, centres.back() - centres.front() + 12.0, 3.0),
            rail);
    }

    // Ropes first, behind the bells; the rope of the struck bell is pulled taut last.
    for (int i = 0; i < count; ++i) {
        if (i + 1 == struck) {
            continue;
        }
        const QPointF crown(centres[i], kCrownTop);
        const QPointF tail = ClapperTailEnd(crown, row.lipWidths[i]);
        painter.setPen(QPen(Rgb(0xa88d66), 0.9));
        painter.drawLine(tail, RopeEnd(row.ropes, tail, i, count));
    }
    PaintBeam(painter);
    for (int i = 0; i < count; ++i) {
        PaintHanger(painter, centres[i], Rgb(0x2e2620));
    }
    for (int i = 0; i < count; ++i) {
        if (i + 1 != struck) {
            PaintBell(painter, QPointF(centres[i], kCrownTop), row.lipWidths[i], BellLook::Bronze);
        }
    }
    if (struck >= 1 && struck <= count) {
        const int i = struck - 1;
        const QPointF crown(centres[i], kCrownTop);
        const QPointF restTail = ClapperTailEnd(crown, row.lipWidths[i]);
        const QPointF end = RopeEnd(row.ropes, restTail, i, count);
        BellPose pose;
        pose.clapper = end.x() < restTail.x() - 0.5 ? -1.0 : 1.0;
        const QPointF tail = ClapperTailEnd(crown, row.lipWidths[i], pose);
        painter.setPen(QPen(Rgb(0x9c3d10), 1.3));
        painter.drawLine(tail, end);
        PaintBell(painter, crown, row.lipWidths[i], BellLook::Struck, pose);
    }
}

void PaintSchematic(QPainter& painter, const FaceRow& row, int struck) {
    const std::vector<double> centres = BellCentres(row);
    const int count = static_cast<int>(centres.size());
    const QColor ink = Rgb(0x2d4470);
    const QColor hot = Rgb(0xc2410c);

    painter.setPen(QPen(Rgb(0x8a97ad), 1.5));
    painter.drawLine(QPointF(3.0, kBeamTop + 3.0), QPointF(kFaceWidth - 3.0, kBeamTop + 3.0));
    for (int i = 0; i < count; ++i) {
        painter.setPen(QPen(Rgb(0x8a97ad), 1.0));
        painter.drawLine(QPointF(centres[i], kBeamTop + 3.0), QPointF(centres[i], kCrownTop + 1.0));
    }
    for (int i = 0; i < count; ++i) {
        const bool hit = i + 1 == struck;
        BellPose pose;
        pose.clapper = hit ? 1.0 : 0.0;
        PaintBell(painter, QPointF(centres[i], kCrownTop), row.lipWidths[i],
                  hit ? BellLook::OutlineStruck : BellLook::Outline, pose);

        // The bell's number under it.
        const QRectF label(centres[i] - 9.0, kFaceHeight - 15.0, 18.0, 13.0);
        if (hit) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(hot);
            painter.drawEllipse(label.center(), 6.5, 6.5);
            painter.setPen(Qt::white);
        } else {
            painter.setPen(ink);
        }
        painter.setFont(LabelFont(10, hit));
        painter.drawText(label, Qt::AlignCenter, QString::number(i + 1));
    }
}

// Every pixel that is almost white becomes exactly white, so that the program's transparent
// colour leaves no pale seam around the drawing.
void SnapNearWhite(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (qRed(p) >= 244 && qGreen(p) >= 244 && qBlue(p) >= 244) {
                line[x] = qRgb(255, 255, 255);
            }
        }
    }
}

// A small row of bells across the top of a white picture, for the chord and disabled pictures.
void PaintTopRow(QPainter& painter, BellLook look) {
    const std::vector<double> lips = {13.0, 12.0, 11.0, 11.0, 10.0, 10.0, 9.0};
    const double total = std::accumulate(lips.begin(), lips.end(), 0.0) + 8.0 * (lips.size() - 1);
    double x = (kFaceWidth - total) / 2.0;
    const QColor beam = look == BellLook::Ghost ? Rgb(0xc8c8c8) : Rgb(0x6b4a2c);
    painter.setPen(QPen(beam, 1.4));
    painter.drawLine(QPointF(x - 4.0, 2.0), QPointF(x + total + 4.0, 2.0));
    for (size_t i = 0; i < lips.size(); ++i) {
        const double centre = x + lips[i] / 2.0;
        painter.setPen(QPen(beam, 1.0));
        painter.drawLine(QPointF(centre, 2.0), QPointF(centre, 4.0));
        BellPose pose;
        pose.clapper = look == BellLook::Ghost ? 0.0 : (i % 2 == 0 ? -1.0 : 1.0);
        pose.glow = false;
        pose.waveRings = 1;
        PaintBell(painter, QPointF(centre, 3.5), lips[i], look, pose);
        x += lips[i] + 8.0;
    }
}

}  // namespace

const std::vector<FaceRow>& FaceRows() {
    static const std::vector<FaceRow> rows = {
        {QStringLiteral("s"), {15.0, 14.0, 13.0, 12.5, 12.0, 11.0, 10.5}, RopeLead::Hand},
        {QStringLiteral("m"), {19.0, 18.0, 17.0, 16.0, 15.0, 14.0, 13.0}, RopeLead::Rail},
        {QStringLiteral("b"), {24.0, 21.0, 19.0, 17.0, 15.0, 13.5, 12.5}, RopeLead::Pedals},
        {QStringLiteral("3s"), {22.0, 19.0, 16.0}, RopeLead::Hand},
    };
    return rows;
}

QString FaceFileName(const FaceRow& row, FaceView view, int frame) {
    return (view == FaceView::Schematic ? QStringLiteral("l") : QString()) + row.prefix +
           QLatin1Char('_') + QString::number(frame) + QStringLiteral(".bmp");
}

std::vector<double> BellCentres(const FaceRow& row) {
    const int count = static_cast<int>(row.lipWidths.size());
    const double widths = std::accumulate(row.lipWidths.begin(), row.lipWidths.end(), 0.0);
    const double room = kFaceWidth - 2.0 * kMargin;
    const double gap = count > 1 ? std::clamp((room - widths) / (count - 1), 1.0, kMaxGap) : 0.0;
    double x = (kFaceWidth - widths - gap * (count - 1)) / 2.0;
    std::vector<double> centres;
    for (double lip : row.lipWidths) {
        centres.push_back(std::round((x + lip / 2.0) * 2.0) / 2.0);
        x += lip + gap;
    }
    return centres;
}

QImage FacePicture(const FaceRow& row, FaceView view, int frame) {
    const int struck = frame >= 1 && frame <= static_cast<int>(row.lipWidths.size()) ? frame : 0;
    QImage image = NewFace(Qt::white);
    QPainter painter(&image);
    Prepare(painter);
    if (view == FaceView::General) {
        PaintGeneral(painter, row, struck);
    } else {
        PaintSchematic(painter, row, struck);
    }
    painter.end();
    return image;
}

QImage ChordPicture() {
    QImage image = NewFace(Qt::white);
    QPainter painter(&image);
    Prepare(painter);
    PaintTopRow(painter, BellLook::Struck);

    // Two chords of whole notes on a short staff, below the caption: notes sounding at once.
    const QColor ink = Rgb(0x4a2f14);
    const double left = 30.0, right = 99.0, top = 44.0, step = 3.5;
    painter.setPen(QPen(Rgb(0x8c7b68), 0.9));
    for (int line = 0; line < 5; ++line) {
        painter.drawLine(QPointF(left, top + line * step), QPointF(right, top + line * step));
    }
    painter.drawLine(QPointF(left, top), QPointF(left, top + 4.0 * step));
    painter.drawLine(QPointF(right, top), QPointF(right, top + 4.0 * step));
    painter.setPen(QPen(ink, 1.3));
    painter.setBrush(Qt::NoBrush);
    for (const auto& [noteX, lowest] : {std::pair{52.0, 4.0}, std::pair{77.0, 3.0}}) {
        for (int note = 0; note < 3; ++note) {
            painter.save();
            painter.translate(noteX, top + (lowest - note) * step);
            painter.rotate(-20.0);
            painter.drawEllipse(QPointF(0.0, 0.0), 2.6, 1.45);
            painter.restore();
        }
    }
    painter.end();
    SnapNearWhite(image);
    return image;
}

QImage DisabledPicture() {
    QImage image = NewFace(Qt::white);
    QPainter painter(&image);
    Prepare(painter);
    PaintTopRow(painter, BellLook::Ghost);
    painter.end();
    SnapNearWhite(image);
    return image;
}

}  // namespace orvane::pictures
