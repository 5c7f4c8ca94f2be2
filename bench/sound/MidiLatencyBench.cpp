// MIDI-to-voice latency through the whole program: a JACK server of the benchmark's own (the
// dummy driver at 48 kHz, 64-frame periods, under a name of its own) and a real main window on a
// copy of the program folder with its MIDI input open. Its output is what the program takes
// while a JACK server runs: a client of that server, mixed in the server's cycle. The "_card"
// figures put an offline output driven in real time from its own thread in its place (128-frame
// buffers at 48 kHz, as the sound card is opened without JACK).
// A JACK client of the benchmark sends 500 note-ons of bell 13 (note 64, velocity 100) through
// its MIDI output port, which the program connects to as it connects to every source; each
// goes out at the start of the next JACK period, reaches the program's input, whose thread
// hands the stroke to the engine at once (the window's part follows as a queued call), and
// the audio thread starts the voice at the next buffer. The latency is the time from the send
// to the moment the output asked for the buffer that holds the voice's first frame (the
// device's own queue comes on top of this on real hardware).
//   midi_to_voice_ms_p99, midi_to_voice_ms (median, min, max): from the send.
//   jack_to_voice_ms (median, min, max): from the JACK period that carried the note.
//   send_to_arrival_ms, arrival_to_voice_ms (median, min, max): the two parts of the way, split
//   at the moment the note reached the program's MIDI input (the time its NoteOn carries).
// The "_loaded" figures are measured while two busy processes compete for the cores.

#include <pthread.h>
#include <sched.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "BenchStats.h"
#include "JackMidiSource.h"
#include "sound/BusyLoad.h"
#include "sound/PacedRender.h"
#include "sound/SoundFiles.h"
#include "sound/TimedOutput.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/JackOutput.h"
#include "sound/core/MidiInput.h"
#include "sound/core/OfflineOutput.h"
#include "sound/ui/InstrumentController.h"
#include "sound/ui/VoiceController.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNotes = 500;
constexpr int kBufferFrames = 128;
constexpr int kSampleRate = 48000;
constexpr int kMaxBuffers = kSampleRate / kBufferFrames * 300;


