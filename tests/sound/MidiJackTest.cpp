// MIDI input against a real JACK server of the test's own (dummy driver, a name of its own):
// sources that appear and go while the input runs, note-ons that reach the receiver, and a
// system without any MIDI.

#include "JackMidiSource.h"
#include "sound/VoiceTestApp.h"
#include "sound/core/MidiInput.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

using namespace orvane;

namespace {

constexpr int kPollMs = 100;

// Serves events until `done` or the deadline; true when done.
template <class F>
bool WaitFor(F done, int ms = 5000) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(5000);
    }
    return true;
}

std::string UniqueName(const char* what) {
    return std::string("orvane-test-") + what + "-" + std::to_string(::getpid());
}

}  // namespace

TEST(MidiJackTest, SourcesThatAppearAreOpenedTheirNotesArriveAndSourcesThatGoAreClosed) {
    if (!midisend::JackServer::Installed()) {
        GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
    }
    test::EnsureGuiApp();
    midisend::JackServer server;
    ASSERT_TRUE(server.Start(UniqueName("hotplug"), 256)) << "the JACK dummy server did not start";

    MidiInput input;
    QList<std::pair<int, int>> notes;
    QObject receiver;
    QObject::connect(&input, &MidiInput::NoteOn, &receiver, [&](int note, int velocity) {
        notes.append({note, velocity});
    });
    input.Start(kPollMs);
    ASSERT_TRUE(WaitFor([&] { return input.PollCount() >= 2; }));
    EXPECT_TRUE(input.OpenPorts().isEmpty()) << "no MIDI source yet";

    // A source appears: the poll opens it and connects to it.
    midisend::JackMidiSource source;
    ASSERT_TRUE(source.Open("keyboard"));
    ASSERT_TRUE(source.WaitConnected(5000)) << "the input never connected to the new source";
    EXPECT_EQ(input.OpenPorts(), QStringList{"JACK: keyboard:out"});

    source.NoteOn(60, 100);
    source.NoteOn(61, 0);  // a note-off in disguise
    source.NoteOff(60);
    source.NoteOn(36, 127);
    ASSERT_TRUE(WaitFor([&] { return notes.size() >= 2; }));
    WaitFor([] { return false; }, 200);  // nothing else may follow
    EXPECT_EQ(notes, (QList<std::pair<int, int>>{{60, 100}, {36, 127}}));

    // The source goes: its port is closed; a second source appears and is opened in turn.
    source.Close();
    ASSERT_TRUE(WaitFor([&] { return input.OpenPorts().isEmpty(); }));
    midisend::JackMidiSource pedals;
    ASSERT_TRUE(pedals.Open("pedals"));
    ASSERT_TRUE(pedals.WaitConnected(5000));
    EXPECT_EQ(input.OpenPorts(), QStringList{"JACK: pedals:out"});

    // The server goes away under the input: its ports close and nothing hangs.
    pedals.Close();
    server.Stop();
    ASSERT_TRUE(WaitFor([&] { return input.OpenPorts().isEmpty(); }));
    const QDeadlineTimer stopping(3000);
    input.Stop();
    EXPECT_FALSE(stopping.hasExpired()) << "Stop must not wait for anything";
}

TEST(MidiJackTest, WithoutAnyMidiTheInputRunsQuietlyWithNoPort) {
    test::EnsureGuiApp();
    // A server name no server has: JACK is asked and answers nothing, nor does it start one.
    ::setenv("JACK_DEFAULT_SERVER", UniqueName("none").c_str(), 1);
    MidiInput input;
    QSignalSpy changes(&input, &MidiInput::PortsChanged);
    const QDeadlineTimer deadline(5000);
    input.Start(kPollMs);
    ASSERT_TRUE(WaitFor([&] { return input.PollCount() >= 3; }));
    input.Stop();
    EXPECT_FALSE(deadline.hasExpired());
    EXPECT_TRUE(input.OpenPorts().isEmpty());
    EXPECT_EQ(changes.count(), 0);
    EXPECT_NE(std::system(("pgrep -f '^jackd .*" + UniqueName("none") + "' >/dev/null").c_str()), 0)
        << "no JACK server may have been started";
}
