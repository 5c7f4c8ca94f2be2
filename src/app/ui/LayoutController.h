#pragma once

namespace orvane {

class TfrmMain;

// The layout of the main window: the four view panels and their menu items, the sequence that
// runs on every resize, the split of the bells box among the three group panels, the chime
// combo boxes, the position markers and the tempo pop-up. Every operation meets controls that
// do not exist yet silently and goes on.
class LayoutController {
public:
    explicit LayoutController(TfrmMain& main) : main_(main) {}

    void ApplyViewPanels();
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
    TfrmMain& main_;
};

}  // namespace orvane
