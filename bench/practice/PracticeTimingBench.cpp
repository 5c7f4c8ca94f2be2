// How exactly a learner's stroke is timed: a real main window on a copy of the program folder
// rings a library chime along with the learner (practice pass, great bells practised), its
// output an offline output driven in real time from its own thread (128-frame buffers at
// 48 kHz; each callback reports the time it ran, jitter and all, and the frames are played at
// the steady rate, as a sound card plays them). Key presses of the great bells go through the application's key hook as key events
// whose timestamp is their press time in whole milliseconds of the monotonic clock, as an X
// server stamps them, delivered 1 to 15 ms after the press (the queue of a busy window
// system). The error is the difference between the stroke's frame as the practice records it
// and the frame the output was playing at the press. The figure is the largest error of a run
// of 200 presses, median of 5 runs with the minimum and maximum.

#include <pthread.h>
#include <sched.h>

#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "BenchStats.h"
#include "app/ui/MainForm.h"
#include "practice/ui/PracticeController.h"
#include "sound/PacedRender.h"
#include "practice/ui/TfrmPractice.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/ui/VoiceController.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 48000;
constexpr int kBufferFrames = 128;
constexpr int kMaxBuffers = kRate / kBufferFrames * 600;
constexpr int kPresses = 200;
constexpr int kRuns = 5;


void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void MeasureTiming() {
    std::vector<double> maxima;
    std::vector<double> all;
    std::mt19937 random(5);
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir dir;
        orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
        orvane::OfflineOutput* offline = nullptr;
        options.outputFactory = bench::OfflineOutputFactory(offline, kRate, kBufferFrames);
        options.messageBox = [](const QString&, const QString& text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        };
        auto window = std::make_unique<bench::BenchWindow>(options);
        window->show();
        window->activateWindow();
        bench::LoadChimeOnTwelveBells(*window, QStringLiteral("Chime/common/trezvon_rostov.kol"));
        bench::PacedRender paced(*offline, kMaxBuffers);
        paced.Start();
        Wait(300);  // the output's clock settles
        window->form.cbStereo->setFocus();
        orvane::PracticeController& practice = window->practice;
        practice.nRingAlongClick();
        practice.Panel()->SetGroups({false, false, true});
        practice.Panel()->cbCountIn->setChecked(false);
        practice.SetHistoryPath(dir.filePath(QStringLiteral("history.csv")));
        // Press times in the order pressed; each stroke takes the oldest one not yet struck.
        std::vector<Clock::time_point> presses;
        std::vector<std::pair<Clock::time_point, qint64>> strokes;  // press time, measured frame
        QObject::connect(&window->voices, &orvane::VoiceController::BellStruck, &window->voices,
                         [&](int, qint64 frame) {
                             if (strokes.size() < presses.size()) {
                                 strokes.emplace_back(presses[strokes.size()], frame);
                             }
                         });
        if (!practice.StartPass()) {
            std::fprintf(stderr, "practice_timing: the pass did not start\n");
            return;
        }
        std::uniform_int_distribution<int> gap(20, 60);
        std::uniform_int_distribution<int> delay(1000, 15000);  // microseconds
        for (int press = 0; press < kPresses; ++press) {
            Wait(gap(random));
            const Clock::time_point pressed = Clock::now();
            presses.push_back(pressed);
            const auto deliver = pressed + std::chrono::microseconds(delay(random));
            while (Clock::now() < deliver) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            }
            // Where a real press goes: the focused widget, else the active window.
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
            if (target == nullptr) {
                target = window.get();
            }
            const auto key = press % 2 ? Qt::Key_X : Qt::Key_Z;
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, press % 2 ? QStringLiteral("x") : QStringLiteral("z"));
            down.setTimestamp(quint64(std::chrono::duration_cast<std::chrono::milliseconds>(pressed.time_since_epoch()).count()));
            QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString());
            QApplication::sendEvent(target, &down);
            QApplication::sendEvent(target, &up);
            const auto giveUp = Clock::now() + std::chrono::milliseconds(500);
            while (strokes.size() < presses.size() && Clock::now() < giveUp) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
        }
        Wait(50);
        const int taken = practice.Matcher() ? int(practice.Matcher()->Strokes().size()) : 0;
        practice.FinishPass();
        double runMax = 0.0;
        for (const auto& [time, frame] : strokes) {
            if (const auto truth = paced.FrameAt(time)) {
                const double error = std::abs(double(frame) - *truth) * 1000.0 / kRate;
                runMax = std::max(runMax, error);
                all.push_back(error);
            }
        }
        if (!paced.RealTime()) {
            std::fprintf(stderr, "practice_timing: the output thread runs without real-time priority\n");
        }
        paced.Stop();
        window.reset();
        std::fprintf(stderr, "practice_timing: run %d, %zu presses, %zu strokes timed, %d taken by the pass, max %.3f ms\n",
                     run, presses.size(), strokes.size(), taken, runMax);
        if (!strokes.empty()) {
            maxima.push_back(runMax);
        }
    }
    bench::PrintSpread("practice_timing_error_ms_max", maxima, "ms");
    bench::PrintSpread("practice_timing_error_ms_each", all, "ms");
    std::sort(all.begin(), all.end());
    if (!all.empty()) {
        bench::Print("practice_timing_error_ms_p99", all[std::min(all.size() - 1, all.size() * 99 / 100)], "ms");
    }
}

bench::Register practiceTiming({"practice_timing_error_ms_max", "practice_timing_error_ms_each", "practice_timing_error_ms_p99"},
                               [] { MeasureTiming(); });

}  // namespace