void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double Quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(q * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void MeasureMidiLatency(const std::string& suffix, bool throughJack) {
    if (!midisend::JackServer::Installed()) {
        std::fprintf(stderr, "midi_to_voice: jackd is not installed (Debian package jackd2)\n");
        return;
    }
    midisend::JackServer server;
    if (!server.Start("orvane-bench-" + std::to_string(::getpid()), 64)) {
        std::fprintf(stderr, "midi_to_voice: the JACK dummy server did not start\n");
        return;
    }
    QTemporaryDir dir;
    orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
    // Bell 13 sounds a 40 ms tone from its temporary copy, so that the strike aliases never
    // all ring at once.
    const QString cache = dir.filePath(QStringLiteral("cache"));
    QDir().mkpath(cache + QStringLiteral("/TempOrvaneStereo"));
    bench::WriteBellSound(cache + QStringLiteral("/TempOrvaneStereo/bell13.wav"), 2, 0.04, 660.0);
    options.messageBox = [](const QString&, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    orvane::OfflineOutput* offline = nullptr;
    bench::TimedOutput* timed = nullptr;
    if (throughJack) {
        options.outputFactory = [&timed]() -> std::unique_ptr<orvane::AudioOutput> {
            auto output = std::make_unique<bench::TimedOutput>(
                std::make_unique<orvane::JackOutput>(), std::size_t{kMaxBuffers} * 4);
            timed = output.get();
            return output;
        };
    } else {
        options.outputFactory = bench::OfflineOutputFactory(offline, kSampleRate, kBufferFrames);
    }
    auto window = std::make_unique<bench::BenchWindow>(options);
    window->show();
    if (!window->bellModel.Bells.inSet[13] || (offline == nullptr && timed == nullptr)) {
        std::fprintf(stderr, "midi_to_voice: bell 13 is not in the set, or no output\n");
        return;
    }
    if (throughJack && !window->voices.Engine().HasDevice()) {
        std::fprintf(stderr, "midi_to_voice: the JACK output did not open\n");
        return;
    }
    midisend::JackMidiSource source;
    if (!source.Open("bench")) {
        std::fprintf(stderr, "midi_to_voice: no JACK client\n");
        return;
    }
    // The program's poll finds the new source and connects to it.
    for (int i = 0; i < 200 && !source.WaitConnected(1); ++i) {
        Wait(10);
    }
    if (!source.WaitConnected(1)) {
        std::fprintf(stderr, "midi_to_voice: the program did not connect to the source\n");
        return;
    }

    // When each note reached the program's MIDI input, as its NoteOn reports it.
    std::optional<Clock::time_point> arrived;
    QObject::connect(window->instrument.Midi(), &orvane::MidiInput::NoteOn, window.get(),
                     [&](int, int, qint64 arrival, bool) {
                         arrived = Clock::time_point(Clock::duration(arrival));
                     });
    orvane::AudioEngine& engine = window->voices.Engine();
    std::unique_ptr<bench::PacedRender> paced;
    if (offline) {
        paced = std::make_unique<bench::PacedRender>(*offline, kMaxBuffers);
        paced->Start();
    }
    const auto timeOfFrame = [&](std::int64_t frame) {
        return paced ? paced->TimeOfFrame(frame) : timed->TimeOfFrame(frame);
    };
    engine.SetStartLog(true);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pause(20, 100);
    std::vector<double> fromSend;
    std::vector<double> fromJack;
    std::vector<double> toArrival;
    std::vector<double> fromArrival;
    for (int note = -1; note < kNotes; ++note) {  // note -1 warms the sample cache
        Wait(pause(random));
        engine.TakeVoiceStarts();
        arrived.reset();
        const auto written = source.MessagesWritten();
        const Clock::time_point sent = Clock::now();
        source.NoteOn(64, 100);
        std::optional<Clock::time_point> sounded;
        std::vector<orvane::VoiceStart> starts;
        const auto giveUp = sent + std::chrono::milliseconds(500);
        while ((!sounded || !arrived) && Clock::now() < giveUp) {
            // The UI thread sleeps in its event loop until the note's queued call arrives.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
            if (starts.empty()) {
                starts = engine.TakeVoiceStarts();
            }
            if (!starts.empty()) {
                sounded = timeOfFrame(starts.front().frame);
            }
        }
        source.NoteOff(64);
        if (!sounded) {
            std::fprintf(stderr, "midi_to_voice: note %d did not sound (%s, %s)\n", note,
                         source.MessagesWritten() > written ? "sent in a JACK period"
                                                            : "never sent by JACK",
                         arrived ? "reached the input" : "never reached the input");
            continue;
        }
        if (note >= 0) {
            fromSend.push_back(Ms(*sounded - sent));
            if (source.MessagesWritten() > written) {
                fromJack.push_back(Ms(*sounded - source.LastWritten()));
            }
            if (arrived) {
                toArrival.push_back(Ms(*arrived - sent));
                fromArrival.push_back(Ms(*sounded - *arrived));
            }
        }
    }
    if (paced) {
        paced->Stop();
    }
    window.reset();
    if (fromSend.empty()) {
        return;
    }
    bench::Print("midi_to_voice_ms_p99" + suffix, Quantile(fromSend, 0.99), "ms");
    bench::PrintSpread("midi_to_voice_ms" + suffix, fromSend, "ms");
    bench::PrintSpread("jack_to_voice_ms" + suffix, fromJack, "ms");
    bench::PrintSpread("send_to_arrival_ms" + suffix, toArrival, "ms");
    bench::PrintSpread("arrival_to_voice_ms" + suffix, fromArrival, "ms");
    // The two parts' own tails: the JACK server's delivery, and the program's way from the
    // note's arrival to its voice.
    if (!toArrival.empty()) {
        bench::Print("send_to_arrival_ms_p99" + suffix, Quantile(toArrival, 0.99), "ms");
        bench::Print("arrival_to_voice_ms_p99" + suffix, Quantile(fromArrival, 0.99), "ms");
    }
}

// The figure names with a suffix.
std::vector<std::string> Figures(const std::string& suffix) {
    std::vector<std::string> names;
    for (const char* name : {"midi_to_voice_ms_p99", "midi_to_voice_ms", "jack_to_voice_ms",
                             "send_to_arrival_ms", "arrival_to_voice_ms",
                             "send_to_arrival_ms_p99", "arrival_to_voice_ms_p99"}) {
        names.push_back(name + suffix);
    }
    return names;
}

bench::Register midiLatency(Figures(""), [] { MeasureMidiLatency("", true); });
bench::Register midiLatencyLoaded(Figures("_loaded"), [] {
    const bench::BusyLoad load(2);
    MeasureMidiLatency("_loaded", true);
});
bench::Register midiLatencyCard(Figures("_card"), [] { MeasureMidiLatency("_card", false); });
bench::Register midiLatencyCardLoaded(Figures("_card_loaded"), [] {
    const bench::BusyLoad load(2);
    MeasureMidiLatency("_card_loaded", false);
});

}  // namespace
