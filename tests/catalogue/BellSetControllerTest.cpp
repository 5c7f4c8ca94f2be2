#include "app/core/IniFile.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "sound/ui/VoiceController.h"
#include "support/ChimeRig.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace orvane;

namespace {

// `Base` starts the bell set controllers: on their rig, or in the whole window.
template <class Base>
class BellSetHelpers : public Base {
  protected:
    // Starts the window on a settings file holding only the stored set.
    auto StartWith(const QString& bells, const QString& types) {
        this->WriteSettings({"[Serial]", "Bells=" + bells, "Types=" + types});
        return this->Start();
    }

    template <class W>
    static QString Name(W& w, int bell) { return w.BellData->Cell(TBellData::kName, bell); }

    // The texts of the root nodes, or of the children of the root node with that text.
    template <class W>
    static QStringList Nodes(W& w, const QString& parent = {}) {
        QTreeWidget* tree = w.form.tvGroups;
        QStringList texts;
        if (parent.isEmpty()) {
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                texts.append(tree->topLevelItem(i)->text(0));
            }
            return texts;
        }
        for (QTreeWidgetItem* root : tree->findItems(parent, Qt::MatchExactly)) {
            for (int i = 0; i < root->childCount(); ++i) {
                texts.append(root->child(i)->text(0));
            }
        }
        return texts;
    }

    template <class W>
    static QTreeWidgetItem* Node(W& w, const QString& text) {
        const auto found = w.form.tvGroups->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    template <class W>
    static void Select(W& w, const QString& text) {
        QTreeWidgetItem* node = Node(w, text);
        ASSERT_NE(node, nullptr) << text.toStdString();
        w.form.tvGroups->setCurrentItem(node);
    }

    template <class W>
    static QStringList Offered(W& w) {
        w.bellSet->mPopupPopup();
        QStringList names;
        for (QAction* item : w.AddBellItems) {
            if (item->isEnabled()) {
                names.append(QString::number(item->data().toInt()));
            }
        }
        return names;
    }

    static QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items.append(box->itemText(i));
        }
        return items;
    }
};

using BellSetUi = BellSetHelpers<ChimeRigFixture>;
// Closing the window, and the start-up sequence's messages and steps, need the whole window.
using BellSetWindow = BellSetHelpers<MainWindowFixture>;

}  // namespace

TEST_F(BellSetUi, AnEmptySettingsFileGivesAnEmptySet) {
    WriteSettings({});
    auto w = Start();
    EXPECT_EQ(w->Bells.SetSize(), 0);
    EXPECT_EQ(w->form.mDesc->toPlainText(), "Please, select more than 5 bells");
    EXPECT_EQ(w->form.mBellsInfo->toPlainText(), "Total number of bells: 0\nTotal weight: 0 kg");
    EXPECT_EQ(w->form.tvGroups->topLevelItemCount(), 0);
    EXPECT_FALSE(w->form.cbCommon->isEnabled());
    EXPECT_EQ(Items(w->form.cbCommon), QStringList{"Chime selection"});
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(Items(w->GroupChimeBoxes[g]), QStringList{"Chime selection"});
        EXPECT_TRUE(w->SoundData->Playable[g].isEmpty());
    }
    EXPECT_FALSE(w->form.btnGPrev->isEnabled() || w->form.btnGNext->isEnabled());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(BellSetUi, TheDefaultSetListsTwoBellsWithoutGroupsAndTheirTotals) {
    auto w = Start();  // first start: the default file holds bells 13 and 14
    EXPECT_EQ(w->Bells.StoredBells(), "000000000000011");
    EXPECT_EQ(w->Bells.GroupSignature(), "000");
    EXPECT_EQ(Nodes(*w), (QStringList{Name(*w, 14), Name(*w, 13)}));
    EXPECT_FALSE(w->form.tvGroups->dragEnabled());
    EXPECT_EQ(w->form.mBellsInfo->toPlainText(), "Total number of bells: 2\nTotal weight: 8 kg");
    // Only chimes that need no bell of any group.
    EXPECT_FALSE(w->form.cbCommon->isEnabled());
}

