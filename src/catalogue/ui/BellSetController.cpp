#include "catalogue/ui/BellSetController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/ProgramData.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/BellSetRules.h"
#include "catalogue/core/ChimeFilter.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "catalogue/ui/GroupsController.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

namespace orvane {

namespace {

// Keeps the digits 1, 2 and 3 from choosing an entry of a group chime list: they only move
// the focus between the lists.
class DigitFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (text == u"1" || text == u"2" || text == u"3") {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

const QString kChimeSelection = QStringLiteral("Chime selection");

void FillChimeBox(QComboBox* box, const ChimeChoice& choice) {
    if (!box) {
        return;
    }
    const QSignalBlocker blocker(box);
    box->setEnabled(false);
    box->clear();
    box->addItems(choice.titles);
    box->setEnabled(!choice.titles.isEmpty());
    box->insertItem(0, kChimeSelection);
    box->setCurrentIndex(0);
}

}  // namespace

BellSetController::BellSetController(BellSetWidgets widgets, ProgramData& data, BellSetModel& bells, StripController& strip, GroupsController& groups, VoiceController& voices, std::function<void()> resetPlayer)
    : widgets_(widgets), data_(data), bells_(bells), strip_(strip), groups_(groups), voices_(voices), resetPlayer_(std::move(resetPlayer)) {}

void BellSetController::VariantStepped() {
    FullRefresh();
    resetPlayer_();
}

void BellSetController::GroupsRearranged() {
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    resetPlayer_();
}

void BellSetController::Connect() {
    const BellSetWidgets& f = widgets_;
    Wire(f.nSelectAll, &QAction::triggered, this, &BellSetController::SelectAllBells);
    Wire(f.btnSelectAll, &QToolButton::clicked, f.nSelectAll, &QAction::trigger);
    Wire(f.nDisselectAll, &QAction::triggered, this, &BellSetController::DeselectAllBells);
    Wire(f.btnDisselectAll, &QToolButton::clicked, f.nDisselectAll, &QAction::trigger);
    Wire(f.nDelete, &QAction::triggered, this, &BellSetController::nDeleteClick);
    Wire(f.mPopup, &QMenu::aboutToShow, this, &BellSetController::mPopupPopup);
    for (QAction* item : widgets_.AddBellItems) {
        if (!item) {
            continue;
        }
        const int bell = item->data().toInt();
        Wire(item, &QAction::triggered, this, [this, bell] { nAddClick(bell); });
    }
    connect(f.tvGroups, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        Guarded([&] {
            QTreeWidget* tree = widgets_.tvGroups;
            widgets_.mPopup->popup(tree->viewport()->mapToGlobal(pos));
        });
    });
}

void BellSetController::CreateGroupChimeBoxes() {
    const BellSetWidgets& f = widgets_;
    auto* filter = new DigitFilter(f.pnlCustomSelections);
    for (int g = 0; g < 3; ++g) {
        auto* box = new QComboBox(f.pnlCustomSelections);
        box->setObjectName(QStringLiteral("cbGroupChime%1").arg(g));
        box->setProperty("tag", g);
        box->setGeometry(4, 4, f.pnlCustomSelections->width() - 8, 21);
        box->setEnabled(false);
        box->installEventFilter(filter);
        box->show();
        widgets_.GroupChimeBoxes[g] = box;
    }
}

QString BellSetController::GroupSignature() const {
    return bells_.Bells.GroupSignature();
}

int BellSetController::SetSize() const {
    return bells_.Bells.SetSize();
}

void BellSetController::ToggleBell(int bell) {
    if (bell < 0 || bell >= BellSet::kBellCount) {
        return;
    }
    const bool added = !bells_.Bells.inSet[bell];
    bells_.Bells.inSet[bell] = added;
    if (!added) {
        bells_.Bells.group[bell] = kNoGroup;
    }
    bells_.NotifyBellsChanged();
    strip_.ShowBellPicture(bell, added);
    bells_.VariantIndex = 0;
    groups_.RefreshTotals();
    FullRefresh();
    if (added) {
        voices_.StrikeBell(bell);
    }
}

void BellSetController::SelectAllBells() {
    bells_.Bells.inSet.fill(true);
    bells_.NotifyBellsChanged();
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        strip_.ShowBellPicture(i, true);
    }
    groups_.RefreshTotals();
    FullRefresh();
    // Every bell can be struck the moment this returns.
    voices_.PrepareBellSet();
}

void BellSetController::DeselectAllBells() {
    bells_.Bells.inSet.fill(false);
    bells_.NotifyBellsChanged();
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        strip_.ShowBellPicture(i, false);
    }
    groups_.RefreshTotals();
    FullRefresh();
}

