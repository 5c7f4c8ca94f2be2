#include "sound/ui/StripController.h"

#include "app/core/Guard.h"
#include "app/core/Rounding.h"
#include "app/ui/TImage.h"
#include "app/core/TextFile.h"
#include "app/ui/TfrmMain.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/core/TBellData.h"
#include "sound/ui/VoiceController.h"

#include <QPlainTextEdit>
#include <cmath>

namespace orvane {

QString StripController::PicturePath(int bell, bool inSet) const {
    const int column = inSet ? TBellData::kPictureIn : TBellData::kPictureOut;
    return main_.AppPath.ImagesDir + NativePath(main_.BellData->Cell(column, bell));
}

QString StripController::BellHint(int bell) const {
    return main_.BellData->Cell(TBellData::kName, bell) + QStringLiteral("\r\n") +
           QStringLiteral("Note: ") + main_.BellData->Cell(TBellData::kNote, bell);
}

void StripController::BuildStrip() {
    MainForm& f = main_.form;
    for (int i = 0; i < TBellData::kBellCount; ++i) {
        auto* picture = new TImage(QStringLiteral("imgBell%1").arg(i), f.pnlBells);
        picture->SetStretch(true);
        picture->setCursor(Qt::PointingHandCursor);
        main_.Strip.append(picture);
        Guarded([&] {
            const QString path = PicturePath(i, false);
            main_.CheckDataFile(path);
            picture->SetPicture(QImage(path));
        });
        picture->setToolTip(BellHint(i));
        picture->setProperty("tag", i);
        picture->show();
        QObject::connect(picture, &TImage::Clicked, picture,
                         [this, i] { Guarded([&] { StripClick(i); }); });
    }
    LayoutStrip();
}

void StripController::LayoutStrip() {
    MainForm& f = main_.form;
    const double w = (f.pnlBells->width() - 4) / 15.0;
    f.pnlBells->SetHeight(Round(w) + 8);
    double x = 2;
    for (TImage* picture : main_.Strip) {
        if (!picture) {
            continue;
        }
        const int left = Round(x);
        x += w;
        const int width = Round(x - left);
        picture->setGeometry(left, 2, width, width);
    }
    MoveMarker();
}

void StripController::MoveMarker() {
    MainForm& f = main_.form;
    const int bell = main_.CurrentBell;
    if (bell < 0 || bell >= main_.Strip.size() || !main_.Strip[bell]) {
        return;
    }
    const TImage* picture = main_.Strip[bell];
    // Only a real move repaints: a bell key struck again leaves the marker where it is.
    f.imgHot->setGeometry(picture->x(), picture->y() + picture->height() + 1, picture->width(),
                          std::max(2, f.pnlBells->height() - picture->height() - 5));
}

void StripController::RefreshPreview() {
    MainForm& f = main_.form;
    const QString path = PicturePath(main_.CurrentBell, true);
    main_.CheckDataFile(path);
    f.imgPreview->SetPicture(QImage(path));
    f.mBellInfo->setPlainText(BellHint(main_.CurrentBell));
}

void StripController::ShowBellPicture(int bell, bool inSet) {
    if (bell < 0 || bell >= main_.Strip.size() || !main_.Strip[bell]) {
        return;
    }
    const QString path = PicturePath(bell, inSet);
    main_.CheckDataFile(path);
    main_.Strip[bell]->SetPicture(QImage(path));
}

void StripController::StripClick(int bell) {
    main_.CurrentBell = bell;
    MoveMarker();
    RefreshPreview();
    main_.bellSet->ToggleBell(bell);
}

void StripController::imgPreviewClick() {
    main_.voices->StrikeBell(main_.CurrentBell);
}

}  // namespace orvane
