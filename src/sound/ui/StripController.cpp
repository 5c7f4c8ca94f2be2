#include "sound/ui/StripController.h"

#include "app/core/Guard.h"
#include "app/core/PictureFile.h"
#include "app/core/ProgramData.h"
#include "app/core/Rounding.h"
#include "app/core/TextFile.h"
#include "app/ui/TImage.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/DataFileCheck.h"
#include "catalogue/core/TBellData.h"
#include "sound/ui/VoiceController.h"

#include <QPlainTextEdit>
#include <cmath>

namespace orvane {

QString StripController::PicturePath(int bell, bool inSet) const {
    const int column = inSet ? TBellData::kPictureIn : TBellData::kPictureOut;
    return data_.AppPath.ImagesDir + NativePath(data_.BellData->Cell(column, bell));
}

QString StripController::BellHint(int bell) const {
    return data_.BellData->Cell(TBellData::kName, bell) + QStringLiteral("\r\n") +
           QStringLiteral("Note: ") + data_.BellData->Cell(TBellData::kNote, bell);
}

void StripController::BuildStrip() {
    const StripWidgets& f = widgets_;
    for (int i = 0; i < TBellData::kBellCount; ++i) {
        auto* picture = new TImage(QStringLiteral("imgBell%1").arg(i), f.pnlBells);
        picture->SetStretch(true);
        picture->setCursor(Qt::PointingHandCursor);
        widgets_.Strip.append(picture);
        Guarded([&] {
            const QString path = PicturePath(i, false);
            CheckDataFile(path, reporter_);
            picture->SetPicture(ReadPictureFile(path));
        });
        picture->setToolTip(BellHint(i));
        picture->setProperty("tag", i);
        picture->show();
        Wire(picture, &TImage::Clicked, picture, [this, i] { StripClick(i); });
    }
    LayoutStrip();
}

void StripController::LayoutStrip() {
    const StripWidgets& f = widgets_;
    const double w = (f.pnlBells->width() - 4) / 15.0;
    f.pnlBells->SetHeight(Round(w) + 8);
    double x = 2;
    for (TImage* picture : widgets_.Strip) {
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
    const StripWidgets& f = widgets_;
    const int bell = bells_.CurrentBell;
    if (bell < 0 || bell >= widgets_.Strip.size() || !widgets_.Strip[bell]) {
        return;
    }
    const TImage* picture = widgets_.Strip[bell];
    // Only a real move repaints: a bell key struck again leaves the marker where it is.
    f.imgHot->setGeometry(picture->x(), picture->y() + picture->height() + 1, picture->width(),
                          std::max(2, f.pnlBells->height() - picture->height() - 5));
}

void StripController::RefreshPreview() {
    const StripWidgets& f = widgets_;
    const QString path = PicturePath(bells_.CurrentBell, true);
    CheckDataFile(path, reporter_);
    f.imgPreview->SetPicture(ReadPictureFile(path));
    f.mBellInfo->setPlainText(BellHint(bells_.CurrentBell));
}

void StripController::ShowBellPicture(int bell, bool inSet) {
    if (bell < 0 || bell >= widgets_.Strip.size() || !widgets_.Strip[bell]) {
        return;
    }
    const QString path = PicturePath(bell, inSet);
    CheckDataFile(path, reporter_);
    widgets_.Strip[bell]->SetPicture(ReadPictureFile(path));
}

void StripController::StripClick(int bell) {
    bells_.CurrentBell = bell;
    MoveMarker();
    RefreshPreview();
    toggleBell_(bell);
}

void StripController::imgPreviewClick() {
    voices_.StrikeBell(bells_.CurrentBell);
}

}  // namespace orvane