TEST_F(BellSetUi, TogglingTheFifthBellDividesTheSetIntoGroupsAndStrikesIt) {
    auto w = StartWith("000000000001111", "nnnnnnnnnnnnnnn");
    EXPECT_EQ(w->form.tvGroups->topLevelItemCount(), 4);
    const qsizetype voices = w->voices->VoiceList().size();
    w->VariantIndex = 1;
    int changes = 0;  // the lists are refilled without running their change handlers
    for (QComboBox* box : {w->form.cbCommon, w->GroupChimeBoxes[0].data()}) {
        QObject::connect(box, &QComboBox::currentIndexChanged, [&changes] { ++changes; });
    }
    w->bellSet->ToggleBell(10);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(w->VariantIndex, 0);
    EXPECT_GT(w->voices->VoiceList().size(), voices);
    EXPECT_EQ(Nodes(*w), (QStringList{"Small bells", "Medium-size bells", "Great bells"}));
    EXPECT_EQ(Nodes(*w, "Small bells"), (QStringList{Name(*w, 14), Name(*w, 13)}));
    EXPECT_EQ(Nodes(*w, "Medium-size bells"), (QStringList{Name(*w, 12), Name(*w, 11)}));
    EXPECT_EQ(Nodes(*w, "Great bells"), QStringList{Name(*w, 10)});
    EXPECT_TRUE(w->form.tvGroups->dragEnabled());
    EXPECT_EQ(w->form.mDesc->toPlainText(),
              "There are  1 variants of recommended group distributions for 5 bells.");
    EXPECT_EQ(w->form.mBellsInfo->toPlainText(), "Total number of bells: 5\nTotal weight: 41 kg");
    // The chime lists follow the signature "221".
    QStringList common;
    for (int row = 0; row < w->SoundData->RowCount(TSoundData::kCommon); ++row) {
        const QString need = w->SoundData->Cell(TSoundData::kCommon, TSoundData::kRequirement, row);
        if (need[0] <= u'2' && need[1] <= u'2' && need[2] <= u'1') {
            common.append(w->SoundData->Cell(TSoundData::kCommon, TSoundData::kTitle, row));
        }
    }
    ASSERT_FALSE(common.isEmpty());
    EXPECT_EQ(Items(w->form.cbCommon), QStringList{"Chime selection"} + common);
    EXPECT_EQ(w->SoundData->Playable[TSoundData::kCommon].size(), common.size());
    EXPECT_TRUE(w->form.cbCommon->isEnabled());
    EXPECT_EQ(w->form.cbCommon->currentIndex(), 0);
    EXPECT_EQ(w->GroupChimeBoxes[2]->count(), w->SoundData->Playable[2].size() + 1);
    // Taking it out again: a flat list of four, no strike.
    const qsizetype after = w->voices->VoiceList().size();
    w->bellSet->ToggleBell(10);
    EXPECT_EQ(w->form.tvGroups->topLevelItemCount(), 4);
    EXPECT_EQ(w->Bells.group[10], 0);
    EXPECT_EQ(w->voices->VoiceList().size(), after);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(BellSetUi, VariantButtonsStepThroughTheDistributionsOfTheSize) {
    auto w = StartWith("000000001111111", "nnnnnnnnnnnnnnn");
    // A stored set keeps its (missing) groups until the next full refresh.
    EXPECT_EQ(w->Bells.GroupSignature(), "000");
    w->form.btnSelectAll->click();
    EXPECT_EQ(w->Bells.SetSize(), 15);
    w->form.btnDisselectAll->click();
    EXPECT_EQ(w->Bells.SetSize(), 0);
    for (int i = 8; i < 15; ++i) {
        w->Bells.inSet[i] = true;
    }
    w->bellSet->FullRefresh();
    EXPECT_EQ(w->form.mDesc->toPlainText(),
              "There are  2 variants of recommended group distributions for 7 bells.");
    EXPECT_FALSE(w->form.btnGPrev->isEnabled());
    ASSERT_TRUE(w->form.btnGNext->isEnabled());
    w->form.btnGNext->click();
    EXPECT_EQ(w->VariantIndex, 1);
    EXPECT_EQ(w->Bells.GroupSignature(), "241");
    EXPECT_TRUE(w->form.btnGPrev->isEnabled());
    EXPECT_FALSE(w->form.btnGNext->isEnabled());
    w->form.btnGPrev->click();
    EXPECT_EQ(w->Bells.GroupSignature(), "331");
}

TEST_F(BellSetUi, ThePopupOffersOnlyWhatTheSelectedGroupCanTake) {
    auto w = StartWith("000001111100111", "nnnnnmmmmmnnsss");  // 5-9 medium, 12-14 small
    ASSERT_EQ(w->Bells.GroupSignature(), "350");
    Select(*w, "Small bells");
    EXPECT_TRUE(Offered(*w).isEmpty());  // three small bells already
    w->Bells.group[14] = kMiddleGroup;
    w->bellSet->ShortRefresh();
    Select(*w, Name(*w, 13));
    EXPECT_EQ(Offered(*w), QStringList{"11"});
    w->AddBellItems[11]->trigger();  // not struck, into the small group
    EXPECT_TRUE(w->Bells.inSet[11]);
    EXPECT_EQ(w->Bells.group[11], kSmallGroup);
    EXPECT_EQ(Nodes(*w, "Small bells"), (QStringList{Name(*w, 13), Name(*w, 12), Name(*w, 11)}));
    EXPECT_EQ(w->form.mBellsInfo->toPlainText().section('\n', 0, 0), "Total number of bells: 9");
    Select(*w, "Great bells");
    EXPECT_EQ(Offered(*w), (QStringList{"0", "1", "2", "3", "4", "10"}));
    w->bellSet->nAddClick(0);
    EXPECT_EQ(Nodes(*w, "Great bells"), QStringList{Name(*w, 0)});
    // No node selected: the bells out of the set are offered, and choosing one adds nothing.
    w->form.tvGroups->clearSelection();
    EXPECT_EQ(Offered(*w), (QStringList{"1", "2", "3", "4", "10"}));
    w->AddBellItems[1]->trigger();
    EXPECT_FALSE(w->Bells.inSet[1]);
    EXPECT_EQ(w->Bells.SetSize(), 10);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(BellSetUi, WithFewerThanFiveBellsTheMenuAddsByToggling) {
    auto w = Start();
    w->form.tvGroups->clearSelection();
    EXPECT_EQ(Offered(*w).size(), 13);
    w->AddBellItems[12]->trigger();
    EXPECT_TRUE(w->Bells.inSet[12]);
    EXPECT_EQ(Nodes(*w).size(), 3);
    Select(*w, Name(*w, 13));
    w->form.nDelete->trigger();
    EXPECT_EQ(w->Bells.StoredBells(), "000000000000101");
}

TEST_F(BellSetUi, DeleteRemovesABellButNotAGroup) {
    auto w = StartWith("000000000111111", "nnnnnnnnnbmmsss");
    Select(*w, "Small bells");
    w->form.nDelete->trigger();
    EXPECT_EQ(w->Bells.SetSize(), 6);
    Select(*w, Name(*w, 10));
    w->bellSet->nDeleteClick();
    EXPECT_FALSE(w->Bells.inSet[10]);
    EXPECT_EQ(w->Bells.group[10], 0);
    // The groups stay as they were; no distribution is applied.
    EXPECT_EQ(w->Bells.GroupSignature(), "311");
    EXPECT_EQ(Nodes(*w, "Medium-size bells"), QStringList{Name(*w, 11)});
    EXPECT_EQ(Nodes(*w, "Great bells"), QStringList{Name(*w, 9)});
}

TEST_F(BellSetUi, DropsInsideTheTreeKeepTheGroupLimits) {
    auto w = StartWith("000001111100111", "nnnnnmmmmmnnmss");  // 12 medium, 13 and 14 small
    GroupsController& g = *w->groups;
    QTreeWidgetItem* small = Node(*w, "Small bells");
    g.tvGroupsMouseDown(Node(*w, Name(*w, 9)));
    EXPECT_FALSE(g.tvGroupsDragOver(small, true));
    g.tvGroupsDragDrop(small);
    EXPECT_EQ(w->Bells.group[9], kMiddleGroup);
    g.tvGroupsMouseDown(Node(*w, Name(*w, 12)));
    EXPECT_FALSE(g.tvGroupsDragOver(small, false));                 // not from the tree
    EXPECT_FALSE(g.tvGroupsDragOver(Node(*w, Name(*w, 5)), true));  // not a group node
    ASSERT_TRUE(g.tvGroupsDragOver(small, true));
    g.tvGroupsDragDrop(small);
    EXPECT_EQ(w->Bells.group[12], kSmallGroup);
    EXPECT_EQ(Nodes(*w, "Small bells"), (QStringList{Name(*w, 14), Name(*w, 13), Name(*w, 12)}));
    EXPECT_EQ(w->Bells.GroupSignature(), "350");
    g.tvGroupsMouseDown(Node(*w, Name(*w, 5)));
    g.tvGroupsDragDrop(Node(*w, "Great bells"));
    EXPECT_EQ(w->Bells.GroupSignature(), "341");
    EXPECT_EQ(w->form.mDesc->toPlainText(),
              "There are  2 variants of recommended group distributions for 8 bells.");
    // A dragged group node names no bell and changes nothing.
    g.tvGroupsMouseDown(Node(*w, "Great bells"));
    g.tvGroupsDragDrop(Node(*w, "Medium-size bells"));
    EXPECT_EQ(w->Bells.GroupSignature(), "341");
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(BellSetWindow, ClosingStoresZeroAndNForBellsOutOfTheSet) {
    auto w = StartWith("110000000000011", "bmsnnnnnnnnnnss");
    w->bellSet->ToggleBell(1);
    w->Bells.group[5] = kGreatGroup;  // a left-over group of a bell out of the set
    w->Bells.group[13] = kSmallGroup;
    w->close();
    IniFile ini(folder.Path("orvane.ini"));
    EXPECT_EQ(ini.ReadString("Serial", "Bells", ""), "100000000000011");
    EXPECT_EQ(ini.ReadString("Serial", "Types", ""), "nnnnnnnnnnnnnsn");
}

TEST_F(BellSetWindow, AStoredGroupTooLargeForTheSignatureGetsTheRecommendedGroups) {
    auto w = StartWith("111111111110000", "mmmmmmmmmmmnnnn");
    EXPECT_EQ(w->Bells.SetSize(), 11);
    EXPECT_EQ(w->Bells.GroupSignature().size(), 3);
    EXPECT_EQ(w->Bells.GroupSignature(), "074");  // "353" with bells 0 to 10
    EXPECT_EQ(Nodes(*w, "Medium-size bells").size(), 7);
    EXPECT_TRUE(w->form.btnGNext->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BellSetWindow, AWeightThatIsNotAnIntegerEndsTheProgramWithTheFatalMessage) {
    { auto first = Start(); }
    QByteArray desc = ProgramFolder::Read(folder.Path("Data/desc.kli"));
    ASSERT_TRUE(desc.contains(";bell13_off.bmp;5;21;"));
    desc.replace(";bell13_off.bmp;5;21;", ";bell13_off.bmp;5 kg;21;");
    ProgramFolder::Write(folder.Path("Data/desc.kli"), desc);
    messages.clear();
    auto w = Start();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("File " + w->AppPath.DescFile + " not found or corrupt."));
    EXPECT_TRUE(w->Terminating());
    EXPECT_EQ(w->CompletedSteps().size(), 22);
}
