// Matching a whole pass: 10,000 strokes against a 10,000-step score (the great bells of a
// two-bell chime, a chord every eighth step), fed as a pass feeds it: every step's frame as it
// sounds, the strokes as they are made (errors up to +-80 ms, one note in fifty left out, one
// extra stroke in fifty), Advance after every step, Finish at the end. The figure is the time of
// the whole pass's matching (from the score's text on), median of 21 runs with the minimum and
// maximum; beside it the CPU time of the same work, which other processes on the cores do not
// stretch.

#include "BenchRegistry.h"
#include "BenchStats.h"
#include "practice/core/ExpectedNotes.h"
#include "practice/core/StrokeMatcher.h"

#include <QStringList>
#include <chrono>
#include <cstdio>
#include <random>
#include <time.h>

namespace {

// CPU time of the calling thread, ms: what the matching costs whatever else runs on the cores.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

constexpr int kSteps = 10000;
constexpr int kRate = 48000;
constexpr int kIntervalFrames = 200 * kRate / 1000;

struct Pass {
    QStringList steps;
    std::vector<std::pair<int, std::int64_t>> strokes;  // (bell, frame), in the order made
};

Pass MakePass() {
    Pass pass;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> error(-80 * kRate / 1000, 80 * kRate / 1000);
    std::uniform_int_distribution<int> fifty(0, 49);
    int bellNotes = 0;
    for (int step = 0; step < kSteps; ++step) {
        const bool chord = step % 8 == 7;
        pass.steps.append(chord ? QStringLiteral("b1,b2") : (step % 2 ? QStringLiteral("b2") : QStringLiteral("b1")));
        const std::int64_t t = 1'000'000 + std::int64_t(step) * kIntervalFrames;
        for (int bell = 0; bell < 2; ++bell) {
            if (!chord && bell != step % 2) {
                continue;
            }
            ++bellNotes;
            if (fifty(random) != 0 && bellNotes <= kSteps) {
                pass.strokes.emplace_back(bell, t + error(random));
            }
            if (fifty(random) == 0) {
                pass.strokes.emplace_back(bell, t + kIntervalFrames / 2 + 100);
            }
        }
    }
    pass.strokes.resize(std::min<std::size_t>(pass.strokes.size(), kSteps));
    return pass;
}

void MeasureMatch() {
    const Pass pass = MakePass();
    orvane::BellSet bells;
    bells.inSet[0] = bells.inSet[1] = true;
    bells.group[0] = bells.group[1] = orvane::kGreatGroup;
    std::vector<double> times;
    std::vector<double> cpu;
    int hits = 0;
    for (int run = 0; run < 21; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMs();
        orvane::StrokeMatcher matcher(orvane::ExpectedNotes(pass.steps, {false, false, true}, bells),
                                      orvane::GroupOfBells(bells), kSteps, kRate);
        std::size_t next = 0;
        for (int step = 0; step < kSteps; ++step) {
            const std::int64_t t = 1'000'000 + std::int64_t(step) * kIntervalFrames;
            matcher.StepSounded(step, t, kIntervalFrames);
            while (next < pass.strokes.size() && pass.strokes[next].second < t + kIntervalFrames / 2) {
                matcher.AddStroke(pass.strokes[next].first, pass.strokes[next].second);
                ++next;
            }
            matcher.Advance(t + kIntervalFrames / 2);
        }
        matcher.Finish(1'000'000 + std::int64_t(kSteps + 1) * kIntervalFrames);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(ThreadCpuMs() - cpuStart);
        hits = 0;
        for (const auto& o : matcher.NoteOutcomes()) {
            hits += o.stroke >= 0 ? 1 : 0;
        }
    }
    std::fprintf(stderr, "practice_match: %zu strokes, %d notes matched or attributed\n", pass.strokes.size(), hits);
    bench::PrintSpread("practice_match_ms_10k", times, "ms");
    bench::PrintSpread("practice_match_cpu_ms_10k", cpu, "ms");
}

bench::Register practiceMatch({"practice_match_ms_10k", "practice_match_cpu_ms_10k"}, [] { MeasureMatch(); });

}  // namespace
