#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The bell set: adding and removing bells, select and deselect all, the stored set, the full and short refreshes, the chime lists the set can play, and the popup menu of the groups tree.
// Lives on the user-interface thread, owned by the main window.
class BellSetController : public QObject {
    Q_OBJECT

public:
    explicit BellSetController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void CreateGroupChimeBoxes();
    void ToggleBell(int bell);
    void SelectAllBells();
    void DeselectAllBells();
    void LoadStoredBellSet();
    void FullRefresh();
    void ShortRefresh();

private:
    TfrmMain& main_;
};

}  // namespace orvane
