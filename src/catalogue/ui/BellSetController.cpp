#include "catalogue/ui/BellSetController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/ui/TfrmMain.h"
#include "catalogue/core/BellSetRules.h"
#include "catalogue/core/ChimeFilter.h"
#include "catalogue/ui/GroupsController.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "chime/ui/PlayerController.h"
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

BellSetController::BellSetController(TfrmMain& main) : QObject(&main), main_(main) {}

void BellSetController::Connect() {
    MainForm& f = main_.form;
    auto handler = [this](auto method) {
        return [this, method] { Guarded([&] { (this->*method)(); }); };
    };
    connect(f.nSelectAll, &QAction::triggered, this, handler(&BellSetController::SelectAllBells));
    connect(f.btnSelectAll, &QToolButton::clicked, this,
            handler(&BellSetController::SelectAllBells));
    connect(f.nDisselectAll, &QAction::triggered, this,
            handler(&BellSetController::DeselectAllBells));
    connect(f.btnDisselectAll, &QToolButton::clicked, this,
            handler(&BellSetController::DeselectAllBells));
    connect(f.nDelete, &QAction::triggered, this, handler(&BellSetController::nDeleteClick));
    connect(f.mPopup, &QMenu::aboutToShow, this, handler(&BellSetController::mPopupPopup));
    for (QAction* item : main_.AddBellItems) {
        if (!item) {
            continue;
        }
        const int bell = item->data().toInt();
        connect(item, &QAction::triggered, this,
                [this, bell] { Guarded([&] { nAddClick(bell); }); });
    }
    connect(f.tvGroups, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        Guarded([&] {
            QTreeWidget* tree = main_.form.tvGroups;
            main_.form.mPopup->popup(tree->viewport()->mapToGlobal(pos));
        });
    });
}

void BellSetController::CreateGroupChimeBoxes() {
    MainForm& f = main_.form;
    auto* filter = new DigitFilter(f.pnlCustomSelections);
    for (int g = 0; g < 3; ++g) {
        auto* box = new QComboBox(f.pnlCustomSelections);
        box->setObjectName(QStringLiteral("cbGroupChime%1").arg(g));
        box->setProperty("tag", g);
        box->setGeometry(4, 4, f.pnlCustomSelections->width() - 8, 21);
        box->setEnabled(false);
        box->installEventFilter(filter);
        box->show();
        main_.GroupChimeBoxes[g] = box;
    }
}

QString BellSetController::GroupSignature() const {
    return main_.Bells.GroupSignature();
}

int BellSetController::SetSize() const {
    return main_.Bells.SetSize();
}

void BellSetController::ToggleBell(int bell) {
    if (bell < 0 || bell >= BellSet::kBellCount) {
        return;
    }
    const bool added = !main_.Bells.inSet[bell];
    main_.Bells.inSet[bell] = added;
    if (!added) {
        main_.Bells.group[bell] = kNoGroup;
    }
    main_.strip->ShowBellPicture(bell, added);
    main_.VariantIndex = 0;
    main_.groups->RefreshTotals();
    FullRefresh();
    if (added) {
        main_.voices->StrikeBell(bell);
    }
}

void BellSetController::SelectAllBells() {
    main_.Bells.inSet.fill(true);
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        main_.strip->ShowBellPicture(i, true);
    }
    main_.groups->RefreshTotals();
    FullRefresh();
}

void BellSetController::DeselectAllBells() {
    main_.Bells.inSet.fill(false);
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        main_.strip->ShowBellPicture(i, false);
    }
    main_.groups->RefreshTotals();
    FullRefresh();
}

