// MIDI strokes in a real main window through a JACK server of the test's own: the voice starts
// from the MIDI input's thread, before the window thread has run at all, and the window's part
// of the stroke (current bell, recorder mark, report) follows; strokes that must not ring do
// not, whichever thread decides.

#include "JackMidiSource.h"
#include "app/ui/MainForm.h"
#include "catalogue/ui/BellSetController.h"
#include "recorder/core/RecorderMarks.h"
#include "recorder/ui/RecorderController.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/MidiInput.h"
#include "sound/core/MidiNoteMap.h"
#include "sound/ui/InstrumentController.h"
#include "sound/ui/TfrmKeys.h"
#include "sound/ui/VoiceController.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using namespace orvane;

namespace {

class InstrumentInputThread : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (!midisend::JackServer::Installed()) {
            GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
        }
        ASSERT_TRUE(server.Start("orvane-test-direct-" + std::to_string(::getpid()), 128));
        w = Start();
        ASSERT_TRUE(source.Open("pedals"));
        ASSERT_TRUE(source.WaitConnected(5000)) << "the window's MIDI input never connected";
        ASSERT_TRUE(Serve([&] { return w->instrument->Snapshot().SoundOf(13) >= 0; }))
            << "the sounds of the set were never published to the input thread";
        Engine().SetStartLog(true);
    }
    void TearDown() override {
        w.reset();
        source.Close();
        server.Stop();
    }

    AudioEngine& Engine() { return w->voices->Engine(); }

    template <class F>
    bool Serve(F done, int ms = 5000) {
        const QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }
    // Waits without serving the window thread's events.
    template <class F>
    static bool WaitOnly(F done, int ms = 3000) {
        const QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return done();
    }
    // Sends a note-on and serves the window until it has taken it.
    void Note(int note, int velocity) {
        const int before = w->instrument->NotesReceived();
        source.NoteOn(note, velocity);
        ASSERT_TRUE(Serve([&] { return w->instrument->NotesReceived() > before; }));
    }
    QStringList Sounded() {
        offline->Render(512);
        QStringList names;
        for (const VoiceStart& start : Engine().TakeVoiceStarts()) {
            names.append(QFileInfo(start.path).fileName());
        }
        return names;
    }
    float Peak(const std::vector<float>& out) {
        float peak = 0.0f;
        for (float s : out) {
            peak = std::max(peak, std::abs(s));
        }
        return peak;
    }

    midisend::JackServer server;
    midisend::JackMidiSource source;
    std::unique_ptr<TestWindow> w;
};

}  // namespace

