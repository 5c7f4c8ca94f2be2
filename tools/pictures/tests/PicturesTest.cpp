#include "BellPainter.h"
#include "FacePictures.h"
#include "IconPictures.h"
#include "PictureFiles.h"
#include "ScenePictures.h"
#include "StripPictures.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cmath>
#include <stdexcept>

using namespace orvane::pictures;

namespace {

QByteArray CatalogueText(const QByteArray& lineEnd, int lines = kCatalogueBells) {
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        const QByteArray n = QByteArray::number(i).rightJustified(2, '0');
        text += "\xc1\xe5\xeb;bell" + n + ".wav;bell" + n + "_on.bmp;bell" + n + "_off.bmp;" +
                QByteArray::number(10 * (i + 1)) + ";30;65;note" + lineEnd;
    }
    return text;
}

QByteArray WithLine(QByteArray text, int line, const QByteArray& replacement) {
    QList<QByteArray> lines = text.split('\n');
    lines[line] = replacement;
    return lines.join('\n');
}

int CountDifferentFrom(const QImage& image, QRgb background, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                    std::abs(qBlue(p) - qBlue(background)) >
                tolerance) {
                ++count;
            }
        }
    }
    return count;
}

// Pixels that are almost, but not exactly, white.
int CountNearWhite(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if ((p & 0xffffff) != 0xffffff && qRed(p) >= 244 && qGreen(p) >= 244 &&
                qBlue(p) >= 244) {
                ++count;
            }
        }
    }
    return count;
}

double MeanSaturation(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += QColor(image.pixel(x, y)).hsvSaturationF();
        }
    }
    return sum / (image.width() * image.height());
}

bool AllWhite(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff) {
                return false;
            }
        }
    }
    return true;
}

// Mean x of the pixels above `belowY` that differ between two pictures of the same size; -1
// when none do.
double ChangedCentreX(const QImage& a, const QImage& b, int belowY) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < belowY; ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                sum += x;
                ++count;
            }
        }
    }
    return count == 0 ? -1.0 : sum / count;
}

}  // namespace

TEST(Catalogue, ReadsPictureNamesAndWeightsOfTheFirstFifteenLines) {
    for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        const std::vector<BellRow> rows = ParseCatalogue(CatalogueText(end, 17));
        ASSERT_EQ(rows.size(), size_t(kCatalogueBells));
        EXPECT_EQ(rows[0].inPicture, QStringLiteral("bell00_on.bmp"));
        EXPECT_EQ(rows[14].outPicture, QStringLiteral("bell14_off.bmp"));
        EXPECT_EQ(rows[14].weightKg, 150);
    }
    // The last line may end without a line break.
    EXPECT_EQ(ParseCatalogue(CatalogueText("\r\n").chopped(2)).size(), size_t(kCatalogueBells));
}

TEST(Catalogue, RejectsShortFilesBadWeightsAndUnsafeNames) {
    EXPECT_THROW(ParseCatalogue(CatalogueText("\n", 14)), std::runtime_error);
    EXPECT_THROW(ParseCatalogue(QByteArray()), std::runtime_error);
    const QByteArray good = CatalogueText("\n");
    const QByteArray bad[] = {
        "a;b.wav;on.bmp;off.bmp;heavy;1;2;note",
        "a;b.wav;on.bmp;off.bmp;0;1;2;note",
        "a;b.wav;on.bmp;off.bmp;-5;1;2;note",
        "a;b.wav;on.bmp;off.bmp;12",
        "a;b.wav;../on.bmp;off.bmp;5;1;2;note",
        "a;b.wav;on.bmp;..\\off.bmp;5;1;2;note",
        "a;b.wav;;off.bmp;5;1;2;note",
        "a;b.wav;on.bmp;..;5;1;2;note",
        "a;b.wav;/tmp/on.bmp;off.bmp;5;1;2;note",
        "a;b.wav;C:on.bmp;off.bmp;5;1;2;note",
    };
    for (const QByteArray& line : bad) {
        EXPECT_THROW(ParseCatalogue(WithLine(good, 7, line)), std::runtime_error) << line.data();
    }
}

TEST(Catalogue, TheShippedCatalogueParses) {
    const std::vector<BellRow> rows =
        ReadCatalogue(QStringLiteral(ORVANE_SOURCE_DIR "/data/Data/desc.kli"));
    ASSERT_EQ(rows.size(), size_t(kCatalogueBells));
    EXPECT_EQ(rows[0].weightKg, 4800);
    EXPECT_THROW(ReadCatalogue(QStringLiteral(ORVANE_SOURCE_DIR "/no/such/file.kli")),
                 std::runtime_error);
}

