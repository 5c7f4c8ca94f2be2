// orvane-pictures: draws every picture of the program at build time.
//
//   orvane-pictures <desc.kli> <program folder> <embedded images folder> [<icon theme folder>]
//
// Writes <program folder>/Images/ (the in-set and out-of-set picture of each catalogue bell and
// the strip's cursor marker hot.bmp), <program folder>/Animate/ (the face frames of both views,
// accord.bmp and disable.bmp) and <embedded images folder>/banner.jpg and splash.jpg. The output
// With a fourth argument it also writes the desktop icons into that theme folder
// (<n>x<n>/apps/orvane.png and scalable/apps/orvane.svg). The output
// depends only on the catalogue, so the same input gives the same bytes.
#include "FacePictures.h"
#include "IconPictures.h"
#include "PictureFiles.h"
#include "ScenePictures.h"
#include "StripPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {

using namespace orvane::pictures;

QString MakeFolder(const QString& path) {
    if (!QDir().mkpath(path)) {
        throw std::runtime_error(QStringLiteral("cannot create %1").arg(path).toStdString());
    }
    return QDir(path).absolutePath() + QLatin1Char('/');
}

void WriteStrip(const std::vector<BellRow>& bells, const QString& imagesDir) {
    const auto [lightest, heaviest] = std::minmax_element(
        bells.begin(), bells.end(),
        [](const BellRow& a, const BellRow& b) { return a.weightKg < b.weightKg; });
    for (const BellRow& bell : bells) {
        SaveBmp(StripPicture(bell.weightKg, lightest->weightKg, heaviest->weightKg, true),
                imagesDir + bell.inPicture);
        SaveBmp(StripPicture(bell.weightKg, lightest->weightKg, heaviest->weightKg, false),
                imagesDir + bell.outPicture);
    }
    SaveBmp(CursorMarker(), imagesDir + QStringLiteral("hot.bmp"));
}

void WriteFaces(const QString& animateDir) {
    for (const FaceRow& row : FaceRows()) {
        for (FaceView view : {FaceView::General, FaceView::Schematic}) {
            for (int frame = 0; frame < kFaceFrames; ++frame) {
                SaveBmp(FacePicture(row, view, frame), animateDir + FaceFileName(row, view, frame));
            }
        }
    }
    SaveBmp(ChordPicture(), animateDir + QStringLiteral("accord.bmp"));
    SaveBmp(DisabledPicture(), animateDir + QStringLiteral("disable.bmp"));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5) {
        std::fprintf(stderr,
                     "usage: orvane-pictures <desc.kli> <program folder> <embedded images folder> "
                     "[<icon theme folder>]\n");
        return 2;
    }
    try {
        const std::vector<BellRow> bells = ReadCatalogue(args[1]);
        const QString programDir = MakeFolder(args[2]);
        WriteStrip(bells, MakeFolder(programDir + QStringLiteral("Images")));
        WriteFaces(MakeFolder(programDir + QStringLiteral("Animate")));
        const QString embedded = MakeFolder(args[3]);
        SaveJpeg(BannerPicture(), embedded + QStringLiteral("banner.jpg"));
        SaveJpeg(SplashPicture(), embedded + QStringLiteral("splash.jpg"));
        if (args.size() == 5) {
            WriteIcons(MakeFolder(args[4]), QStringLiteral("orvane"));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane-pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
