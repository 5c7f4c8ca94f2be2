#pragma once

#include <QObject>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

// MIDI input from every MIDI source the system offers: the ALSA sequencer where the system has
// one (/dev/snd/seq) and JACK MIDI while a JACK server runs. Every source found at Start() is
// opened, and a poll on a thread of its own opens the sources that appear later and closes the
// ones that go away. Never starts a JACK server (JACK_NO_START_SERVER, JackNoStartServer), and
// prints nothing when there is neither: the input then simply has no port.
//
// Threads: Start, Stop and OpenPorts run on the owner's thread (the user-interface thread);
// the poll runs on its own thread and never waits for the owner. A note-on first goes to the
// note hook, when one is set, on the MIDI library's thread (for a stroke that must not wait for
// another thread), then is emitted as NoteOn on that same thread: connect it with a queued
// connection (a receiver on the user-interface thread gets it there by default). A note-on with
// velocity 0 is a note-off and reaches neither; nothing else is passed on for any other message.
class MidiInput : public QObject {
    Q_OBJECT

public:
    // Time between two looks for new or vanished sources.
    static constexpr int kDefaultPollMs = 500;

    // Runs on the MIDI library's thread for every note-on (velocity 1 to 127, arrival as NoteOn
    // gives it) before NoteOn is emitted; returns whether it sounded the note, which NoteOn then
    // carries. It must not block, and must stay callable until Stop has returned.
    using NoteHook = std::function<bool(int note, int velocity, qint64 arrival)>;

    explicit MidiInput(QObject* parent = nullptr);
    // Stops the poll and closes every port.
    ~MidiInput() override;

    // Before Start: the hook every note-on goes to first (none by default).
    void SetNoteHook(NoteHook hook) { hook_ = std::move(hook); }

    // Opens every source now (on the poll thread) and then keeps looking every pollMs.
    // Idempotent.
    void Start(int pollMs = kDefaultPollMs);
    // Stops the poll and closes every port; no NoteOn is emitted once it has returned.
    void Stop();

    // Any thread: the names of the open sources ("ALSA: ..." or "JACK: ...").
    QStringList OpenPorts() const;
    // Any thread: polls completed so far (for tests that wait for a look to have happened).
    int PollCount() const;

    // The note-on in a raw message, for the callback and tests: true with the note and a
    // velocity above 0 for status 0x90 to 0x9F; false for everything else (velocity 0 too).
    static bool ParseNoteOn(const unsigned char* bytes, std::size_t size, int& note, int& velocity);

signals:
    // A note-on of any channel, velocity 1 to 127, when it arrived (steady clock, nanoseconds
    // since its epoch), and whether the note hook sounded it. Emitted on the MIDI library's
    // thread, after the hook.
    void NoteOn(int note, int velocity, qint64 arrival, bool sounded);
    // The set of open sources changed. Emitted on the poll thread.
    void PortsChanged(const QStringList& ports);

private:
    struct Port;
    class Jack;

    void PollLoop(int pollMs);
    void Poll();
    void PollAlsa();
    void PollJack();
    // Opens the sources of `names` that are not open yet and closes open ones of `api` that
    // are no longer listed.
    void Reconcile(int api, const QString& prefix, const std::vector<std::string>& names);
    void Publish();
    // On the MIDI library's thread: the hook, then NoteOn.
    void Deliver(int note, int velocity, qint64 arrival);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
    // Poll thread only (and Stop, once the thread has ended).
    std::vector<std::unique_ptr<Port>> ports_;
    std::unique_ptr<Jack> jack_;
    // Set before Start; read on the MIDI library's threads.
    NoteHook hook_;
    // Guarded by mutex_.
    QStringList openNames_;
    int polls_ = 0;
};

}  // namespace orvane