TEST(Bell, BodyIsSymmetricAndAsWideAndHighAsDeclared) {
    const QPainterPath body = BellBodyPath();
    const QRectF box = body.boundingRect();
    EXPECT_NEAR(box.width(), 1.0, 0.02);
    EXPECT_NEAR(box.center().x(), 0.0, 1e-9);
    EXPECT_NEAR(box.bottom(), kBellHeightPerWidth, 1e-6);
    EXPECT_GT(box.top(), 0.1);  // the crown stands above the head
    // Mirror images agree everywhere but on the outline itself.
    int samples = 0, mismatches = 0;
    for (double y = box.top() + 0.01; y < box.bottom(); y += 0.02) {
        for (double x = 0.0; x < 0.6; x += 0.02) {
            ++samples;
            mismatches += body.contains(QPointF(x, y)) != body.contains(QPointF(-x, y));
        }
    }
    EXPECT_LE(mismatches, samples / 200);
    // The bell widens from the head down to the lip.
    auto halfWidth = [&](double y) {
        double x = 0.0;
        while (body.contains(QPointF(x + 0.005, y))) {
            x += 0.005;
        }
        return x;
    };
    EXPECT_LT(halfWidth(0.3), halfWidth(0.7));
    EXPECT_LT(halfWidth(0.7), halfWidth(1.05));
}

TEST(Bell, ClapperHangsBelowTheMouthAndSwingsToTheLip) {
    const QPointF crown(50.0, 10.0);
    const QPointF rest = ClapperTailEnd(crown, 40.0);
    EXPECT_NEAR(rest.x(), 50.0, 1e-9);
    EXPECT_GT(rest.y(), 10.0 + kBellHeightPerWidth * 40.0);  // below the lip
    EXPECT_LT(rest.y(), 10.0 + kBellHeightWithClapper * 40.0);
    BellPose right;
    right.clapper = 1.0;
    const QPointF hit = ClapperTailEnd(crown, 40.0, right);
    EXPECT_NEAR(hit.x(), 50.0 + 20.0, 1.5);  // at the lip's edge
    EXPECT_NEAR(hit.y(), 10.0 + 1.15 * 40.0, 2.0);
    BellPose left = right;
    left.clapper = -3.0;  // clamped to the left lip
    EXPECT_NEAR(ClapperTailEnd(crown, 40.0, left).x(), 50.0 - (hit.x() - 50.0), 1e-9);
    BellPose tilted;
    tilted.tiltDegrees = 90.0;  // clockwise: the bell lies to the left of its crown
    EXPECT_NEAR(ClapperTailEnd(crown, 40.0, tilted).x(), 50.0 - (rest.y() - 10.0), 1e-9);
}

TEST(Bell, PaintsInsideItsOwnBox) {
    for (BellLook look : {BellLook::Bronze, BellLook::Faded, BellLook::Outline, BellLook::Ghost,
                          BellLook::Silhouette}) {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintBell(painter, QPointF(50.0, 20.0), 40.0, look);
        painter.end();
        const QRect box(QPoint(29, 19),
                        QPoint(71, int(20.0 + kBellHeightWithClapper * 40.0 + 2.0)));
        int inside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xffffff) != 0xffffff) {
                    ASSERT_TRUE(box.contains(x, y)) << int(look) << " " << x << "," << y;
                    ++inside;
                }
            }
        }
        EXPECT_GT(inside, 800) << int(look);
    }
}

