#pragma once

#include "catalogue/core/VariantTable.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

class QPlainTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvane {

class BadDataFileReporter;
class BellSetModel;
class GroupsListener;
struct ProgramData;
class VoiceController;

// The groups tree and the texts it describes.
// Filled from the main window's form by GroupsWidgetsOf (app/ui/ControllerWidgets.h).
struct GroupsWidgets {
    const QList<QIcon>& imgBells;
    QTreeWidget* tvGroups;  // written here; the bell set reads its selection
    QToolButton* btnGPrev;  // also enabled and disabled by the bell set
    QToolButton* btnGNext;  // also enabled and disabled by the bell set
    QPlainTextEdit* mBellsInfo;
    QPlainTextEdit* mDesc;
};

// The recommended group distributions, the groups tree with its drag and drop, the variant
// buttons, and the totals and description texts.
// Lives on the user-interface thread, owned by the main window.
class GroupsController : public QObject {
    Q_OBJECT

  public:
    GroupsController(GroupsWidgets widgets, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, GroupsListener& listener, VoiceController& voices);

    // Connects the widgets of this subsystem to their handlers and lets the tree take part in
    // drag and drop (its viewport's drag and mouse events come to this controller).
    void Connect();
    void FillVariantTable();
    const VariantTable& Variants() const { return table_; }
    // Writes the number of bells in the set and their total weight into mBellsInfo. A weight
    // that is not an integer ends the program through the fatal data-file message.
    void RefreshTotals();
    void WriteVariantDescription();
    // Assigns the groups of the set from the variant in use and sets the variant buttons.
    void AssignGroupsFromVariant(int setSize);
    // Fills the tree: three group nodes with their bells from 5 bells on, the bells alone
    // below; dragging is allowed only with the group nodes.
    void RebuildGroupsTree(int setSize);
    // Number of bells in the set with the group code (1 to 3).
    int GroupCount(int code) const;

    // The group index (0 small, 1 medium-size, 2 great) a node belongs to: its parent's root
    // index, or its own for a root node; -1 for no node. Meaningful only while the tree shows
    // the group nodes.
    int NodeGroupIndex(const QTreeWidgetItem* node) const;
    // True when the tree shows the three group nodes.
    bool ShowsGroups() const { return showsGroups_; }

    void btnGPrevClick();
    void btnGNextClick();
    // A press on a node: selects it, remembers it as the drag source and strikes its bell.
    // node may be null (a press outside any node does nothing).
    void tvGroupsMouseDown(QTreeWidgetItem* node);
    // True when the remembered node may be dropped on target; fromTree tells whether the drag
    // started in the tree itself.
    bool tvGroupsDragOver(const QTreeWidgetItem* target, bool fromTree) const;
    // Gives the remembered bell the group of target, when the drop is allowed, and rebuilds
    // the tree, the chime lists and the player.
    void tvGroupsDragDrop(const QTreeWidgetItem* target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The group code (1 to 3) of a group node, 0 for any other node.
    int GroupNodeCode(const QTreeWidgetItem* node) const;
    void StepVariant(int delta);

    const GroupsWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    BadDataFileReporter& reporter_;
    GroupsListener& listener_;
    VoiceController& voices_;
    VariantTable table_;
    bool showsGroups_ = false;
    // Text of the node last pressed with the mouse: the drag source.
    QString dragSource_;
};

}  // namespace orvane
