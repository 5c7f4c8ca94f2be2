#pragma once

namespace orvane {

// What the other controllers ask of the owner of the ViewModel (the layout controller), which
// alone writes it: the settings at start-up (the panels) and the faces (the schematic view).
// Each request takes effect before it returns. User-interface thread only.
class ViewRequests {
public:
    // Which of the four view panels are shown.
    virtual void RequestPanels(bool tools, bool bells, bool info, bool groups) = 0;
    // Whether the faces use the schematic view.
    virtual void RequestSchematicView(bool on) = 0;

protected:
    ~ViewRequests() = default;
};

}  // namespace orvane