TEST(Strip, HeavierBellsAreDrawnBiggerAndInSetBellsWarmer) {
    EXPECT_DOUBLE_EQ(StripLipWidth(3, 3, 4800), StripLipWidth(1, 3, 4800));
    EXPECT_DOUBLE_EQ(StripLipWidth(4800, 3, 4800), StripLipWidth(9000, 3, 4800));
    EXPECT_LT(StripLipWidth(3, 3, 4800), StripLipWidth(100, 3, 4800));
    EXPECT_LT(StripLipWidth(100, 3, 4800), StripLipWidth(4800, 3, 4800));
    EXPECT_LE(StripLipWidth(4800, 3, 4800) * 1.32, kStripPictureSide);
    EXPECT_GT(StripLipWidth(5, 5, 5), 0.0);

    const QImage heavy = StripPicture(4800, 3, 4800, true);
    const QImage light = StripPicture(3, 3, 4800, true);
    ASSERT_EQ(heavy.size(), QSize(kStripPictureSide, kStripPictureSide));
    // Count the dark bronze of the bell against the pale background.
    auto bronze = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (QColor(image.pixel(x, y)).valueF() < 0.75) {
                    ++count;
                }
            }
        }
        return count;
    };
    EXPECT_GT(bronze(heavy), 2 * bronze(light));
    const QImage out = StripPicture(4800, 3, 4800, false);
    EXPECT_GT(MeanSaturation(heavy), 3.0 * MeanSaturation(out));
    EXPECT_LT(MeanSaturation(out), 0.05);

    const QImage marker = CursorMarker();
    EXPECT_EQ(marker.size(), QSize(64, 6));
    EXPECT_GT(QColor(marker.pixel(32, 3)).hsvSaturationF(), 0.6);
}

TEST(Faces, FrameNShowsBellNStruckInItsOwnPlace) {
    ASSERT_EQ(FaceRows().size(), 4u);
    for (const FaceRow& row : FaceRows()) {
        const std::vector<double> centres = BellCentres(row);
        ASSERT_EQ(centres.size(), row.lipWidths.size());
        for (size_t i = 0; i < centres.size(); ++i) {
            EXPECT_GE(centres[i] - row.lipWidths[i] / 2.0, 0.0) << row.prefix.toStdString();
            EXPECT_LE(centres[i] + row.lipWidths[i] / 2.0, kFaceWidth) << row.prefix.toStdString();
            if (i > 0) {
                EXPECT_GE(centres[i] - row.lipWidths[i] / 2.0,
                          centres[i - 1] + row.lipWidths[i - 1] / 2.0);
            }
        }
        for (FaceView view : {FaceView::General, FaceView::Schematic}) {
            const QImage rest = FacePicture(row, view, 0);
            ASSERT_EQ(rest.size(), QSize(kFaceWidth, kFaceHeight));
            for (int frame = 1; frame < kFaceFrames; ++frame) {
                const QImage struck = FacePicture(row, view, frame);
                ASSERT_EQ(struck.size(), rest.size());
                // Ropes lead away from the bells, so only the band of the bells is compared.
                const double changed = ChangedCentreX(rest, struck, 24);
                if (frame > int(centres.size())) {
                    EXPECT_EQ(struck, rest) << row.prefix.toStdString() << frame;
                    continue;
                }
                // The change sits around bell `frame`, nearer to it than to any other bell.
                ASSERT_GE(changed, 0.0) << row.prefix.toStdString() << frame;
                for (size_t other = 0; other < centres.size(); ++other) {
                    if (int(other) + 1 != frame) {
                        EXPECT_LT(std::abs(changed - centres[frame - 1]),
                                  std::abs(changed - centres[other]) + 1.0)
                            << row.prefix.toStdString() << " frame " << frame;
                    }
                }
            }
        }
    }
}

TEST(Faces, RowsAndFileNames) {
    const auto& rows = FaceRows();
    EXPECT_EQ(rows[0].prefix, QStringLiteral("s"));
    EXPECT_EQ(rows[3].prefix, QStringLiteral("3s"));
    EXPECT_EQ(rows[3].lipWidths.size(), 3u);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(rows[r].lipWidths.size(), 7u);
        // Bell 1 is the biggest of its group; the bells shrink along the row.
        for (size_t i = 1; i < rows[r].lipWidths.size(); ++i) {
            EXPECT_LT(rows[r].lipWidths[i], rows[r].lipWidths[i - 1]);
        }
    }
    EXPECT_GT(rows[2].lipWidths[0], rows[1].lipWidths[0]);
    EXPECT_GT(rows[1].lipWidths[0], rows[0].lipWidths[0]);
    EXPECT_EQ(FaceFileName(rows[0], FaceView::General, 0), QStringLiteral("s_0.bmp"));
    EXPECT_EQ(FaceFileName(rows[3], FaceView::General, 5), QStringLiteral("3s_5.bmp"));
    EXPECT_EQ(FaceFileName(rows[1], FaceView::Schematic, 3), QStringLiteral("lm_3.bmp"));
    EXPECT_EQ(FaceFileName(rows[3], FaceView::Schematic, 0), QStringLiteral("l3s_0.bmp"));
}