void BellSetController::LoadStoredBellSet() {
    const QString bells = main_.Settings->ReadString(
        QStringLiteral("Serial"), QStringLiteral("Bells"), QStringLiteral("000000000000000"));
    const QString types = main_.Settings->ReadString(
        QStringLiteral("Serial"), QStringLiteral("Types"), QStringLiteral("nnnnnnnnnnnnnnn"));
    for (int bell : ApplyStoredBellSet(main_.Bells, bells, types)) {
        Guarded([&] { main_.strip->ShowBellPicture(bell, true); });
    }
    const int size = SetSize();
    if (HasOversizedGroup(main_.Bells)) {
        main_.groups->AssignGroupsFromVariant(size);  // refuse groups its signature cannot hold
    }
    main_.groups->RebuildGroupsTree(size);
    const int index = main_.VariantIndex;
    const VariantTable& variants = main_.groups->Variants();
    const bool grouped = size >= kGroupedSetSize;
    main_.form.btnGPrev->setEnabled(grouped && index > 0);
    main_.form.btnGNext->setEnabled(grouped && index < VariantTable::kSlotCount - 1 &&
                                    variants.HasVariant(size, index + 1));
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    main_.player->ResetPlayer();
    main_.groups->WriteVariantDescription();
}

void BellSetController::FullRefresh() {
    main_.groups->WriteVariantDescription();
    main_.groups->AssignGroupsFromVariant(SetSize());
    main_.groups->RebuildGroupsTree(SetSize());
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    main_.player->ResetPlayer();
}

void BellSetController::ShortRefresh() {
    main_.groups->WriteVariantDescription();
    main_.groups->RebuildGroupsTree(SetSize());
    RebuildCommonChimeList();
    RebuildGroupChimeLists();
    main_.player->ResetPlayer();
}

void BellSetController::RebuildCommonChimeList() {
    QStringList& playable = main_.SoundData->Playable[TSoundData::kCommon];
    playable.clear();
    const ChimeChoice choice = CommonChimes(*main_.SoundData, GroupSignature());
    FillChimeBox(main_.form.cbCommon, choice);
    playable = choice.files;
}

void BellSetController::RebuildGroupChimeLists() {
    const QString signature = GroupSignature();
    for (int g = 0; g < 3; ++g) {
        QStringList& playable = main_.SoundData->Playable[g];
        playable.clear();
        const ChimeChoice choice = GroupChimes(*main_.SoundData, g, signature);
        FillChimeBox(main_.GroupChimeBoxes[g], choice);
        playable = choice.files;
    }
}

int BellSetController::SelectedGroupIndex() const {
    const QList<QTreeWidgetItem*> selected = main_.form.tvGroups->selectedItems();
    return selected.isEmpty() ? -1 : main_.groups->NodeGroupIndex(selected.first());
}

void BellSetController::mPopupPopup() {
    const auto offers = AddBellOffers(main_.Bells, SelectedGroupIndex());
    for (QAction* item : main_.AddBellItems) {
        if (!item) {
            continue;
        }
        const int bell = item->data().toInt();
        item->setEnabled(bell >= 0 && bell < BellSet::kBellCount && offers[bell]);
    }
}

void BellSetController::nAddClick(int bell) {
    if (bell < 0 || bell >= BellSet::kBellCount || main_.Bells.inSet[bell]) {
        return;
    }
    if (SetSize() < kGroupedSetSize) {
        ToggleBell(bell);
        return;
    }
    const int group = SelectedGroupIndex();
    if (group < 0 || !AddBellOffers(main_.Bells, group)[bell]) {
        return;
    }
    main_.Bells.inSet[bell] = true;
    main_.Bells.group[bell] = group + 1;
    main_.strip->ShowBellPicture(bell, true);
    main_.groups->RefreshTotals();
    ShortRefresh();
}

void BellSetController::nDeleteClick() {
    const QList<QTreeWidgetItem*> selected = main_.form.tvGroups->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QTreeWidgetItem* node = selected.first();
    if (SetSize() >= kGroupedSetSize && !node->parent()) {
        return;  // a group node
    }
    const int bell = main_.BellData->FindByName(node->text(0));
    if (bell < 0 || !main_.Bells.inSet[bell]) {
        return;
    }
    main_.Bells.inSet[bell] = false;
    main_.Bells.group[bell] = kNoGroup;
    main_.strip->ShowBellPicture(bell, false);
    main_.groups->RefreshTotals();
    ShortRefresh();
}

}  // namespace orvane
