#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The recommended group distributions, the groups tree with its drag and drop, the variant buttons, and the totals and description texts.
// Lives on the user-interface thread, owned by the main window.
class GroupsController : public QObject {
    Q_OBJECT

public:
    explicit GroupsController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void FillVariantTable();
    void RefreshTotals();
    void WriteVariantDescription();
    void AssignGroupsFromVariant(int setSize);
    void RebuildGroupsTree(int setSize);

private:
    TfrmMain& main_;
};

}  // namespace orvane
