#include "catalogue/ui/GroupsController.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/BellSetRules.h"
#include "catalogue/core/DataFileCheck.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/ui/GroupsListener.h"
#include "sound/ui/VoiceController.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidget>
#include <stdexcept>

namespace orvane {

namespace {

const QString& GroupNodeText(int index) {
    static const QString kTexts[3] = {QStringLiteral("Small bells"),
                                      QStringLiteral("Medium-size bells"),
                                      QStringLiteral("Great bells")};
    return kTexts[index];
}

// Pictures of imgBells shown by the nodes.
constexpr int kBellPicture = 0;
constexpr int kGroupPicture = 1;

}  // namespace

GroupsController::GroupsController(GroupsWidgets widgets, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, GroupsListener& listener, VoiceController& voices)
    : widgets_(widgets), data_(data), bells_(bells), reporter_(reporter), listener_(listener), voices_(voices) {}

void GroupsController::Connect() {
    const GroupsWidgets& f = widgets_;
    Wire(f.btnGPrev, &QToolButton::clicked, this, &GroupsController::btnGPrevClick);
    Wire(f.btnGNext, &QToolButton::clicked, this, &GroupsController::btnGNextClick);
    f.tvGroups->setDragDropMode(QAbstractItemView::DragDrop);
    f.tvGroups->setDragEnabled(showsGroups_);
    f.tvGroups->setAcceptDrops(true);
    f.tvGroups->viewport()->setAcceptDrops(true);
    f.tvGroups->viewport()->installEventFilter(this);
}

void GroupsController::FillVariantTable() {
    table_.Fill();
}

void GroupsController::RefreshTotals() {
    SetTotals totals;
    try {
        totals = ComputeTotals(bells_.Bells, *data_.BellData);
    } catch (const std::invalid_argument&) {
        reporter_.ReportBadDataFile(data_.AppPath.DescFile);
        return;
    }
    widgets_.mBellsInfo->setPlainText(TotalsText(totals));
}

void GroupsController::WriteVariantDescription() {
    QPlainTextEdit* memo = widgets_.mDesc;
    memo->clear();
    for (const QString& line : VariantDescription(table_, bells_.Bells.SetSize())) {
        memo->appendPlainText(line);
    }
    memo->moveCursor(QTextCursor::Start);  // the text reads from its first line
}

void GroupsController::AssignGroupsFromVariant(int setSize) {
    const GroupsWidgets& f = widgets_;
    f.btnGPrev->setEnabled(false);
    f.btnGNext->setEnabled(false);
    const VariantButtons buttons =
        orvane::AssignGroupsFromVariant(bells_.Bells, table_, setSize, bells_.VariantIndex);
        bells_.NotifyBellsChanged();
    f.btnGPrev->setEnabled(buttons.previous);
    f.btnGNext->setEnabled(buttons.next);
}

void GroupsController::RebuildGroupsTree(int setSize) {
    QTreeWidget* tree = widgets_.tvGroups;
    const QIcon bellPicture = widgets_.imgBells.value(kBellPicture);
    tree->clear();
    showsGroups_ = setSize >= kGroupedSetSize;
    tree->setDragEnabled(showsGroups_);
    QTreeWidgetItem* groupNodes[3] = {};
    if (showsGroups_) {
        for (int g = 0; g < 3; ++g) {
            groupNodes[g] = new QTreeWidgetItem(tree, QStringList(GroupNodeText(g)));
            groupNodes[g]->setIcon(0, widgets_.imgBells.value(kGroupPicture));
        }
    }
    for (int i = BellSet::kBellCount - 1; i >= 0; --i) {
        if (!bells_.Bells.inSet[i]) {
            continue;
        }
        const QStringList text(data_.BellData->Cell(TBellData::kName, i));
        QTreeWidgetItem* node = nullptr;
        if (!showsGroups_) {
            node = new QTreeWidgetItem(tree, text);
        } else {
            const int code = bells_.Bells.group[i];
            if (code < kSmallGroup || code > kGreatGroup) {
                continue;  // a bell without a group is not shown
            }
            node = new QTreeWidgetItem(groupNodes[code - 1], text);
        }
        node->setIcon(0, bellPicture);
    }
    tree->expandAll();
}

int GroupsController::GroupCount(int code) const {
    return bells_.Bells.GroupCount(code);
}

int GroupsController::NodeGroupIndex(const QTreeWidgetItem* node) const {
    if (!node) {
        return -1;
    }
    const QTreeWidget* tree = widgets_.tvGroups;
    const QTreeWidgetItem* root = node->parent() ? node->parent() : node;
    return tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(root));
}

