#pragma once

#include "catalogue/ui/GroupsListener.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QToolButton;
class QTreeWidget;

namespace orvane {

class BellSetModel;
class GroupsController;
class TPanel;
struct ProgramData;
class StripController;
class VoiceController;

// The bell set's widgets. The bell set creates and fills the group chime boxes and fills
// the common chime list; the library selects their entries.
// Filled from the main window's form by BellSetWidgetsOf (app/ui/ControllerWidgets.h).
struct BellSetWidgets {
    QAction* nSelectAll;
    QAction* nDisselectAll;
    QMenu* mPopup;
    QAction* nDelete;
    QToolButton* btnSelectAll;
    QToolButton* btnDisselectAll;
    QTreeWidget* tvGroups;  // filled by the groups controller; its selection is read here
    QToolButton* btnGPrev;  // also enabled and disabled by the groups controller
    QToolButton* btnGNext;  // also enabled and disabled by the groups controller
    TPanel* pnlCustomSelections;
    QComboBox* cbCommon;
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;  // written here (CreateGroupChimeBoxes)
    QList<QPointer<QAction>>& AddBellItems;  // read only; created by the main window
};

// The bell set: adding and removing bells, select and deselect all, the stored set, the full
// and short refreshes, the chime lists the set can play, and the popup menu of the groups
// tree. Every change of the set sends the player back to step 0 through resetPlayer. Lives on
// the user-interface thread, owned by the main window.
class BellSetController : public QObject, public GroupsListener {
    Q_OBJECT

  public:
    BellSetController(BellSetWidgets widgets, ProgramData& data, BellSetModel& bells, StripController& strip, GroupsController& groups, VoiceController& voices, std::function<void()> resetPlayer);

    // Connects the widgets of this subsystem to their handlers. The change signals of the
    // chime lists are not connected here: choosing a chime belongs to the chime library.
    void Connect();
    void CreateGroupChimeBoxes();

    // Adds the bell (0 to 14) when it is out of the set, removes it when it is in; the groups
    // come from the first recommended distribution, and an added bell is struck.
    void ToggleBell(int bell);
    void SelectAllBells();
    void DeselectAllBells();
    // Applies the set stored in [Serial] "Bells" and "Types" over the current set. A stored
    // set that puts 10 or more bells into one group is given the recommended groups instead.
    void LoadStoredBellSet();
    // After a change of the set: description, groups from the variant, tree, chime lists and
    // player. The short refresh keeps the groups as they are.
    void FullRefresh();
    void ShortRefresh();
    void VariantStepped() override;
    void GroupsRearranged() override;

    QString GroupSignature() const;
    int SetSize() const;

    // Refill the chime lists from the set, with their signals blocked; item 0 is
    // "Chime selection" and is selected.
    void RebuildCommonChimeList();
    void RebuildGroupChimeLists();

    // The popup menu of the groups tree: enables the "Add bell" items that fit the selected
    // node when the menu opens; adds the chosen bell; deletes the bell of the selected node.
    void mPopupPopup();
    void nAddClick(int bell);
    void nDeleteClick();

  private:
    // The group index (0 to 2) of the selected tree node, -1 when none is selected.
    int SelectedGroupIndex() const;

    const BellSetWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    StripController& strip_;
    GroupsController& groups_;
    VoiceController& voices_;
    std::function<void()> resetPlayer_;
};

}  // namespace orvane
