// The sound side of the main window: striking bells by key and mouse, the sound folder, the
// volume controls, a window without a sound device, and the shutdown of the voices.

#include "app/ui/MainForm.h"
#include "app/ui/TImage.h"
#include "app/ui/TSlider.h"
#include "catalogue/core/TBellData.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/KeyHook.h"
#include "sound/core/Mci.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"
#include "sound/core/VoicePlayer.h"
#include "sound/core/VoiceWorkers.h"
#include "sound/core/VolumeControl.h"
#include "sound/ui/VolumeController.h"
#include "support/ChimeRig.h"
#include "support/KeysRig.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <filesystem>

using namespace orvane;

namespace {

// Counts the key presses that reach a widget (after the application's hook).
class KeyProbe : public QObject {
  public:
    int presses = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            ++presses;
        }
        return false;
    }
};

QWidget* TopWindow(TestWindow& w) { return &w; }
QWidget* TopWindow(ChimeRig& w) { return &w.window; }

// `Base` starts `Window`: the whole main window, or the rig of the sound, bell set and chime
// controllers (no key hook).
template <class Base, class Window>
class SoundUiOn : public Base {
  protected:
    // Starts the window with the focus on the "Stereo" check box, which a Space would toggle.
    void Open(std::unique_ptr<Window> window) {
        w = std::move(window);
        TopWindow(*w)->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(TopWindow(*w)));
        w->form.cbStereo->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), w->form.cbStereo);
        w->form.cbStereo->installEventFilter(&probe);
        Engine().SetStartLog(true);
    }

    AudioEngine& Engine() { return w->voices->Engine(); }

    // Presses and releases a key on the focused widget, as the keyboard would.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // Lets the strike workers run their calls, renders a few buffers and returns the names of
    // the files whose voices started, in order.
    QStringList Sounded() {
        const QDeadlineTimer deadline(5000);
        while (w->voices->Workers().WorkerCount() > 0 && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        EXPECT_EQ(w->voices->Workers().WorkerCount(), 0);
        if (this->offline != nullptr) {
            this->offline->Render(512);
        }
        QStringList names;
        for (const VoiceStart& start : Engine().TakeVoiceStarts()) {
            names.append(QFileInfo(start.path).fileName());
            folders.append(QFileInfo(start.path).dir().dirName());
        }
        return names;
    }

    // Changes the key column of one bell in the program folder's catalogue (before the start).
    void SetBellKey(int bell, int key) {
        const QString path = this->folder.Path("Data/desc.kli");
        QList<QByteArray> lines = ProgramFolder::Read(path).split('\n');
        QList<QByteArray> fields = lines[bell].split(';');
        fields[TBellData::kKey] = QByteArray::number(key);
        lines[bell] = fields.join(';');
        ProgramFolder::Write(path, lines.join('\n'));
    }

    // The bell hint as the memo shows it (its line break is one character there).
    QString Hint(int bell) { return w->strip->BellHint(bell).replace("\r\n", "\n"); }

    std::unique_ptr<Window> w;
    KeyProbe probe;
    QStringList folders;
};

// The messages of the whole window, and a window without a sound device.
using SoundUi = SoundUiOn<MainWindowFixture, TestWindow>;
// The voices and the volume on the chime rig.
using SoundAlone = SoundUiOn<ChimeRigFixture, ChimeRig>;
// Keys and the preview reach the bells through the key hook: the rig with the hook.
using SoundKeys = SoundUiOn<ChimeRigFixtureOf<KeysRig>, KeysRig>;

}  // namespace

