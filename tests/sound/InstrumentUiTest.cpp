// The instrument controls in a real main window: MIDI strokes through the key hook's strike at
// their velocity's level, the user's keys from the settings, the "Keys ..." dialog, the key
// labels on the strip and the transport shortcuts.

#include "app/core/IniFile.h"
#include "app/ui/MainForm.h"
#include "app/ui/TImage.h"
#include "recorder/ui/RecorderController.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/KeyMap.h"
#include "sound/core/MidiNoteMap.h"
#include "sound/core/VoiceWorkers.h"
#include "sound/ui/InstrumentController.h"
#include "sound/ui/TfrmKeys.h"
#include "sound/ui/VoiceController.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

using namespace orvane;

namespace {

class InstrumentUi : public MainWindowFixture {
protected:
    void Open(std::unique_ptr<TestWindow> window) {
        w = std::move(window);
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->form.cbStereo->setFocus();
        Engine().SetStartLog(true);
    }

    AudioEngine& Engine() { return w->voices->Engine(); }

    // The main window active again, its focus on "Stereo" (after a dialog).
    void Refocus() {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->form.cbStereo->setFocus();
    }

    void Key(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : w.get(), key);
    }

    // Lets the strike workers run, then the names of the files whose voices started.
    QStringList Sounded() {
        const QDeadlineTimer deadline(5000);
        while (w->voices->Workers().WorkerCount() > 0 && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        offline->Render(512);
        QStringList names;
        for (const VoiceStart& start : Engine().TakeVoiceStarts()) {
            names.append(QFileInfo(start.path).fileName());
        }
        return names;
    }

    // Strikes by MIDI note-on, lets the strike run and returns the peak of the next 100 ms.
    float PeakOfNote(int note, int velocity) {
        offline->Render(48000 * 20);  // what rang before has died away
        Engine().TakeVoiceStarts();
        w->instrument->NoteOn(note, velocity);
        return PeakAfterStrike();
    }
    float PeakOfKey(Qt::Key key) {
        offline->Render(48000 * 20);
        Engine().TakeVoiceStarts();
        Key(key);
        return PeakAfterStrike();
    }
    float PeakAfterStrike() {
        const QDeadlineTimer deadline(5000);
        while (w->voices->Workers().WorkerCount() > 0 && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        const std::vector<float>& out = offline->Render(4800);
        float peak = 0.0f;
        for (float s : out) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_EQ(Engine().TakeVoiceStarts().size(), 1u);
        return peak;
    }

    IniFile Ini() { return IniFile(folder.Path("orvane.ini")); }

    std::unique_ptr<TestWindow> w;
};

}  // namespace

TEST_F(InstrumentUi, ANoteOnStrikesItsBellInTheSetAtTheLevelOfItsVelocity) {
    Open(Start());
    ASSERT_TRUE(w->Bells.inSet[13] && w->Bells.inSet[14]);

    w->instrument->NoteOn(64, 127);  // bell 13
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    EXPECT_EQ(w->CurrentBell, 13) << "a stroke makes its bell current, as a key does";

    w->instrument->NoteOn(36, 127);  // bell 0, not in the set
    w->instrument->NoteOn(65, 0);    // a note-off
    w->instrument->NoteOn(61, 127);  // no bell
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(w->CurrentBell, 13);

    // Velocity 127 sounds as loud as the key; 64 about 12 dB lower.
    const float key = PeakOfKey(Qt::Key_L);
    const float full = PeakOfNote(64, 127);
    const float half = PeakOfNote(64, 64);
    ASSERT_GT(key, 0.01f);
    EXPECT_NEAR(full / key, 1.0f, 0.01f);
    EXPECT_NEAR(half / key, MidiNoteMap::VelocityGain(64), 0.02f);

    // Keys disabled (as the recorder's panel does): no stroke rings.
    w->KeysEnabled = false;
    w->instrument->NoteOn(64, 127);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(InstrumentUi, ANoteOnIsReportedAtTheFrameOfItsArrivalNotOfItsStrike) {
    Open(Start());
    offline->Render(48000);
    std::vector<std::pair<int, qint64>> struck;
    QObject::connect(w->voices, &VoiceController::BellStruck, w->voices,
                     [&](int bell, qint64 frame) { struck.emplace_back(bell, frame); });
    // The note came in 30 ms before the window got to it.
    const auto arrival = std::chrono::steady_clock::now() - std::chrono::milliseconds(30);
    const std::int64_t expected = Engine().FrameAt(arrival);
    w->instrument->NoteOn(64, 127, arrival.time_since_epoch().count());
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    ASSERT_EQ(struck.size(), 1u);
    EXPECT_EQ(struck[0].first, 13);
    EXPECT_EQ(struck[0].second, expected);

    // Without its arrival the stroke is reported at the strike's own time, later.
    w->instrument->NoteOn(64, 127);
    Sounded();
    ASSERT_EQ(struck.size(), 2u);
    EXPECT_GE(struck[1].second - expected, 30 * 48);
}

TEST_F(InstrumentUi, ANoteOnWhileRecordingLeavesTheRecordersMark) {
    Open(Start());
    w->recorder->btnRecStartClick();
    ASSERT_TRUE(w->KeysEnabled);
    ASSERT_TRUE(w->Recording);
    w->instrument->NoteOn(65, 100);  // bell 14
    EXPECT_FALSE(w->RecordText.isEmpty());
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    w->recorder->btnRecStopClick();
}

TEST_F(InstrumentUi, StoredKeysRingTheirBellsAndTheOldKeysNoLonger) {
    WriteSettings({"[Serial]", "Bells=000000000000011", "[Keys]", "Bell13=81"});
    Open(Start());
    Key(Qt::Key_Q);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    Key(Qt::Key_L);
    EXPECT_TRUE(Sounded().isEmpty());
    Key(Qt::Key_Semicolon);  // bell 14 keeps the catalogue's key
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    EXPECT_EQ(w->instrument->Labels().Label(13)->text(), "Q");
    EXPECT_EQ(w->instrument->Labels().Label(14)->text(), ";");
}

// The program shows its window before it starts the instrument controls: until then no label
// exists and the stored keys are not read; started once, the first key already rings the
// stored key's bell and the label shows it.
TEST_F(InstrumentUi, ControlsStartedAfterTheWindowIsShownServeTheFirstKey) {
    WriteSettings({"[Serial]", "Bells=000000000000011", "[Keys]", "Bell13=81"});
    StartOptions options;
    options.appDir = folder.Dir();
    options.cacheDir = folder.CacheDir();
    options.messageBox = [this](const QString&, const QString& text) { messages.append(text); };
    options.outputFactory = [this]() -> std::unique_ptr<AudioOutput> {
        auto output = std::make_unique<OfflineOutput>();
        offline = output.get();
        return output;
    };
    options.instrumentLater = true;
    auto window = std::make_unique<TestWindow>(options);
    window->CreateSecondaryWindows();
    EXPECT_EQ(window->instrument->Labels().Label(13), nullptr);
    window->show();
    window->StartInstrument();
    window->StartInstrument();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Open(std::move(window));
    Key(Qt::Key_Q);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    ASSERT_NE(w->instrument->Labels().Label(13), nullptr);
    EXPECT_EQ(w->instrument->Labels().Label(13)->text(), "Q");
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(InstrumentUi, AShortcutNeverRingsABellAndABellKeyNeverTriggersAShortcut) {
    Open(Start());
    EXPECT_EQ(w->form.nPlay->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w->form.nTempUp->shortcut(), QKeySequence(Qt::Key_F12));
    // The button's hint names the shortcut; its own hint text stays as it is.
    QHelpEvent hint(QEvent::ToolTip, QPoint(2, 2), w->form.btnPlay->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w->form.btnPlay, &hint);
    EXPECT_EQ(QToolTip::text(), w->form.btnPlay->toolTip() + " (F5)");
    QSignalSpy pause(w->form.nPause, &QAction::triggered);
    Key(Qt::Key_F6);
    EXPECT_EQ(pause.count(), 1);
    EXPECT_TRUE(Sounded().isEmpty());
    w.reset();

    // A bell on F6 (a hand-edited settings file): the key rings the bell and pauses nothing.
    WriteSettings({"[Serial]", "Bells=000000000000011", "[Keys]", "Bell13=117"});
    Open(Start());
    EXPECT_TRUE(w->form.nPause->shortcut().isEmpty());
    EXPECT_EQ(w->form.nPlay->shortcut(), QKeySequence(Qt::Key_F5));
    QSignalSpy paused(w->form.nPause, &QAction::triggered);
    Key(Qt::Key_F6);
    EXPECT_EQ(paused.count(), 0);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
}

TEST_F(InstrumentUi, TheKeysDialogAssignsRefusesConflictsAndRestoresTheDefaults) {
    Open(Start());
    w->instrument->nKeysClick();
    TfrmKeys* dialog = w->instrument->KeysDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(w->KeysEnabled) << "keys typed into the dialog ring no bell";
    w->instrument->NoteOn(64, 127);
    EXPECT_TRUE(Sounded().isEmpty()) << "a note played into the dialog rings no bell";

    dialog->SelectBell(14);
    EXPECT_FALSE(dialog->AssignKey('Z'));
    EXPECT_TRUE(dialog->Status().contains("bell 1")) << dialog->Status().toStdString();
    EXPECT_FALSE(dialog->AssignKey(116));
    EXPECT_TRUE(dialog->Status().contains("Play")) << dialog->Status().toStdString();
    EXPECT_FALSE(dialog->AssignKey(32));
    // A key typed into the table, as the user does.
    QTest::keyClick(dialog->findChild<QWidget*>("tblKeys"), Qt::Key_Q);
    EXPECT_EQ(dialog->Keys().StoredKey(14), 'Q');
    w->instrument->NoteOn(70, 100);  // played into the dialog: the note of bell 14
    EXPECT_EQ(dialog->Notes().NoteOf(14), 70);
    dialog->SelectBell(0);
    EXPECT_FALSE(dialog->AssignNote(70));
    dialog->accept();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->KeysEnabled);
    EXPECT_EQ(Ini().ReadInteger("Keys", "Bell14", 0), 'Q');
    EXPECT_EQ(Ini().ReadInteger("Midi", "Bell14", 0), 70);
    EXPECT_EQ(w->instrument->Labels().Label(14)->text(), "Q");
    Refocus();
    Key(Qt::Key_Q);
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    w->instrument->NoteOn(70, 127);
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});

