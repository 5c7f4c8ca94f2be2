#include "sound/core/MidiInput.h"

#include "sound/core/JackSupport.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <cstdlib>
#include <mutex>

namespace orvane {

Q_LOGGING_CATEGORY(lcMidi, "orvane.midi", QtWarningMsg)

namespace {

constexpr char kClientName[] = "Orvane";
constexpr char kPortName[] = "midi_in";

// The MIDI library's and JACK's own messages go to the logging category, never to the terminal.
void RtMidiError(RtMidiError::Type, const std::string& text, void*) {
    qCDebug(lcMidi, "%s", text.c_str());
}

}  // namespace

// One open source: its RtMidi input and the name it was opened under.
struct MidiInput::Port {
    int api = 0;
    std::string source;
    QString name;
    std::unique_ptr<RtMidiIn> in;
};

// Whether a JACK server runs: a client of our own, opened without starting a server, that
// learns of the server's end through its shutdown callback.
class MidiInput::Jack {
public:
    ~Jack() {
        if (client_ && !gone_.load()) {
            jack_client_close(client_);
        }
    }
    // True while a server runs; tries to reach one when none is known.
    bool Running() {
        if (client_ && gone_.load()) {
            jack_client_close(client_);  // the server is gone; this frees what is left
            client_ = nullptr;
            gone_ = false;
        }
        if (!client_ && JackServerMayRun()) {
            jack_status_t status{};
            client_ = jack_client_open("OrvaneWatch", JackNoStartServer, &status);
            if (client_) {
                jack_on_shutdown(client_, &Jack::Shutdown, this);
                jack_activate(client_);
            }
        }
        return client_ != nullptr;
    }
    bool Gone() const { return gone_.load(); }
    // The full names of the MIDI output ports of the server, in its order.
    std::vector<std::string> Sources() const {
        std::vector<std::string> names;
        if (!client_ || gone_.load()) {
            return names;
        }
        if (const char** ports =
                jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput)) {
            for (const char** p = ports; *p; ++p) {
                names.emplace_back(*p);
            }
            jack_free(ports);
        }
        return names;
    }

private:
    static void Shutdown(void* self) { static_cast<Jack*>(self)->gone_ = true; }
    jack_client_t* client_ = nullptr;
    std::atomic<bool> gone_{false};
};

MidiInput::MidiInput(QObject* parent) : QObject(parent) {
    // The MIDI library's own clients must never start a server either. Set on the owner's
    // thread before any client of the input is opened.
    static std::once_flag once;
    std::call_once(once, [] { ::setenv("JACK_NO_START_SERVER", "1", 1); });
    RouteJackMessages();
}

MidiInput::~MidiInput() {
    Stop();
}

void MidiInput::Start(int pollMs) {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) {
        return;
    }
    stopping_ = false;
    thread_ = std::thread([this, pollMs] { PollLoop(pollMs); });
}

void MidiInput::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    // The poll thread has ended: its ports are ours to close. Closing a port stops its callback.
    ports_.clear();
    jack_.reset();
    std::lock_guard lock(mutex_);
    openNames_.clear();
}

QStringList MidiInput::OpenPorts() const {
    std::lock_guard lock(mutex_);
    return openNames_;
}

int MidiInput::PollCount() const {
    std::lock_guard lock(mutex_);
    return polls_;
}

bool MidiInput::ParseNoteOn(const unsigned char* bytes, std::size_t size, int& note,
                            int& velocity) {
    if (size < 3 || (bytes[0] & 0xF0) != 0x90 || bytes[1] > 127 || bytes[2] > 127) {
        return false;
    }
    if (bytes[2] == 0) {
        return false;  // a note-off
    }
    note = bytes[1];
    velocity = bytes[2];
    return true;
}

void MidiInput::Deliver(int note, int velocity, qint64 arrival) {
    bool sounded = false;
    if (hook_) {
        try {
            sounded = hook_(note, velocity, arrival);
        } catch (...) {
            sounded = false;  // the stroke is left to the receiver of NoteOn
        }
    }
    emit NoteOn(note, velocity, arrival, sounded);
}