TEST(Faces, ChordAndDisabledPicturesLeaveWhiteWhereTheCaptionGoes) {
    const QImage chord = ChordPicture();
    const QImage disabled = DisabledPicture();
    for (const QImage& image : {chord, disabled}) {
        ASSERT_EQ(image.size(), QSize(kFaceWidth, kFaceHeight));
        EXPECT_GT(CountDifferentFrom(image, qRgb(255, 255, 255), 0), 200);
        // Nothing between pure white and the drawing: no pale seam around it.
        EXPECT_EQ(CountNearWhite(image), 0);
    }
    EXPECT_TRUE(AllWhite(chord, QRect(18, 22, 94, 18)));
    EXPECT_TRUE(AllWhite(disabled, QRect(8, 22, 112, 18)));
    EXPECT_GT(MeanSaturation(chord), 5.0 * MeanSaturation(disabled));
}

TEST(Files, BmpRoundTripsAndJpegIsABaselinePictureOfTheRightSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage face = FacePicture(FaceRows()[2], FaceView::General, 1);
    const QString bmp = dir.filePath(QStringLiteral("b_1.bmp"));
    SaveBmp(face, bmp);
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(bytes[28], char(24));  // bits per pixel
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32),
              face.convertToFormat(QImage::Format_RGB32));
    EXPECT_THROW(SaveBmp(face, dir.filePath(QStringLiteral("missing/x.bmp"))), std::runtime_error);

    for (const QImage& picture : {BannerPicture(), SplashPicture()}) {
        const QByteArray jpeg = EncodeJpeg(picture, 90);
        EXPECT_EQ(jpeg, EncodeJpeg(picture, 90));
        tjhandle decoder = tjInitDecompress();
        int width = 0, height = 0, subsampling = 0, colourspace = 0;
        ASSERT_EQ(tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(jpeg.data()),
                                      static_cast<unsigned long>(jpeg.size()), &width, &height,
                                      &subsampling, &colourspace),
                  0);
        tjDestroy(decoder);
        EXPECT_EQ(QSize(width, height), picture.size());
    }
    EXPECT_EQ(BannerPicture().size(), QSize(kBannerWidth, kBannerHeight));
    EXPECT_EQ(SplashPicture().size(), QSize(kSplashWidth, kSplashHeight));
}

TEST(Files, DrawingIsRepeatable) {
    EXPECT_EQ(SplashPicture(), SplashPicture());
    EXPECT_EQ(BannerPicture(), BannerPicture());
    EXPECT_EQ(FacePicture(FaceRows()[0], FaceView::Schematic, 4),
              FacePicture(FaceRows()[0], FaceView::Schematic, 4));
    EXPECT_EQ(StripPicture(640, 3, 4800, true), StripPicture(640, 3, 4800, true));
}

TEST(Icon, EveryThemeSizeShowsABronzeBellOnAnOpaqueSquareWithClearCorners) {
    for (int size : kIconSizes) {
        const QImage icon = IconPicture(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0) << size;
        // The middle of the bell is opaque bronze (red well above blue), not the blue backdrop.
        const QRgb middle = icon.pixel(size / 2 - size / 10, size / 2);
        EXPECT_EQ(qAlpha(middle), 255) << size;
        EXPECT_GT(qRed(middle), qBlue(middle) + 40) << size;
        const QRgb edge = icon.pixel(size * 12 / 100 + 1, size / 2);
        EXPECT_GT(qBlue(edge), qRed(edge)) << size;
    }
}

TEST(Icon, ThemeFolderGetsEveryBitmapAndAWellFormedScalableDrawing) {
    QTemporaryDir dir;
    WriteIcons(dir.path(), "orvane");
    for (int size : kIconSizes) {
        const QImage read(QStringLiteral("%1/%2x%2/apps/orvane.png").arg(dir.path()).arg(size));
        EXPECT_EQ(read.size(), QSize(size, size));
    }
    QFile svg(dir.path() + "/scalable/apps/orvane.svg");
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_EQ(text, IconSvg());
    QXmlStreamReader xml(text);
    int paths = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("path")) {
            ++paths;
            // The bell body: twelve cubic segments, closed.
            const QString d = xml.attributes().value("d").toString();
            EXPECT_EQ(d.count('C'), 12);
            EXPECT_TRUE(d.startsWith('M') && d.endsWith('Z'));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(paths, 1);

    // A folder that cannot be created is reported.
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(WriteIcons(dir.path() + "/file/icons", "orvane"), std::runtime_error);
}

// Text and fonts need a GUI application; the offscreen platform needs no display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