TEST_F(InstrumentInputThread, ANoteSoundsBeforeTheWindowRunsAndTheWindowsPartFollows) {
    w->recorder->btnRecStartClick();
    ASSERT_TRUE(w->Recording && w->KeysEnabled);
    std::vector<std::pair<int, qint64>> struck;
    QObject::connect(w->voices, &VoiceController::BellStruck, w->voices,
                     [&](int bell, qint64 frame) { struck.emplace_back(bell, frame); });
    offline->Render(48000);
    const int received = w->instrument->NotesReceived();
    const auto sent = std::chrono::steady_clock::now();
    source.NoteOn(64, 64);  // bell 13
    // No event of the window thread is served while waiting: the voice starts without it.
    ASSERT_TRUE(WaitOnly([&] { return Engine().Instrument().StrokeCount() == 1; }));
    EXPECT_EQ(w->instrument->NotesReceived(), received);
    const std::int64_t due = offline->FramesRendered();
    const std::vector<float> soft = offline->Render(4800);
    std::vector<VoiceStart> starts = Engine().TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(QFileInfo(starts[0].path).fileName(), "bell13.wav");
    EXPECT_EQ(starts[0].frame, due) << "at the next buffer";
    EXPECT_EQ(w->CurrentBell, 0) << "the window's part has not run yet";

    // The window's part: current bell, the recorder's mark, the report at the note's arrival.
    ASSERT_TRUE(Serve([&] { return w->instrument->NotesReceived() > received; }));
    EXPECT_EQ(w->CurrentBell, 13);
    // The recorder's timer may have moved the mark into the list already, if it was due too.
    const QString mark = RecorderMark(13, w->Bells);
    ASSERT_FALSE(mark.isEmpty());
    EXPECT_TRUE(w->RecordText.contains(mark) || w->form.mRecList->toPlainText().contains(mark))
        << "the stroke left no mark in the recording";
    ASSERT_EQ(struck.size(), 1u);
    EXPECT_EQ(struck[0].first, 13);
    EXPECT_GE(struck[0].second, Engine().FrameAt(sent) - 48) << "reported at its arrival";
    EXPECT_TRUE(Sounded().isEmpty()) << "the window's part sounds nothing again";
    w->recorder->btnRecStopClick();
    w->KeysEnabled = true;

    // Velocity: the same note at 127 sounds as loud as a key; 64 at its curve's gain.
    offline->Render(48000 * 20);
    Note(64, 127);
    const std::vector<float> loud = offline->Render(4800);
    ASSERT_GT(Peak(loud), 0.01f);
    EXPECT_NEAR(Peak(soft) / Peak(loud), MidiNoteMap::VelocityGain(64), 0.02f);
    EXPECT_EQ(Engine().Instrument().StrokeCount(), 2u);
    Engine().TakeVoiceStarts();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(InstrumentInputThread, NotesThatMustNotRingDoNotWhateverThreadDecides) {
    // Bell 0 is not in the set; note 61 has no bell; a note-off.
    Note(36, 127);
    Note(61, 127);
    source.NoteOn(65, 0);
    Note(64, 127);
    EXPECT_EQ(Sounded(), QStringList{"bell13.wav"});
    EXPECT_EQ(Engine().Instrument().StrokeCount(), 1u);
    EXPECT_EQ(w->instrument->Snapshot().SoundOf(0), -1);

    // Bell 0 joins the set: its sound is published at once, and its note rings from the input.
    w->bellSet->ToggleBell(0);
    Sounded();  // the toggle's own strike
    EXPECT_GE(w->instrument->Snapshot().SoundOf(0), 0);
    Note(36, 127);
    EXPECT_EQ(Sounded(), QStringList{"bell00.wav"});
    EXPECT_EQ(Engine().Instrument().StrokeCount(), 2u);
    // And leaves it: no stroke from either thread.
    w->bellSet->ToggleBell(0);
    Note(36, 127);
    EXPECT_TRUE(Sounded().isEmpty());

    // Keys disabled (the recorder's panel): nothing rings.
    w->KeysEnabled = false;
    Note(64, 127);
    EXPECT_TRUE(Sounded().isEmpty());
    w->KeysEnabled = true;

    // The "Keys ..." dialog takes the note instead.
    w->instrument->nKeysClick();
    TfrmKeys* dialog = w->instrument->KeysDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->SelectBell(14);
    Note(70, 127);
    EXPECT_TRUE(Sounded().isEmpty());
    EXPECT_EQ(dialog->Notes().NoteOf(14), 70);
    dialog->accept();
    QCoreApplication::processEvents();
    // The new note rings from the input thread; the old one no longer.
    Note(65, 127);
    EXPECT_TRUE(Sounded().isEmpty());
    Note(70, 127);
    EXPECT_EQ(Sounded(), QStringList{"bell14.wav"});
    EXPECT_EQ(Engine().Instrument().StrokeCount(), 3u);

    // "Stereo" switches the sound folder: the next stroke sounds from the other folder.
    const QString before = w->AppPath.SoundDir;
    w->form.cbStereo->click();
    ASSERT_NE(w->AppPath.SoundDir, before);
    ASSERT_TRUE(Serve([&] { return w->instrument->Snapshot().SoundOf(13) >= 0; }));
    Note(64, 127);
    offline->Render(512);
    const std::vector<VoiceStart> starts = Engine().TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(starts[0].path.startsWith(w->AppPath.SoundDir)) << starts[0].path.toStdString();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