void MidiInput::PollLoop(int pollMs) {
    for (;;) {
        Poll();
        std::unique_lock lock(mutex_);
        ++polls_;
        if (wake_.wait_for(lock, std::chrono::milliseconds(pollMs), [this] { return stopping_; })) {
            return;
        }
    }
}

void MidiInput::Poll() {
    PollAlsa();
    PollJack();
}

void MidiInput::PollAlsa() {
    // Without the sequencer device the library would complain on the terminal; nothing to do.
    if (!QFileInfo::exists(QStringLiteral("/dev/snd/seq"))) {
        Reconcile(RtMidi::LINUX_ALSA, QStringLiteral("ALSA: "), {});
        return;
    }
    std::vector<std::string> names;
    try {
        RtMidiIn probe(RtMidi::LINUX_ALSA, kClientName);
        probe.setErrorCallback(RtMidiError);
        const unsigned count = probe.getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            names.push_back(probe.getPortName(i));
        }
    } catch (const std::exception& e) {
        qCDebug(lcMidi, "ALSA sequencer: %s", e.what());
    }
    Reconcile(RtMidi::LINUX_ALSA, QStringLiteral("ALSA: "), names);
}

void MidiInput::PollJack() {
    if (!jack_) {
        jack_ = std::make_unique<Jack>();
    }
    if (jack_->Gone()) {
        // The server went away: its ports are gone with it.
        Reconcile(RtMidi::UNIX_JACK, QStringLiteral("JACK: "), {});
    }
    if (!jack_->Running()) {
        Reconcile(RtMidi::UNIX_JACK, QStringLiteral("JACK: "), {});
        return;
    }
    const std::vector<std::string> names = jack_->Sources();
    Reconcile(RtMidi::UNIX_JACK, QStringLiteral("JACK: "), names);
}

void MidiInput::Reconcile(int api, const QString& prefix, const std::vector<std::string>& names) {
    bool changed = false;
    // Close the sources that are gone.
    for (auto it = ports_.begin(); it != ports_.end();) {
        const Port& port = **it;
        const bool listed = std::find(names.begin(), names.end(), port.source) != names.end();
        if (port.api == api && !listed) {
            it = ports_.erase(it);
            changed = true;
        } else {
            ++it;
        }
    }
    // Open the new ones.
    for (const std::string& source : names) {
        const bool open = std::any_of(ports_.begin(), ports_.end(), [&](const auto& p) {
            return p->api == api && p->source == source;
        });
        if (open) {
            continue;
        }
        auto port = std::make_unique<Port>();
        port->api = api;
        port->source = source;
        port->name = prefix + QString::fromStdString(source);
        try {
            port->in = std::make_unique<RtMidiIn>(RtMidi::Api(api), kClientName);
            port->in->setErrorCallback(RtMidiError);
            // The index of the source in this input's own list: the list may have changed.
            const unsigned count = port->in->getPortCount();
            unsigned index = count;
            for (unsigned i = 0; i < count; ++i) {
                if (port->in->getPortName(i) == source) {
                    index = i;
                    break;
                }
            }
            if (index == count) {
                continue;
            }
            port->in->ignoreTypes(true, true, true);
            port->in->setCallback(
                [](double, std::vector<unsigned char>* message, void* self) {
                    int note = 0;
                    int velocity = 0;
                    if (message && ParseNoteOn(message->data(), message->size(), note, velocity)) {
                        const qint64 arrival =
                            std::chrono::steady_clock::now().time_since_epoch().count();
                        static_cast<MidiInput*>(self)->Deliver(note, velocity, arrival);
                    }
                },
                this);
            port->in->openPort(index, kPortName);
            if (!port->in->isPortOpen()) {
                continue;
            }
        } catch (const std::exception& e) {
            qCDebug(lcMidi, "cannot open %s: %s", source.c_str(), e.what());
            continue;
        }
        ports_.push_back(std::move(port));
        changed = true;
    }
    if (changed) {
        Publish();
    }
}

void MidiInput::Publish() {
    QStringList names;
    for (const auto& port : ports_) {
        names.append(port->name);
    }
    {
        std::lock_guard lock(mutex_);
        openNames_ = names;
    }
    emit PortsChanged(names);
}

}  // namespace orvane
