#include "app/ui/LayoutController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/Rounding.h"
#include "app/ui/TfrmMain.h"
#include "chime/ui/PlayerController.h"
#include "score/ui/ScoreController.h"
#include "sound/ui/StripController.h"

#include <QComboBox>
#include <QCheckBox>
#include <cmath>

namespace orvane {

void LayoutController::ApplyViewPanels() {
    MainForm& f = main_.form;
    Guarded([&] {
        f.pnlTools->SetShown(main_.ShowTools);
        f.nViewPanel->setChecked(main_.ShowTools);
        if (!main_.ShowTools) {
            f.pnlVolume->hide();
            f.pnlTemp->hide();
        }
    });
    Guarded([&] {
        f.pnlBells->SetShown(main_.ShowBells);
        f.nViewSelectBells->setChecked(main_.ShowBells);
    });
    Guarded([&] {
        f.pnlBellsGroups->SetShown(main_.ShowGroups);
        f.nViewBellsGroups->setChecked(main_.ShowGroups);
    });
    Guarded([&] {
        f.pnlInfo->SetShown(main_.ShowInfo);
        f.nViewBellsInfo->setChecked(main_.ShowInfo);
    });
    // The information panel goes back directly under the bell selection panel: aligned
    // panels keep their order, so setting its top to 0 is the realignment itself.
    Guarded([&] { f.pnlBellsInfoMain->Layout()->Realign(); });
    Guarded([&] {
        if (main_.strip) {
            main_.strip->LayoutStrip();
        }
    });
    Guarded([&] { SplitGroupPanels(); });
    Guarded([&] { PlaceChimeBoxes(); });
    Guarded([&] { main_.faces->LayoutFaces(); });
    Guarded([&] { FitRecorderPanel(); });
    Guarded([&] { LayoutMarkers(); });
}

void LayoutController::nViewPanelClick() {
    main_.ShowTools = main_.form.nViewPanel->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewSelectBellsClick() {
    main_.ShowBells = main_.form.nViewSelectBells->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewBellsInfoClick() {
    main_.ShowInfo = main_.form.nViewBellsInfo->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewBellsGroupsClick() {
    main_.ShowGroups = main_.form.nViewBellsGroups->isChecked();
    ApplyViewPanels();
    MainForm& f = main_.form;
    f.pnlBellInfo->SetWidth(Round(f.pnlInfo->width() / 2.0));
}

void LayoutController::FormResize() {
    MainForm& f = main_.form;
    Guarded([&] {
        if (main_.strip) {
            main_.strip->LayoutStrip();
        }
    });
    Guarded([&] { f.pnlBellInfo->SetWidth(Round(f.pnlInfo->width() / 2.0)); });
    Guarded([&] { SplitGroupPanels(); });
    Guarded([&] { PlaceChimeBoxes(); });
    Guarded([&] { main_.faces->LayoutFaces(); });
    Guarded([&] {
        if (f.cbShowNotes->isChecked()) {
            main_.score->RedrawScore();
        }
    });
    Guarded([&] { f.pnlBellInfo->SetWidth((f.pnlInfo->width() - f.pnlGroupsInfo->width()) / 2); });
    Guarded([&] { LayoutMarkers(); });
    Guarded([&] { FitRecorderPanel(); });
}

void LayoutController::SplitGroupPanels() {
    MainForm& f = main_.form;
    const int h = f.pnlBellsBox->height();
    f.pnlSmall->resize(f.pnlSmall->width(), h / 3);
    f.pnlMiddle->resize(f.pnlMiddle->width(), (h + 2) / 3);
    f.pnlBig->resize(f.pnlBig->width(), h / 3);
    f.pnlBellsBox->Layout()->Realign();
    if (f.cbShowNotes->isChecked()) {
        main_.score->RedrawScore();
    }
}

void LayoutController::PlaceChimeBoxes() {
    MainForm& f = main_.form;
    for (int g = 0; g < 3; ++g) {
        Guarded([&] {
            QComboBox* box = main_.GroupChimeBoxes[g];
            if (!box) {
                return;
            }
            box->setGeometry(4, f.GroupPanel(g)->y() + 2, f.pnlCustomSelections->width() - 8, box->height());
        });
    }
    f.cbCommon->resize(f.pnlCommon->width() - 9, f.cbCommon->height());
}

void LayoutController::CreateMarkers() {
    MainForm& f = main_.form;
    for (int g = 0; g < 3; ++g) {
        auto* marker = new QWidget(f.ScorePanel(g));
        marker->setObjectName(QStringLiteral("Marker%1").arg(g));
        marker->setAutoFillBackground(true);
        QPalette palette = marker->palette();
        palette.setColor(QPalette::Window, QColor(0, 0, 255));
        marker->setPalette(palette);
        marker->setGeometry(4, 4, 4, 4);
        marker->show();
        main_.Markers[g] = marker;
    }
}

void LayoutController::LayoutMarkers() {
    MainForm& f = main_.form;
    for (int g = 0; g < 3; ++g) {
        QWidget* marker = main_.Markers[g];
        if (!marker) {
            continue;
        }
        const TPanel* panel = f.ScorePanel(g);
        marker->resize(Round((panel->width() - 8) / 64.0), panel->height() - 8);
    }
    main_.player->PlaceMarkers();
    for (int g = 2; g >= 0; --g) {
        f.ScorePanel(g)->update();
    }
}

void LayoutController::FitRecorderPanel() {
    MainForm& f = main_.form;
    f.pnlRec->setGeometry(f.pnlBellsBox->rect());
    f.pnlRec->Layout()->Realign();
}

void LayoutController::btnTempClick() {
    MainForm& f = main_.form;
    f.pnlTemp->move(f.pnlTemp->x(), f.pnlTools->y() - f.pnlTemp->height());
    f.pnlTemp->setVisible(!f.pnlTemp->isVisible());
    if (f.pnlTemp->isVisible()) {
        f.pnlTemp->raise();
    }
}

}  // namespace orvane