int GroupsController::GroupNodeCode(const QTreeWidgetItem* node) const {
    if (!showsGroups_ || !node || node->parent()) {
        return kNoGroup;
    }
    const int index = NodeGroupIndex(node);
    return index >= 0 && index < 3 ? index + 1 : kNoGroup;
}

void GroupsController::StepVariant(int delta) {
    const int index = bells_.VariantIndex + delta;
    if (index < 0 || index >= VariantTable::kSlotCount) {
        return;
    }
    bells_.VariantIndex = index;
    listener_.VariantStepped();
}

void GroupsController::btnGPrevClick() {
    StepVariant(-1);
}

void GroupsController::btnGNextClick() {
    StepVariant(+1);
}

void GroupsController::tvGroupsMouseDown(QTreeWidgetItem* node) {
    if (!node) {
        return;
    }
    QTreeWidget* tree = widgets_.tvGroups;
    if (tree->currentItem() != node) {
        tree->setCurrentItem(node);
    }
    dragSource_ = node->text(0);
    const int bell = data_.BellData->FindByName(dragSource_);
    if (bell >= 0) {
        voices_.StrikeBell(bell);
    }
}

bool GroupsController::tvGroupsDragOver(const QTreeWidgetItem* target, bool fromTree) const {
    if (!fromTree) {
        return false;
    }
    const int code = GroupNodeCode(target);
    return code != kNoGroup &&
           DropAccepted(bells_.Bells, data_.BellData->FindByName(dragSource_), code);
}

void GroupsController::tvGroupsDragDrop(const QTreeWidgetItem* target) {
    const int code = GroupNodeCode(target);
    const int bell = data_.BellData->FindByName(dragSource_);
    if (code == kNoGroup || bell < 0 || !bells_.Bells.inSet[bell] ||
        !DropAccepted(bells_.Bells, bell, code)) {
        return;
    }
    bells_.Bells.group[bell] = code;
    bells_.NotifyBellsChanged();
    RebuildGroupsTree(bells_.Bells.SetSize());
    listener_.GroupsRearranged();
}

bool GroupsController::eventFilter(QObject* watched, QEvent* event) {
    QTreeWidget* tree = widgets_.tvGroups;
    if (watched != tree->viewport()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            Guarded([&] { tvGroupsMouseDown(tree->itemAt(pos)); });
            return false;  // the tree still selects the node and may start a drag
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            bool accepted = false;
            const bool fromTree = drag->source() == tree;
            if (event->type() == QEvent::DragEnter) {
                accepted = fromTree;  // moves over the nodes decide
            } else {
                Guarded([&] {
                    accepted = tvGroupsDragOver(tree->itemAt(drag->position().toPoint()), fromTree);
                });
            }
            if (accepted) {
                // A copy, so that the tree never removes the dragged node itself.
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const bool fromTree = drop->source() == tree;
            QTreeWidgetItem* target = tree->itemAt(drop->position().toPoint());
            bool accepted = false;
            Guarded([&] { accepted = tvGroupsDragOver(target, fromTree); });
            if (accepted) {
                // A copy, so that the tree never removes the dragged node itself.
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                Guarded([&] { tvGroupsDragDrop(target); });
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace orvane
