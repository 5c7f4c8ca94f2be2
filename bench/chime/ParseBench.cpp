#include "BenchRegistry.h"
#include "BenchStats.h"
#include "chime/core/ChimeScore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

namespace {

class SilentObserver : public orvane::ChimeScoreObserver {
  public:
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override {}
    void ShowTotalDuration() override {}
};

// About one megabyte of whole-chime steps: bell marks of all groups, rests, volume marks, and
// the shorthand characters that the loader normalises.
QByteArray MakeScore(qsizetype size) {
    std::mt19937 random(1);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    static const char* const kShorthand[] = {"{1~[}2)!3", "s<1>",  "m2*]b1", "s1^%m3", "b2_s3",
                                             "!1&{2",     "m1@b2", "s2$m4",  "(s1)"};
    QByteArray text = "200;b-,m-\r\n";
    while (text.size() < size) {
        const int kind = pick(20);
        if (kind < 3) {
            // a rest
        } else if (kind == 3) {
            text += '#';
        } else if (kind == 4) {
            text += pick(2) ? "v+1.5,b1" : "v-2,s1,m1";
        } else if (kind < 7) {
            text += kShorthand[pick(std::size(kShorthand))];
        } else {
            const int marks = 1 + pick(3);
            for (int i = 0; i < marks; ++i) {
                if (i > 0) {
                    text += ',';
                }
                text += "smb"[pick(3)];
                text += char('1' + pick(5));
            }
        }
        text += "\r\n";
    }
    return text;
}

// Processor time of this process (all its threads), in milliseconds: unlike the wall clock it
// does not count the time that other processes take the processor away.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return 1e3 * double(t.tv_sec) + double(t.tv_nsec) / 1e6;
}

// Parses a generated whole chime of about `size` bytes `runs` times; prints the wall time under
// wallName (when given) and the processor time under cpuName, median with minimum and maximum.
void MeasureParse(qsizetype size, int runs, const char* wallName, const char* cpuName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.kol"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeScore(size)) < 0) {
        std::fprintf(stderr, "%s: cannot write the score\n", cpuName);
        return;
    }
    file.close();
    SilentObserver observer;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    // One score container for all loads, as the program keeps one for its lifetime: the first
    // load (the maximum) meets fresh memory, the others the storage of the previous score.
    orvane::TChannels channels;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        const double cpuStart = CpuMs();
        timer.start();
        orvane::LoadChimeScore(channels, orvane::kWholeChime, path, observer);
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpuTimes.push_back(CpuMs() - cpuStart);
        if (channels.Steps.isEmpty()) {
            std::fprintf(stderr, "%s: the score did not load\n", cpuName);
            return;
        }
    }
    if (wallName) {
        bench::PrintSpread(wallName, times, "ms");
    }
    bench::PrintSpread(cpuName, cpuTimes, "ms");
}

bench::Register parseBench({"parse_1mb_ms", "parse_1mb_cpu_ms"},
                           [] { MeasureParse(1 << 20, 15, "parse_1mb_ms", "parse_1mb_cpu_ms"); });

// Ten times the text: a linear parse takes ten times as long. As many loads as of the 1 MB
// score, so that both medians are the same statistic of their runs (the first, on fresh
// memory, being the maximum of each).
bench::Register parse10Bench({"parse_10mb_cpu_ms"},
                             [] { MeasureParse(10 << 20, 15, nullptr, "parse_10mb_cpu_ms"); });

}  // namespace
