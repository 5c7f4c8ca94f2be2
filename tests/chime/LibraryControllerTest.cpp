// Choosing chimes: whole chimes from cbCommon (and resuming one), study chimes played together,
// and the custom chimes of the chime selection dialog with "Play all".

#include "PlayerFixture.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "catalogue/core/TSoundData.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/core/Transport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>
#include <map>
#include <set>

using namespace orvane;

namespace {

// `Base`: the player fixture on the rig, or in the whole window.
template <class Base>
class LibraryOn : public Base {
protected:
    // The files that step of the loaded score sounds with every group box checked.
    template <class W>
    static QStringList ExpectedFiles(W& w, int step) {
        QStringList files;
        for (const QString& mark : w.Channels->Steps.at(step).split(',')) {
            if (mark.size() >= 2 && QStringLiteral("smb").contains(mark[0]) && mark[1].isDigit()) {
                files.append(Base::SoundOf(w, FindGroupBell(mark[0], mark[1].digitValue(), w.Bells)));
            }
        }
        return files;
    }
    static QStringList Paths(const std::vector<VoiceStart>& starts) {
        QStringList paths;
        for (const VoiceStart& s : starts) {
            paths.append(s.path);
        }
        return paths;
    }
    template <class W>
    static std::map<QString, int> RowsBySound(W& w) {
        std::map<QString, int> rows;
        for (int row = 0; row < 15; ++row) {
            rows[Base::SoundOf(w, row)] = row;
        }
        return rows;
    }
    template <class W>
    static void ChooseCommon(W& w, int index) {
        w.form.cbCommon->setCurrentIndex(index);
        w.library->cbCommonChange(index);
    }
    template <class W>
    static void ChooseStudy(W& w, int group, int index) {
        w.GroupChimeBoxes[group]->setCurrentIndex(index);
        w.library->GroupChimeChange(group);
    }

    // Writes a custom chime file and the list of custom chimes.
    template <class W>
    static void WriteCustom(W& w, const QString& entry, const QStringList& lines) {
        ASSERT_TRUE(WriteTextLines(w.AppPath.CustomDir + entry + ".kol", lines));
    }
    template <class W>
    static void WriteCustomList(W& w, const QStringList& entries) {
        ASSERT_TRUE(WriteTextLines(w.AppPath.CustomDir + "list.kli", entries));
    }
    // Opens "Load chimes ..." and runs inDialog while the modal dialog is shown; the dialog is
    // closed afterwards if inDialog left it open. Returns whether the dialog was shown.
    template <class W>
    static bool InDialog(W& w, std::function<void(TfrmSelSound&)> inDialog) {
        bool shown = false;
        QTimer::singleShot(0, qApp, [&] {
            TfrmSelSound& dialog = *w.frmSelSound;
            shown = dialog.isVisible();
            if (shown) {
                inDialog(dialog);
                if (dialog.isVisible()) {
                    dialog.reject();
                }
            }
        });
        w.library->nLoadSoundsClick();
        QCoreApplication::processEvents();
        return shown;
    }
};

using Library = LibraryOn<PlayerFixture>;
// The main window's own caption is the point here.
using LibraryWindow = LibraryOn<WindowPlayerFixture>;

const QString kTitle = "Orvane 1.0 beta 2 - ";

}  // namespace

