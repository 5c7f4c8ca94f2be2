#pragma once

#include "app/core/ViewRequests.h"

#include <QPointer>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QWidget;

namespace orvane {

class FacesController;
class TPanel;
class PlayerController;
class ScoreController;
class StripController;
class ViewModel;

// The panels the layout arranges, its view menu items and the position markers, which it
// creates and places. The layout writes sizes, positions and visibility only.
// Filled from the main window's form by LayoutWidgetsOf (app/ui/ControllerWidgets.h).
struct LayoutWidgets {
    QAction* nViewPanel;
    QAction* nViewSelectBells;
    QAction* nViewBellsInfo;
    QAction* nViewBellsGroups;
    TPanel* pnlBells;
    TPanel* pnlTools;
    TPanel* pnlVolume;  // shown by the volume controls
    TPanel* pnlTemp;
    TPanel* pnlBellsGroups;
    TPanel* pnlBellsInfoMain;
    TPanel* pnlInfo;
    TPanel* pnlBellInfo;
    TPanel* pnlGroupsInfo;
    TPanel* pnlCommon;
    TPanel* pnlCustomSelections;
    QComboBox* cbCommon;  // resized here; filled by the bell set, selected by the library
    TPanel* pnlBellsBox;
    TPanel* pnlSmall;
    TPanel* pnlMiddle;
    TPanel* pnlBig;
    QCheckBox* cbShowNotes;
    TPanel* pnlRec;  // shown and hidden by the recorder
    std::array<TPanel*, 3> ScorePanels;
    std::array<TPanel*, 3> GroupPanels;
    // Placed here; created and filled by the bell set.
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;
    // Created and placed here; moved by the player, shown and hidden by the score view.
    std::array<QPointer<QWidget>, 3>& Markers;
};

// The layout of the main window: the four view panels and their menu items, the sequence that
// runs on every resize, the split of the bells box among the three group panels, the chime
// combo boxes, the position markers and the tempo pop-up. Every operation meets controls that
// do not exist yet silently and goes on. It owns the ViewModel: it alone writes it, and the
// settings and the faces ask it through ViewRequests.
class LayoutController final : public ViewRequests {
public:
    LayoutController(LayoutWidgets widgets, ViewModel& view, StripController& strip, ScoreController& score, FacesController& faces, PlayerController& player)
        : widgets_(widgets), view_(view), strip_(strip), score_(score), faces_(faces), player_(player) {}

    void ApplyViewPanels();
    void RequestPanels(bool tools, bool bells, bool info, bool groups) override;
    void RequestSchematicView(bool on) override;
    void nViewPanelClick();
    void nViewSelectBellsClick();
    void nViewBellsInfoClick();
    void nViewBellsGroupsClick();
    void FormResize();
    void SplitGroupPanels();
    void PlaceChimeBoxes();
    void CreateMarkers();
    void LayoutMarkers();
    void FitRecorderPanel();
    void btnTempClick();

private:
    const LayoutWidgets widgets_;
    ViewModel& view_;
    StripController& strip_;
    ScoreController& score_;
    FacesController& faces_;
    PlayerController& player_;
};

}  // namespace orvane
