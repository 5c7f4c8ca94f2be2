// Key-to-voice latency through the whole program: a real main window on a copy of the program
// folder, its output an offline output driven in real time from its own thread (128-frame
// buffers at 48 kHz, as the sound device is opened). Each of 1,000 presses of a bell key is a
// QKeyEvent sent through the application to the focused widget at a random moment; the hook
// queues the strike call, the call strikes the bell on the UI thread once the key handler has
// returned, and the audio thread starts the voice at the next buffer. The "_loaded" figures are
// measured while two busy-looping processes, started by the benchmark, compete for the cores. The latency is the time from the press to the
// moment the real-time output produced the voice's first frame (the device's own queue comes on
// top of this on real hardware).

#include <pthread.h>
#include <sched.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/BusyLoad.h"
#include "sound/PacedRender.h"
#include "sound/SoundFiles.h"
#include "sound/ui/VoiceController.h"
#include "sound/core/VoiceWorkers.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPresses = 1000;
constexpr int kBufferFrames = 128;
constexpr int kSampleRate = 48000;
constexpr int kMaxBuffers = kSampleRate / kBufferFrames * 300;  // five minutes of output

// Copies the built program folder (sound files linked) into `root`/program.
bool CopyProgram(const QString& root) {
    if (!QFileInfo::exists(QStringLiteral(ORVANE_PROGRAM_DIR "/Data/desc.kli"))) {
        return false;
    }
    bench::CopyProgramFolder(root + QStringLiteral("/program"));
    return true;
}

// Notes the time of the first queued call delivered after Arm(): the strike worker's call.
class CallWatch : public QObject {
public:
    void Arm() { seen_.reset(); }

    std::optional<Clock::time_point> Seen() const { return seen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        (void)watched;
        if (event->type() == orvane::VoiceWorkers::CallEventType() && !seen_) {
            seen_ = Clock::now();
        }
        return false;
    }

private:
    std::optional<Clock::time_point> seen_;
};