TEST_F(LibraryWindow, TheSameWholeChimeChosenAgainResumesWhereItWasPaused) {
    auto w = StartPlayer();
    ASSERT_GE(w->form.cbCommon->count(), 3);
    ChooseCommon(*w, 1);
    EXPECT_EQ(w->windowTitle(), kTitle + w->form.cbCommon->itemText(1));
    const int count = static_cast<int>(w->Channels->Steps.size());
    ASSERT_GT(count, 72);
    EXPECT_EQ(w->form.udPage->maximum(), WholeChimePageCount(count));
    EXPECT_TRUE(w->form.udPage->isEnabled());
    EXPECT_EQ(w->form.tbProgress->maximum(), count - 1);
    EXPECT_FALSE(w->player->Playing());

    w->player->btnPlayClick();
    Render(*w, w->Channels->StepInterval * 48);
    for (int i = 1; i <= 70; ++i) {
        TickAndRender(*w);
    }
    w->player->btnPauseClick();
    ASSERT_EQ(w->StepPosition, 70);

    ChooseCommon(*w, 1);
    EXPECT_EQ(w->StepPosition, 70);
    EXPECT_EQ(w->CurrentPage, 1);
    EXPECT_EQ(w->form.udPage->value(), 2);
    EXPECT_EQ(w->form.tbProgress->value(), 70);
    EXPECT_FALSE(w->player->Playing());
    w->player->btnPlayClick();
    EXPECT_TRUE(Render(*w, w->Channels->StepInterval * 48).empty()) << "no step at Play";
    EXPECT_EQ(Paths(TickAndRender(*w)), ExpectedFiles(*w, 71));
    EXPECT_EQ(w->StepPosition, 71);

    // Another chime, then the first again: from the start.
    ChooseCommon(*w, 2);
    ChooseCommon(*w, 1);
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->form.udPage->value(), 1);
    EXPECT_EQ(w->form.tbProgress->value(), 0);

    // "Chime selection": no chime, the default title, the page selector off.
    ChooseCommon(*w, 0);
    EXPECT_TRUE(w->Channels->Steps.isEmpty());
    EXPECT_EQ(w->windowTitle(), TfrmMain::DefaultCaption());
    EXPECT_FALSE(w->form.udPage->isEnabled());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, StudyChimesOfTwoGroupsPlayTogetherAndOneCanBeTakenAway) {
    auto w = StartPlayer();
    const auto rows = RowsBySound(*w);
    ChooseStudy(*w, 0, 1);
    EXPECT_TRUE(w->StudyMode);
    EXPECT_EQ(w->Channels->Steps.size(), 128);
    EXPECT_EQ(w->form.tbProgress->maximum(), 126);
    EXPECT_EQ(w->form.udPage->maximum(), 2);
    ChooseStudy(*w, 2, 1);
    EXPECT_EQ(w->Channels->StepInterval, 144);

    w->player->btnPlayClick();
    std::set<int> heard;
    auto collect = [&](const std::vector<VoiceStart>& starts) {
        for (const VoiceStart& s : starts) {
            heard.insert(rows.at(s.path));
        }
    };
    collect(Render(*w, 144 * 48));
    for (int i = 1; i < 128; ++i) {
        collect(TickAndRender(*w));
    }
    EXPECT_TRUE(heard.count(0) || heard.count(1)) << "great bells";
    EXPECT_TRUE(heard.count(14) || heard.count(13)) << "small bells";

    ChooseStudy(*w, 0, 0);
    EXPECT_TRUE(w->player->Playing()) << "the other group plays on";
    EXPECT_TRUE(w->Channels->SmallSteps.isEmpty());
    heard.clear();
    for (int i = 0; i < 130; ++i) {
        collect(TickAndRender(*w));
    }
    EXPECT_TRUE(w->player->Playing()) << "a study combination starts again after its end";
    ASSERT_FALSE(heard.empty());
    EXPECT_LE(*heard.rbegin(), 4) << "only great bells are left";

    // A whole chime ends the combination.
    ChooseStudy(*w, 1, 1);
    ChooseCommon(*w, 1);
    EXPECT_FALSE(w->player->Playing());
    EXPECT_FALSE(w->StudyMode);
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(w->GroupChimeBoxes[g]->currentIndex(), 0);
    }
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, CustomChimeShowsItsDescriptionAndLoadsWithItsOwnBellSet) {
    auto w = StartPlayer();
    const QString common = w->form.cbCommon->itemText(2);
    WriteCustom(
        *w, "first",
        {"111110000000111", "bbbbbnnnnnnnsss", "Первый", "О первом", "200", "s1", "b1", "s2,b2"});
    WriteCustom(*w, "second",
                {"111111111111111", "bbbbbmmmmmmmsss", common, "Same name", "100", "m1", "m2"});
    WriteCustomList(*w, {"first", "second"});

    QString description;
    EXPECT_TRUE(InDialog(*w, [&](TfrmSelSound& dialog) {
        EXPECT_EQ(w->windowTitle(), "Orvane 1.0 beta 2-Hollin`s school of the bell ringers");
        EXPECT_EQ(dialog.lbSounds->count(), 2);
        EXPECT_EQ(dialog.lbSounds->currentRow(), 0);
        description = dialog.mDesc->toPlainText();
        dialog.btnLoad->click();
    }));
    EXPECT_EQ(description, "О первом\n\nПервый");
    EXPECT_FALSE(w->frmSelSound->isVisible());
    EXPECT_EQ(w->windowTitle(), kTitle + "Первый");
    EXPECT_EQ(w->Bells.StoredBells(), "111110000000111");
    EXPECT_EQ(w->Bells.StoredTypes(), "bbbbbnnnnnnnsss");
    EXPECT_EQ(w->Settings->ReadString("Serial", "Bells", ""), "111110000000111");
    EXPECT_TRUE(w->form.mBellsInfo->toPlainText().startsWith("Total number of bells: 8"));
    EXPECT_EQ(w->Channels->Steps, (QStringList{"s1", "b1", "s2,b2"}));
    EXPECT_EQ(w->Channels->StepInterval, 200);
    EXPECT_EQ(w->form.tbProgress->maximum(), 3);
    EXPECT_TRUE(w->player->Playing());
    EXPECT_EQ(Paths(Render(*w, 200 * 48)), QStringList{SoundOf(*w, 14)});

    // A name that is an entry of cbCommon selects that entry; the chime is the custom one.
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.lbSounds->setCurrentRow(1);
        dialog.btnLoad->click();
    });
    EXPECT_EQ(w->form.cbCommon->currentIndex(), 2);
    EXPECT_EQ(w->Channels->Steps, (QStringList{"m1", "m2"}));
    EXPECT_EQ(w->windowTitle(), kTitle + common);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, PlayAllGoesFromTheLastCustomChimeToTheFirst) {
    auto w = StartPlayer();
    WriteCustom(*w, "a", {"111111111111111", "bbbbbmmmmmmmsss", "A", "", "100", "b1"});
    WriteCustom(*w, "b", {"111111111111111", "bbbbbmmmmmmmsss", "B", "", "100", "s1", "s2"});
    WriteCustomList(*w, {"a", "b"});
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.lbSounds->setCurrentRow(1);
        dialog.cbRound->setChecked(true);
        dialog.btnLoad->click();
    });
    EXPECT_EQ(w->windowTitle(), kTitle + "B");
    EXPECT_EQ(Paths(Render(*w, 100 * 48)), QStringList{SoundOf(*w, 14)});
    EXPECT_EQ(Paths(TickAndRender(*w)), QStringList{SoundOf(*w, 13)});
    // The end of "B": "A" from its step 0, on the same tick, without a pause.
    EXPECT_EQ(Paths(TickAndRender(*w)), QStringList{SoundOf(*w, 0)});
    EXPECT_EQ(w->frmSelSound->lbSounds->currentRow(), 0);
    EXPECT_EQ(w->windowTitle(), kTitle + "A");
    EXPECT_TRUE(w->player->Playing());
    EXPECT_TRUE(w->frmSelSound->cbRound->isChecked());
    EXPECT_EQ(w->StepPosition, 0);
    // And "B" again after "A".
    EXPECT_EQ(Paths(TickAndRender(*w)), QStringList{SoundOf(*w, 14)});
    EXPECT_EQ(w->frmSelSound->lbSounds->currentRow(), 1);
    // Stop ends "Play all".
    w->player->btnStopClick();
    EXPECT_FALSE(w->frmSelSound->cbRound->isChecked());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, PlayAllGoesOnWithTheNextCustomChimeOnTheGridWhileTheWindowIsAway) {
    auto w = StartPlayer();
    WriteCustom(*w, "a", {"111111111111111", "bbbbbmmmmmmmsss", "A", "", "100", "b1"});
    WriteCustom(*w, "b", {"111111111111111", "bbbbbmmmmmmmsss", "B", "", "100", "s1", "s2"});
    WriteCustomList(*w, {"a", "b"});
    const std::int64_t f0 = offline->FramesRendered();
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.lbSounds->setCurrentRow(1);
        dialog.cbRound->setChecked(true);
        dialog.btnLoad->click();
    });
    // "B" and then "A" with no tick in between: "A" was queued before "B" ended.
    const std::int64_t step = 100 * 48;
    const std::int64_t lookAhead = 960;
    auto starts = Render(*w, 3 * step);
    ASSERT_EQ(Paths(starts), (QStringList{SoundOf(*w, 14), SoundOf(*w, 13), SoundOf(*w, 0)}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[i].frame, f0 + lookAhead + i * step) << i;
    }
    EXPECT_EQ(w->windowTitle(), kTitle + "B");
    // The tick shows "A" and queues "B", which follows on the grid.
    w->player->mmTimerTimer();
    EXPECT_EQ(w->windowTitle(), kTitle + "A");
    EXPECT_EQ(w->frmSelSound->lbSounds->currentRow(), 0);
    starts = Render(*w, step);
    ASSERT_EQ(Paths(starts), QStringList{SoundOf(*w, 14)});
    EXPECT_EQ(starts[0].frame, f0 + lookAhead + 3 * step);
    EXPECT_EQ(Engine(*w).Sequencer().LateSteps(), 0u);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