TEST_F(SoundUi, ABellKeyStrikesItsBellOnlyWhileTheBellIsInTheSet) {
    Open(Start());
    ASSERT_TRUE(w->Bells.inSet[13] && w->Bells.inSet[14]);
    ASSERT_FALSE(w->Bells.inSet[0]);

    Key(Qt::Key_L);  // bell 13
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    EXPECT_EQ(w->CurrentBell, 13);
    EXPECT_EQ(w->form.imgHot->x(), w->Strip[13]->x());
    EXPECT_EQ(w->form.mBellInfo->toPlainText(), Hint(13));
    EXPECT_EQ(probe.presses, 1) << "a bell key also reaches the focused control";
    EXPECT_EQ(folders, QStringList{"TempOrvaneStereo"});

    Key(Qt::Key_Semicolon, Qt::ShiftModifier);  // bell 14, Shift does not matter
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    EXPECT_EQ(w->CurrentBell, 14);

    Key(Qt::Key_Z);  // bell 0, not in the set
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->CurrentBell, 14);
    EXPECT_EQ(probe.presses, 4);  // L, Shift, ;, Z

    // Held down: every repeated press strikes again.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, "l", i > 0);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    EXPECT_EQ(Sounded(), (QStringList{"bell13.wav", "bell13.wav", "bell13.wav"}));
    EXPECT_EQ(w->VoiceList().size(), 5);

    // Held with Alt, the key is left to the menus.
    Key(Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SoundKeys, ArrowsMoveTheCursorWithinTheStripAndNeverReachTheControl) {
    Open(Start());
    ASSERT_EQ(w->CurrentBell, 0);
    w->form.mBellInfo->setPlainText("stale");
    Key(Qt::Key_Left);
    EXPECT_EQ(w->CurrentBell, 0);
    EXPECT_EQ(w->form.mBellInfo->toPlainText(), Hint(0))
        << "the preview is refreshed";

    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(w->CurrentBell, 2);
    EXPECT_EQ(w->form.imgHot->x(), w->Strip[2]->x());
    EXPECT_EQ(w->form.imgHot->width(), w->Strip[2]->width());

    w->CurrentBell = 14;
    w->form.mBellInfo->setPlainText("stale");
    Key(Qt::Key_Right);
    EXPECT_EQ(w->CurrentBell, 14);
    EXPECT_EQ(w->form.mBellInfo->toPlainText(), Hint(14));
    EXPECT_EQ(probe.presses, 0);
    EXPECT_TRUE(Sounded().isEmpty());
}

TEST_F(SoundKeys, TheStrikeSoundsTheBellThatIsCurrentWhenTheWorkerRuns) {
    Open(Start());
    Key(Qt::Key_L);      // bell 13 becomes current, its worker waits for the event loop
    Key(Qt::Key_Right);  // the cursor moves on to bell 14 first
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
}

TEST_F(SoundKeys, OfTwoBellsOnOneKeyTheFirstInTheSetRings) {
    SetBellKey(12, 'L');  // bells 12 and 13 share the key L
    Open(Start());
    ASSERT_FALSE(w->Bells.inSet[12]);
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    w->Bells.inSet[12] = true;
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell12.wav"});
    EXPECT_EQ(w->CurrentBell, 12);
}

TEST_F(SoundKeys, ABellOnTheSpaceBarRingsAfterTheToggleAndTheSpaceIsKeptFromTheControl) {
    SetBellKey(12, 32);
    Open(Start());
    w->Bells.inSet[12] = true;
    w->CurrentBell = 13;
    const bool stereo = w->form.cbStereo->isChecked();
    Key(Qt::Key_Space);
    const QStringList sounded = Sounded();
    ASSERT_FALSE(sounded.isEmpty());
    EXPECT_EQ(sounded.last(), "bell12.wav");
    EXPECT_EQ(w->CurrentBell, 12);
    EXPECT_EQ(probe.presses, 0);
    EXPECT_EQ(w->form.cbStereo->isChecked(), stereo) << "the check box did not see the Space";
}

TEST_F(SoundKeys, NoKeyStrikesWhileKeysAreDisabled) {
    Open(Start());
    w->form.nRec->trigger();  // the recorder panel opens, keys are off until recording starts
    ASSERT_FALSE(w->KeysEnabled);
    w->form.cbStereo->setFocus();
    Key(Qt::Key_L);
    Key(Qt::Key_Right);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->CurrentBell, 0);
    EXPECT_EQ(probe.presses, 2) << "with keys off the hook leaves every key alone";

    w->form.btnRecStart->click();
    ASSERT_TRUE(w->KeysEnabled);
    w->form.cbStereo->setFocus();
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    EXPECT_FALSE(w->RecordText.isEmpty()) << "the strike was handed to the recorder";
}