// The q-quantile of sorted values.
double Quantile(const std::vector<double>& sorted, double q) {
    const auto index = static_cast<std::size_t>(std::ceil(q * double(sorted.size()))) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void MeasureKeyLatency(const std::string& suffix) {
        QTemporaryDir dir;
        if (!CopyProgram(dir.path())) {
            std::fprintf(stderr,
                         "key_to_voice: build the program folder first (orvane_program_data)\n");
            return;
        }
        // Bell 13 (key L) sounds a 40 ms tone from its temporary copy, so that the 64 strike
        // aliases never all ring at once: the alias draw stays what it is in normal use.
        const QString cache = dir.filePath(QStringLiteral("cache"));
        QDir().mkpath(cache + QStringLiteral("/TempOrvaneStereo"));
        bench::WriteBellSound(cache + QStringLiteral("/TempOrvaneStereo/bell13.wav"), 2, 0.04,
                              660.0);

        orvane::OfflineOutput* offline = nullptr;
        orvane::StartOptions options;
        options.appDir = dir.filePath(QStringLiteral("program"));
        options.cacheDir = cache;
        options.messageBox = [](const QString&, const QString& text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        };
        options.outputFactory = bench::OfflineOutputFactory(offline, kSampleRate, kBufferFrames);
        auto window = std::make_unique<bench::BenchWindow>(options);
        window->show();
        window->activateWindow();
        for (int i = 0; i < 200 && !window->isActiveWindow(); ++i) {
            Wait(5);
        }
        window->form.cbStereo->setFocus();
        if (!window->bellModel.Bells.inSet[13] || offline == nullptr) {
            std::fprintf(stderr, "key_to_voice: bell 13 is not in the set\n");
            return;
        }

        orvane::AudioEngine& engine = window->voices.Engine();
        orvane::VoiceWorkers& workers = window->voices.Workers();
        bench::PacedRender paced(*offline, kMaxBuffers);
        paced.Start();
        engine.SetStartLog(true);

        std::mt19937 random(7);
        // 20 to 100 ms between presses: a fast ringer, and time for the window to repaint what
        // the previous strike changed, as between real strokes.
        std::uniform_int_distribution<int> pause(20, 100);
        CallWatch watch;
        qApp->installEventFilter(&watch);
        std::vector<double> latencies;
        std::vector<double> toCall;
        std::vector<double> callToVoice;
        for (int press = -1; press < kPresses; ++press) {  // press -1 warms the sample cache
            Wait(pause(random));
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                          : QApplication::activeWindow();
            if (target == nullptr) {
                target = window.get();
            }
            QKeyEvent down(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"));
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"));
            watch.Arm();
            const Clock::time_point pressed = Clock::now();
            QApplication::sendEvent(target, &down);
            QApplication::sendEvent(target, &up);
            // The UI thread sleeps in its event loop until the worker's call arrives.
            while (workers.WorkerCount() > 0) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            std::vector<orvane::VoiceStart> starts;
            std::optional<Clock::time_point> sounded;
            const auto giveUp = Clock::now() + std::chrono::milliseconds(500);
            while (!sounded && Clock::now() < giveUp) {
                if (starts.empty()) {
                    starts = engine.TakeVoiceStarts();
                }
                if (!starts.empty()) {
                    sounded = paced.TimeOfFrame(starts.front().frame);
                }
                if (!sounded) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            }
            if (!sounded) {
                std::fprintf(stderr, "key_to_voice: press %d did not sound\n", press);
                continue;
            }
            if (press >= 0) {
                const auto ms = [](Clock::duration d) {
                    return std::chrono::duration<double, std::milli>(d).count();
                };
                latencies.push_back(ms(*sounded - pressed));
                if (const auto call = watch.Seen()) {
                    toCall.push_back(ms(*call - pressed));
                    callToVoice.push_back(ms(*sounded - *call));
                }
            }
        }
        // The strike alone, called on the UI thread without the key hook and its worker.
        std::vector<double> strike;
        std::vector<double> strikeCall;  // the strike call alone, on the UI thread
        for (int i = 0; i < 300; ++i) {
            Wait(2);
            const auto t = Clock::now();
            window->voices.StrikeBell(13);
            strikeCall.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - t).count());
            std::optional<Clock::time_point> sounded;
            std::vector<orvane::VoiceStart> starts;
            while (!sounded) {
                if (starts.empty()) {
                    starts = engine.TakeVoiceStarts();
                }
                if (!starts.empty()) {
                    sounded = paced.TimeOfFrame(starts.front().frame);
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            strike.push_back(std::chrono::duration<double, std::milli>(*sounded - t).count());
        }
        std::sort(strike.begin(), strike.end());
        std::sort(strikeCall.begin(), strikeCall.end());
        paced.Stop();
        qApp->removeEventFilter(&watch);
        window.reset();
        if (latencies.empty() || toCall.empty()) {
            return;
        }
        if (!paced.RealTime()) {
            std::fprintf(stderr,
                         "key_to_voice: the output thread runs without real-time priority\n");
        }
        for (auto* values : {&latencies, &toCall, &callToVoice}) {
            std::sort(values->begin(), values->end());
        }
        bench::Print("key_to_voice_ms_p99" + suffix, Quantile(latencies, 0.99), "ms");
        bench::Print("key_to_voice_ms_median" + suffix, Quantile(latencies, 0.5), "ms");
        bench::Print("key_to_voice_ms_max" + suffix, latencies.back(), "ms");
        // Where the time goes: the hop through the strike worker to the UI thread, then the
        // strike and the wait for the next buffer.
        bench::Print("key_to_call_ms_p99" + suffix, Quantile(toCall, 0.99), "ms");
        bench::Print("key_to_call_ms_median" + suffix, Quantile(toCall, 0.5), "ms");
        bench::Print("call_to_voice_ms_p99" + suffix, Quantile(callToVoice, 0.99), "ms");
        bench::Print("call_to_voice_ms_median" + suffix, Quantile(callToVoice, 0.5), "ms");
        bench::Print("strike_to_voice_ms_median" + suffix, Quantile(strike, 0.5), "ms");
        bench::Print("strike_to_voice_ms_p99" + suffix, Quantile(strike, 0.99), "ms");
        bench::Print("strike_call_ms_median" + suffix, Quantile(strikeCall, 0.5), "ms");
        bench::Print("strike_call_ms_p99" + suffix, Quantile(strikeCall, 0.99), "ms");
}

bench::Register keyLatency(
    {"key_to_voice_ms_p99", "key_to_voice_ms_median", "key_to_voice_ms_max", "key_to_call_ms_p99",
     "key_to_call_ms_median", "call_to_voice_ms_p99", "call_to_voice_ms_median",
     "strike_to_voice_ms_p99", "strike_to_voice_ms_median"},
    [] { MeasureKeyLatency(""); });

bench::Register keyLatencyLoaded(
    {"key_to_voice_ms_p99_loaded", "key_to_voice_ms_median_loaded", "key_to_voice_ms_max_loaded"},
    [] {
        const bench::BusyLoad load(2);
        MeasureKeyLatency("_loaded");
    });

}  // namespace
