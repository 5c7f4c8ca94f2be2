#include "app/ui/LayoutController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/Rounding.h"
#include "app/core/ViewModel.h"
#include "app/ui/TPanel.h"
#include "chime/ui/PlayerController.h"
#include "score/ui/ScoreController.h"
#include "sound/ui/StripController.h"

#include <QComboBox>
#include <QCheckBox>
#include <cmath>

namespace orvane {

void LayoutController::ApplyViewPanels() {
    const LayoutWidgets& f = widgets_;
    Guarded([&] {
        f.pnlTools->SetShown(view_.ShowTools);
        f.nViewPanel->setChecked(view_.ShowTools);
        if (!view_.ShowTools) {
            f.pnlVolume->hide();
            f.pnlTemp->hide();
        }
    });
    Guarded([&] {
        f.pnlBells->SetShown(view_.ShowBells);
        f.nViewSelectBells->setChecked(view_.ShowBells);
    });
    Guarded([&] {
        f.pnlBellsGroups->SetShown(view_.ShowGroups);
        f.nViewBellsGroups->setChecked(view_.ShowGroups);
    });
    Guarded([&] {
        f.pnlInfo->SetShown(view_.ShowInfo);
        f.nViewBellsInfo->setChecked(view_.ShowInfo);
    });
    // The information panel goes back directly under the bell selection panel: aligned
    // panels keep their order, so setting its top to 0 is the realignment itself.
    Guarded([&] { f.pnlBellsInfoMain->Layout()->Realign(); });
    Guarded([&] {
        strip_.LayoutStrip();
    });
    Guarded([&] { SplitGroupPanels(); });
    Guarded([&] { PlaceChimeBoxes(); });
    Guarded([&] { faces_.LayoutFaces(); });
    Guarded([&] { FitRecorderPanel(); });
    Guarded([&] { LayoutMarkers(); });
}

void LayoutController::nViewPanelClick() {
    view_.ShowTools = widgets_.nViewPanel->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewSelectBellsClick() {
    view_.ShowBells = widgets_.nViewSelectBells->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewBellsInfoClick() {
    view_.ShowInfo = widgets_.nViewBellsInfo->isChecked();
    ApplyViewPanels();
}

void LayoutController::nViewBellsGroupsClick() {
    view_.ShowGroups = widgets_.nViewBellsGroups->isChecked();
    ApplyViewPanels();
    const LayoutWidgets& f = widgets_;
    f.pnlBellInfo->SetWidth(Round(f.pnlInfo->width() / 2.0));
}

void LayoutController::FormResize() {
    const LayoutWidgets& f = widgets_;
    Guarded([&] {
        strip_.LayoutStrip();
    });
    Guarded([&] { f.pnlBellInfo->SetWidth(Round(f.pnlInfo->width() / 2.0)); });
    Guarded([&] { SplitGroupPanels(); });
    Guarded([&] { PlaceChimeBoxes(); });
    Guarded([&] { faces_.LayoutFaces(); });
    Guarded([&] {
        if (f.cbShowNotes->isChecked()) {
            score_.RedrawScore();
        }
    });
    Guarded([&] { f.pnlBellInfo->SetWidth((f.pnlInfo->width() - f.pnlGroupsInfo->width()) / 2); });
    Guarded([&] { LayoutMarkers(); });
    Guarded([&] { FitRecorderPanel(); });
}

void LayoutController::SplitGroupPanels() {
    const LayoutWidgets& f = widgets_;
    const int h = f.pnlBellsBox->height();
    f.pnlSmall->resize(f.pnlSmall->width(), h / 3);
    f.pnlMiddle->resize(f.pnlMiddle->width(), (h + 2) / 3);
    f.pnlBig->resize(f.pnlBig->width(), h / 3);
    f.pnlBellsBox->Layout()->Realign();
    if (f.cbShowNotes->isChecked()) {
        score_.RedrawScore();
    }
}

void LayoutController::PlaceChimeBoxes() {
    const LayoutWidgets& f = widgets_;
    for (int g = 0; g < 3; ++g) {
        Guarded([&] {
            QComboBox* box = widgets_.GroupChimeBoxes[g];
            if (!box) {
                return;
            }
            box->setGeometry(4, f.GroupPanels[g]->y() + 2, f.pnlCustomSelections->width() - 8, box->height());
        });
    }
    f.cbCommon->resize(f.pnlCommon->width() - 9, f.cbCommon->height());
}

void LayoutController::CreateMarkers() {
    const LayoutWidgets& f = widgets_;
    for (int g = 0; g < 3; ++g) {
        auto* marker = new QWidget(f.ScorePanels[g]);
        marker->setObjectName(QStringLiteral("Marker%1").arg(g));
        marker->setAutoFillBackground(true);
        QPalette palette = marker->palette();
        palette.setColor(QPalette::Window, QColor(0, 0, 255));
        marker->setPalette(palette);
        marker->setGeometry(4, 4, 4, 4);
        marker->show();
        widgets_.Markers[g] = marker;
    }
}

void LayoutController::LayoutMarkers() {
    const LayoutWidgets& f = widgets_;
    for (int g = 0; g < 3; ++g) {
        QWidget* marker = widgets_.Markers[g];
        if (!marker) {
            continue;
        }
        const TPanel* panel = f.ScorePanels[g];
        marker->resize(Round((panel->width() - 8) / 64.0), panel->height() - 8);
    }
    player_.PlaceMarkers();
    for (int g = 2; g >= 0; --g) {
        f.ScorePanels[g]->update();
    }
}

void LayoutController::FitRecorderPanel() {
    const LayoutWidgets& f = widgets_;
    f.pnlRec->setGeometry(f.pnlBellsBox->rect());
    f.pnlRec->Layout()->Realign();
}

void LayoutController::btnTempClick() {
    const LayoutWidgets& f = widgets_;
    f.pnlTemp->move(f.pnlTemp->x(), f.pnlTools->y() - f.pnlTemp->height());
    f.pnlTemp->setVisible(!f.pnlTemp->isVisible());
    if (f.pnlTemp->isVisible()) {
        f.pnlTemp->raise();
    }
}

void LayoutController::RequestPanels(bool tools, bool bells, bool info, bool groups) {
    view_.ShowTools = tools;
    view_.ShowBells = bells;
    view_.ShowInfo = info;
    view_.ShowGroups = groups;
}

void LayoutController::RequestSchematicView(bool on) {
    view_.SchematicView = on;
}

}  // namespace orvane