// The next custom chime at another tempo: its step 0 one old interval after the last step (as
// the timer's tick would load it), then its own interval from there, also once the window has
// caught up and shown its tempo.
TEST_F(Library, PlayAllPlaysTheNextCustomChimeOnItsOwnGridFromItsFirstStep) {
    auto w = StartPlayer();
    WriteCustom(*w, "a", {"111111111111111", "bbbbbmmmmmmmsss", "A", "", "200", "b1", "b2", "b3"});
    WriteCustom(*w, "b", {"111111111111111", "bbbbbmmmmmmmsss", "B", "", "100", "s1", "s2"});
    WriteCustomList(*w, {"a", "b"});
    const std::int64_t f0 = offline->FramesRendered() + 960;
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.lbSounds->setCurrentRow(1);
        dialog.cbRound->setChecked(true);
        dialog.btnLoad->click();
    });
    const std::int64_t ms = 48;
    // "B" at 100 ms, then "A" at 200 ms, with the window away.
    auto starts = Render(*w, 960 + 500 * ms + 1);
    ASSERT_EQ(Paths(starts), (QStringList{SoundOf(*w, 14), SoundOf(*w, 13), SoundOf(*w, 0),
                                          SoundOf(*w, 1)}));
    const std::vector<std::int64_t> expected{f0, f0 + 100 * ms, f0 + 200 * ms, f0 + 400 * ms};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(starts[i].frame, expected[i]) << i;
    }
    w->player->mmTimerTimer();
    EXPECT_EQ(w->windowTitle(), kTitle + "A");
    EXPECT_EQ(w->Channels->StepInterval, 200);
    // A's last step on its grid, then "B" at its own interval again.
    starts = Render(*w, 400 * ms);
    ASSERT_EQ(Paths(starts), (QStringList{SoundOf(*w, 2), SoundOf(*w, 14), SoundOf(*w, 13)}));
    EXPECT_EQ(starts[0].frame, f0 + 600 * ms);
    EXPECT_EQ(starts[1].frame, f0 + 800 * ms);
    EXPECT_EQ(starts[2].frame, f0 + 900 * ms);
    EXPECT_EQ(Engine(*w).Sequencer().LateSteps(), 0u);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, StopAfterTheQueuedChimeBeganUnseenPlaysTheShownChimeAgain) {
    auto w = StartPlayer();
    WriteCustom(*w, "a", {"111111111111111", "bbbbbmmmmmmmsss", "A", "", "100", "b1"});
    WriteCustom(*w, "b", {"111111111111111", "bbbbbmmmmmmmsss", "B", "", "100", "s1", "s2"});
    WriteCustomList(*w, {"a", "b"});
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.lbSounds->setCurrentRow(1);
        dialog.cbRound->setChecked(true);
        dialog.btnLoad->click();
    });
    EXPECT_EQ(Paths(Render(*w, 300 * 48)).size(), 3u) << "B, then A without a tick";
    w->player->btnStopClick();
    EXPECT_EQ(w->windowTitle(), kTitle + "B");
    w->player->btnPlayClick();
    EXPECT_EQ(Paths(Render(*w, 100 * 48)), QStringList{SoundOf(*w, 14)}) << "B, as shown";
}

