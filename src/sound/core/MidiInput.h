#pragma once

#include <QObject>
#include <QStringList>
#include <condition_variable>
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
// the poll runs on its own thread and never waits for the owner. A note-on is emitted as
// NoteOn on the MIDI library's thread: connect it with a queued connection (a receiver on the
// user-interface thread gets it there by default). A note-on with velocity 0 is a note-off and
// emits nothing; nothing else is emitted for any other message.
class MidiInput : public QObject {
    Q_OBJECT

public:
    // Time between two looks for new or vanished sources.
    static constexpr int kDefaultPollMs = 500;

    explicit MidiInput(QObject* parent = nullptr);
    // Stops the poll and closes every port.
    ~MidiInput() override;

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
    // A note-on of any channel, velocity 1 to 127, and when it arrived (steady clock,
    // nanoseconds since its epoch). Emitted on the MIDI library's thread.
    void NoteOn(int note, int velocity, qint64 arrival);
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

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
    // Poll thread only (and Stop, once the thread has ended).
    std::vector<std::unique_ptr<Port>> ports_;
    std::unique_ptr<Jack> jack_;
    // Guarded by mutex_.
    QStringList openNames_;
    int polls_ = 0;
};

}  // namespace orvane