    // "Defaults": the catalogue's keys and the default notes; the sections' bell keys go.
    w->instrument->nKeysClick();
    w->instrument->KeysDialog()->RestoreDefaults();
    w->instrument->KeysDialog()->accept();
    QCoreApplication::processEvents();
    EXPECT_EQ(Ini().ReadString("Keys", "Bell14", "none"), "none");
    EXPECT_EQ(Ini().ReadString("Midi", "Bell14", "none"), "none");
    Refocus();
    Key(Qt::Key_Semicolon);
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});

    // Cancelled, nothing changes.
    w->instrument->nKeysClick();
    w->instrument->KeysDialog()->SelectBell(14);
    w->instrument->KeysDialog()->AssignKey('W');
    w->instrument->KeysDialog()->reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->instrument->Keys().StoredKey(14), KeyMap::kNoKey);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(InstrumentUi, TheStripShowsTheKeysUntilTheViewItemSwitchesThemOff) {
    Open(Start());
    QLabel* label = w->instrument->Labels().Label(0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Z");
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->parentWidget(), static_cast<QWidget*>(w->Strip[0].data()));
    EXPECT_TRUE(w->Strip[0]->rect().contains(label->geometry())) << "inside its picture";
    EXPECT_TRUE(w->form.nViewKeyLabels->isChecked());

    w->form.nViewKeyLabels->trigger();
    EXPECT_FALSE(label->isVisible());
    EXPECT_FALSE(Ini().ReadBool("Keys", "Labels", true));
    w.reset();

    Open(Start());
    EXPECT_FALSE(w->form.nViewKeyLabels->isChecked());
    EXPECT_FALSE(w->instrument->Labels().Label(0)->isVisible());
}

TEST_F(InstrumentUi, WithoutTheNewSectionsTheCloseWritesOnlyTheDocumentedKeys) {
    Open(Start());
    w->close();
    w.reset();
    const QByteArray text = ProgramFolder::Read(folder.Path("orvane.ini"));
    EXPECT_FALSE(text.contains("[Keys]"));
    EXPECT_FALSE(text.contains("[Midi]"));
}