TEST_F(Library, AFileWithoutTheLeadingLinesChangesNothing) {
    auto w = StartPlayer();
    WriteCustom(*w, "plain", {"200;b-", "b1", "b2", "s1", "m1", "b3"});
    WriteCustom(*w, "short", {"111111111111111", "bbbbbmmmmmmmsss", "Short"});
    WriteCustomList(*w, {"plain", "short"});
    const QString bells = w->Bells.StoredBells();
    const QString types = w->Bells.StoredTypes();
    const QByteArray ini = ProgramFolder::Read(w->AppPath.IniFile);
    for (int row = 0; row < 2; ++row) {
        InDialog(*w, [&](TfrmSelSound& dialog) {
            dialog.lbSounds->setCurrentRow(row);
            dialog.btnLoad->click();
            EXPECT_TRUE(dialog.isVisible()) << "nothing was loaded";
        });
        EXPECT_EQ(w->Bells.StoredBells(), bells);
        EXPECT_EQ(w->Bells.StoredTypes(), types);
        EXPECT_EQ(ProgramFolder::Read(w->AppPath.IniFile), ini);
        EXPECT_TRUE(w->Channels->Steps.isEmpty());
        EXPECT_FALSE(w->player->Playing());
    }
}

TEST_F(Library, WithoutTheCustomChimeListTheDialogDoesNotOpen) {
    auto w = StartPlayer();
    ChooseCommon(*w, 1);
    QFile::remove(w->AppPath.CustomDir + "list.kli");
    EXPECT_FALSE(InDialog(*w, [](TfrmSelSound&) {}));
    EXPECT_TRUE(w->Channels->Steps.isEmpty()) << "the player was reset";
    EXPECT_EQ(w->form.cbCommon->currentIndex(), 0);
    EXPECT_EQ(w->windowTitle(), "Orvane 1.0 beta 2-Hollin`s school of the bell ringers");
}