void BellSetController::LoadStoredBellSet() {
    const QString bells = data_.Settings->ReadString(
        QStringLiteral("Serial"), QStringLiteral("Bells"), QStringLiteral("000000000000000"));
    const QString types = data_.Settings->ReadString(
        QStringLiteral("Serial"), QStringLiteral("Types"), QStringLiteral("nnnnnnnnnnnnnnn"));
    for (int bell : ApplyStoredBellSet(bells_.Bells, bells, types)) {
        Guarded([&] { strip_.ShowBellPicture(bell, true); });
    }
    bells_.NotifyBellsChanged();
    const int size = SetSize();
    if (HasOversizedGroup(bells_.Bells)) {
        groups_.AssignGroupsFromVariant(size);  // refuse groups its signature cannot hold
    }
    groups_.RebuildGroupsTree(size);
    const int index = bells_.VariantIndex;
    const VariantTable& variants = groups_.Variants();
    const bool grouped = size >= kGroupedSetSize;
    widgets_.btnGPrev->setEnabled(grouped && index > 0);
    widgets_.btnGNext->setEnabled(grouped && index < VariantTable::kSlotCount - 1 &&
                                    variants.HasVariant(size, index + 1));
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    resetPlayer_();
    groups_.WriteVariantDescription();
}

void BellSetController::FullRefresh() {
    groups_.WriteVariantDescription();
    groups_.AssignGroupsFromVariant(SetSize());
    groups_.RebuildGroupsTree(SetSize());
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    resetPlayer_();
}

void BellSetController::ShortRefresh() {
    groups_.WriteVariantDescription();
    groups_.RebuildGroupsTree(SetSize());
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    resetPlayer_();
}

void BellSetController::RebuildCommonChimeList() {
    QStringList& playable = data_.SoundData->Playable[TSoundData::kCommon];
    playable.clear();
    const ChimeChoice choice = CommonChimes(*data_.SoundData, GroupSignature());
    FillChimeBox(widgets_.cbCommon, choice);
    playable = choice.files;
}

void BellSetController::RebuildGroupChimeLists() {
    const QString signature = GroupSignature();
    for (int g = 0; g < 3; ++g) {
        QStringList& playable = data_.SoundData->Playable[g];
        playable.clear();
        const ChimeChoice choice = GroupChimes(*data_.SoundData, g, signature);
        FillChimeBox(widgets_.GroupChimeBoxes[g], choice);
        playable = choice.files;
    }
}

int BellSetController::SelectedGroupIndex() const {
    const QList<QTreeWidgetItem*> selected = widgets_.tvGroups->selectedItems();
    return selected.isEmpty() ? -1 : groups_.NodeGroupIndex(selected.first());
}

void BellSetController::mPopupPopup() {
    const auto offers = AddBellOffers(bells_.Bells, SelectedGroupIndex());
    for (QAction* item : widgets_.AddBellItems) {
        if (!item) {
            continue;
        }
        const int bell = item->data().toInt();
        item->setEnabled(bell >= 0 && bell < BellSet::kBellCount && offers[bell]);
    }
}

void BellSetController::nAddClick(int bell) {
    if (bell < 0 || bell >= BellSet::kBellCount || bells_.Bells.inSet[bell]) {
        return;
    }
    if (SetSize() < kGroupedSetSize) {
        ToggleBell(bell);
        return;
    }
    const int group = SelectedGroupIndex();
    if (group < 0 || !AddBellOffers(bells_.Bells, group)[bell]) {
        return;
    }
    bells_.Bells.inSet[bell] = true;
    bells_.Bells.group[bell] = group + 1;
    bells_.NotifyBellsChanged();
    strip_.ShowBellPicture(bell, true);
    groups_.RefreshTotals();
    ShortRefresh();
}

void BellSetController::nDeleteClick() {
    const QList<QTreeWidgetItem*> selected = widgets_.tvGroups->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QTreeWidgetItem* node = selected.first();
    if (SetSize() >= kGroupedSetSize && !node->parent()) {
        return;  // a group node
    }
    const int bell = data_.BellData->FindByName(node->text(0));
    if (bell < 0 || !bells_.Bells.inSet[bell]) {
        return;
    }
    bells_.Bells.inSet[bell] = false;
    bells_.Bells.group[bell] = kNoGroup;
    bells_.NotifyBellsChanged();
    strip_.ShowBellPicture(bell, false);
    groups_.RefreshTotals();
    ShortRefresh();
}

}  // namespace orvane
