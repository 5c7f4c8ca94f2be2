#pragma once

#include "app/core/ViewRequests.h"

namespace orvane {

class FacesController;
class MainForm;
class PlayerController;
class ScoreController;
class StripController;
class ViewModel;

// The layout of the main window: the four view panels and their menu items, the sequence that
// runs on every resize, the split of the bells box among the three group panels, the chime
// combo boxes, the position markers and the tempo pop-up. Every operation meets controls that
// do not exist yet silently and goes on. It owns the ViewModel: it alone writes it, and the
// settings and the faces ask it through ViewRequests.
class LayoutController final : public ViewRequests {
public:
    LayoutController(MainForm& form, ViewModel& view, StripController& strip, ScoreController& score, FacesController& faces, PlayerController& player)
        : form_(form), view_(view), strip_(strip), score_(score), faces_(faces), player_(player) {}

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
    MainForm& form_;
    ViewModel& view_;
    StripController& strip_;
    ScoreController& score_;
    FacesController& faces_;
    PlayerController& player_;
};

}  // namespace orvane