TEST_F(Library, WholeChimesOfTheLibrarySoundTheirScoreOnTheStepGrid) {
    auto w = StartPlayer();
    const int last = w->form.cbCommon->count() - 1;
    for (const int entry : {1, last}) {
        SCOPED_TRACE(entry);
        ChooseCommon(*w, entry);
        const int count = static_cast<int>(w->Channels->Steps.size());
        const std::int64_t interval = std::int64_t(w->Channels->StepInterval) * kRate / 1000;
        ASSERT_GT(count, 64);
        // Every step's bells, at the frame of the step on the grid.
        std::map<std::int64_t, QStringList> expected;
        for (int step = 0; step < count; ++step) {
            const QStringList files = ExpectedFiles(*w, step);
            if (!files.isEmpty()) {
                expected[step * interval + kLookAhead] = files;
                expected[step * interval + kLookAhead].sort();
            }
        }
        ASSERT_GE(expected.size(), 20u);

        const std::int64_t f0 = offline->FramesRendered();
        w->player->btnPlayClick();
        std::map<std::int64_t, QStringList> heard;
        auto collect = [&](const std::vector<VoiceStart>& starts) {
            for (const VoiceStart& s : starts) {
                heard[s.frame - f0].append(s.path);
            }
        };
        collect(Render(*w, interval));
        int ticks = 0;
        while (w->player->Playing() && ticks++ <= count) {
            collect(TickAndRender(*w));
            // The sweeps of finished voices (queued calls), not the real timer's ticks.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        }
        EXPECT_EQ(ticks, count);
        EXPECT_FALSE(w->player->Playing());
        for (auto& [frame, files] : heard) {
            files.sort();  // the bells of one step start together, in no particular order
        }
        EXPECT_EQ(heard, expected);
        for (const auto& [frame, files] : expected) {
            if (heard[frame] != files) {
                ADD_FAILURE() << "step " << frame / interval << " expected "
                              << files.join(' ').toStdString() << " heard "
                              << heard[frame].join(' ').toStdString();
                break;
            }
        }
    }
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Library, ACustomChimeAfterAStudyChimeStopsAtItsEnd) {
    auto w = StartPlayer();
    WriteCustom(*w, "a", {"111111111111111", "bbbbbmmmmmmmsss", "A", "", "100", "b1", "b2"});
    WriteCustom(*w, "bad", {"100", "b1"});
    WriteCustomList(*w, {"a", "bad"});
    ChooseStudy(*w, 0, 1);
    ASSERT_TRUE(w->StudyMode);
    InDialog(*w, [&](TfrmSelSound& dialog) { dialog.btnLoad->click(); });
    EXPECT_FALSE(w->StudyMode);
    w->player->mmTimerTimer();
    w->player->mmTimerTimer();
    EXPECT_FALSE(w->player->Playing()) << "a whole chime ends, it does not loop";

    // "Play all" meeting a file that is no custom chime stops there.
    InDialog(*w, [&](TfrmSelSound& dialog) {
        dialog.cbRound->setChecked(true);
        dialog.btnLoad->click();
    });
    w->player->mmTimerTimer();
    w->player->mmTimerTimer();
    EXPECT_FALSE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->Channels->Steps, (QStringList{"b1", "b2"}));
    EXPECT_EQ(w->windowTitle(), kTitle + "A");
}