TEST_F(SoundKeys, TheStereoBoxSwitchesTheFolderOfTheNextVoice) {
    Open(Start());
    ASSERT_TRUE(w->form.cbStereo->isChecked());
    w->form.cbStereo->click();
    EXPECT_EQ(w->AppPath.SoundDir, w->MonoTempDir + "/");
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    w->form.cbStereo->click();
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    EXPECT_EQ(folders, (QStringList{"TempOrvaneMono", "TempOrvaneStereo"}));
}

TEST_F(SoundKeys, ThePreviewSoundsTheCurrentBellInTheSetOrNot) {
    Open(Start());
    w->CurrentBell = 3;
    QTest::mouseClick(w->form.imgPreview, Qt::LeftButton);
    EXPECT_EQ(Sounded(), QStringList{"bell03.wav"});

    QTest::mouseClick(w->Strip[5], Qt::LeftButton);
    EXPECT_EQ(w->CurrentBell, 5);
    EXPECT_EQ(w->form.imgHot->x(), w->Strip[5]->x());
    EXPECT_EQ(w->form.mBellInfo->toPlainText(), Hint(5));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(SoundAlone, VolumeControlsWorkOnTheDeviceLevel) {
    Open(Start());
    MainForm& f = w->form;
    EXPECT_EQ(f.btnVolume->text(), "Volume: 255");  // the engine starts at full gain
    EXPECT_EQ(f.tbVolume->value(), 0);

    f.tbVolume->setValue(5);
    EXPECT_EQ(w->volume->GetVolume(), 250);
    f.btnVolumeUp->click();
    EXPECT_EQ(w->volume->GetVolume(), 255);
    EXPECT_EQ(f.btnVolume->text(), "Volume: 255");
    EXPECT_EQ(f.tbVolume->value(), 0);
    quint32 word = 0;
    ASSERT_TRUE(Engine().ReadVolumeWord(word));
    EXPECT_EQ(word, 65280u * 0x10001u);

    f.tbVolume->setValue(250);
    f.nVolumeDown->trigger();
    EXPECT_EQ(w->volume->GetVolume(), 0);
    EXPECT_EQ(f.btnVolume->text(), "Volume: 0");
    EXPECT_EQ(f.tbVolume->value(), 255);

    f.btnVolumeUp->click();
    f.nVolumeUp->trigger();
    EXPECT_EQ(w->volume->GetVolume(), 20);
    f.tbVolume->setValue(0);  // the bar at its top
    EXPECT_EQ(w->volume->GetVolume(), 255);
    EXPECT_EQ(f.btnVolume->text(), "Volume: 255");

    // A volume mark of a score.
    w->volume->SetLevelFromScore(300);
    EXPECT_EQ(w->volume->GetVolume(), 255);
    w->volume->SetLevelFromScore(50);
    EXPECT_EQ(w->volume->GetVolume(), 50);
    EXPECT_EQ(f.tbVolume->value(), 205);
    EXPECT_EQ(f.btnVolume->text(), "Volume: 50");

    // The pop-up stands on the tools panel and toggles.
    ASSERT_FALSE(f.pnlVolume->isVisible());
    f.btnVolume->click();
    EXPECT_TRUE(f.pnlVolume->isVisible());
    EXPECT_EQ(f.pnlVolume->y() + f.pnlVolume->height(), f.pnlTools->y());
    f.btnVolume->click();
    EXPECT_FALSE(f.pnlVolume->isVisible());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(SoundUi, WithoutASoundDeviceCommandsAreRejectedAndTheProgramGoesOn) {
    StartOptions options;
    options.appDir = folder.Dir();
    options.cacheDir = folder.CacheDir();
    options.messageBox = [this](const QString&, const QString& text) { messages.append(text); };
    options.outputFactory = [] {
        OfflineOutput::Options o;
        o.hasDevice = false;
        return std::make_unique<OfflineOutput>(o);
    };
    auto window = std::make_unique<TestWindow>(options);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Open(std::move(window));

    EXPECT_FALSE(Engine().HasDevice());
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 0");
    Key(Qt::Key_L);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->CurrentBell, 13);
    EXPECT_EQ(w->VoiceList().size(), 1) << "the given-up voice stays listed";
    w->voices->ReleaseVoices();
    EXPECT_TRUE(w->VoiceList().isEmpty()) << "the sweep finds it not playing";

    w->form.btnVolumeUp->click();
    EXPECT_EQ(w->volume->GetVolume(), 0);
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 10");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(SoundKeys, TheSweepClosesFinishedVoicesAndShutdownDropsPendingStrikes) {
    Open(Start());
    // A fixed alias draw: with the clock's, the second strike may draw the first one's alias
    // and close its finished voice, as the alias draw does.
    w->rng.seed(7);
    Key(Qt::Key_Semicolon);
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    Engine().Cache().WaitIdle();  // rendering runs far faster than the background decode
    offline->Render(48000 * 30);  // the small bell has rung out
    Key(Qt::Key_L);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    ASSERT_EQ(w->VoiceList().size(), 2);
    const QString ringing = w->VoiceList().last();

    w->voices->StartReleaseWorker();
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->VoiceList(), QStringList{ringing});

    // Shutdown: a strike whose worker has not run yet is dropped, the ringing voice stays.
    Key(Qt::Key_L);
    EXPECT_EQ(w->voices->Workers().WorkerCount(), 1);
    w->voices->FinalSweep();
    EXPECT_EQ(w->voices->Workers().WorkerCount(), 0);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->VoiceList(), QStringList{ringing});
    Key(Qt::Key_L);  // no worker starts any more
    EXPECT_EQ(w->voices->Workers().WorkerCount(), 0);

    offline = nullptr;
    w.reset();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(SoundKeys, TheWindowGoesWhileAStrikeIsPending) {
    Open(Start());
    Key(Qt::Key_L);
    Key(Qt::Key_Semicolon);
    EXPECT_EQ(w->voices->Workers().WorkerCount(), 2);
    offline = nullptr;
    w.reset();  // FormDestroy stops the workers before the engine goes
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(SoundUi, AfterSelectAllBellsNoStrikeDecodes) {
    Open(Start());
    // As if nothing had been decoded yet when the set is chosen.
    Engine().Cache().WaitIdle();
    Engine().Cache().Clear();
    w->form.nSelectAll->trigger();
    EXPECT_GE(Engine().Cache().EntryCount(), TBellData::kBellCount);
    const int decodes = Engine().Cache().DecodeCount();
    for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
        w->voices->StrikeBell(bell);
    }
    EXPECT_EQ(Engine().Cache().DecodeCount(), decodes) << "a strike decoded its sound";
    offline->Render(512);
    EXPECT_EQ(Engine().TakeVoiceStarts().size(), std::size_t{TBellData::kBellCount});
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SoundUi, AStrikeOfABellWhoseFileChangedDecodesNothingOnTheWindowThread) {
    Open(Start());
    w->form.nSelectAll->trigger();
    w->voices->StrikeBell(3);
    offline->Render(512);
    const std::vector<VoiceStart> first = Engine().TakeVoiceStarts();
    ASSERT_EQ(first.size(), 1u);
    const QString path = first[0].path;
    Engine().Cache().WaitIdle();

    // The bell's file is written anew after the set was chosen and its sound decoded.
    const QByteArray bytes = ProgramFolder::Read(path);
    ASSERT_FALSE(bytes.isEmpty());
    ASSERT_TRUE(QFile::remove(path));  // a link to the built sound is replaced, not written through
    ProgramFolder::Write(path, bytes);
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    std::filesystem::last_write_time(native,
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(5));
    const int decodes = Engine().Cache().CallerDecodeCount();
    const std::int64_t struck = Engine().FramesRendered();
    w->voices->StrikeBell(3);
    EXPECT_EQ(Engine().Cache().CallerDecodeCount(), decodes) << "the window thread decoded";
    offline->Render(512);
    const std::vector<VoiceStart> again = Engine().TakeVoiceStarts();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].path, path);
    EXPECT_EQ(again[0].frame, struck) << "the strike sounds at the next buffer offline";
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
