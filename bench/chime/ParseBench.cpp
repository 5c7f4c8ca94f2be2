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

// A generated whole chime of about `size` bytes, written into dir; empty when it cannot be.
QString WriteScore(const QTemporaryDir& dir, qsizetype size) {
    const QString path = dir.filePath(QStringLiteral("score%1.kol").arg(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeScore(size)) < 0) {
        return {};
    }
    return path;
}

// One load of the score at path into channels (one container for all loads, as the program
// keeps one for its lifetime: the first load meets fresh memory, the others the storage of the
// previous score); adds its wall and processor times. False when the score did not load.
bool LoadOnce(orvane::TChannels& channels, const QString& path, std::vector<double>& times,
              std::vector<double>& cpuTimes) {
    SilentObserver observer;
    QElapsedTimer timer;
    const double cpuStart = CpuMs();
    timer.start();
    orvane::LoadChimeScore(channels, orvane::kWholeChime, path, observer);
    times.push_back(timer.nsecsElapsed() / 1e6);
    cpuTimes.push_back(CpuMs() - cpuStart);
    return !channels.Steps.isEmpty();
}

constexpr int kRuns = 15;

void ParseOneMegabyte() {
    QTemporaryDir dir;
    const QString path = WriteScore(dir, 1 << 20);
    orvane::TChannels channels;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int run = 0; run < kRuns; ++run) {
        if (path.isEmpty() || !LoadOnce(channels, path, times, cpuTimes)) {
            std::fprintf(stderr, "parse_1mb_cpu_ms: the score did not load\n");
            return;
        }
    }
    bench::PrintSpread("parse_1mb_ms", times, "ms");
    bench::PrintSpread("parse_1mb_cpu_ms", cpuTimes, "ms");
}

// Ten times the text: a linear parse takes ten times as long. The loads of the 10 MB score
// alternate with loads of the 1 MB one, as many of each, so that a change of the machine's speed
// during the measurement falls on both medians alike; their ratio is printed beside them.
void ParseTenMegabytes() {
    QTemporaryDir dir;
    const QString small = WriteScore(dir, 1 << 20);
    const QString large = WriteScore(dir, 10 << 20);
    orvane::TChannels smallChannels;
    orvane::TChannels largeChannels;
    std::vector<double> unused;
    std::vector<double> smallCpu;
    std::vector<double> largeCpu;
    for (int run = 0; run < kRuns; ++run) {
        if (small.isEmpty() || large.isEmpty() ||
            !LoadOnce(smallChannels, small, unused, smallCpu) ||
            !LoadOnce(largeChannels, large, unused, largeCpu)) {
            std::fprintf(stderr, "parse_10mb_cpu_ms: the score did not load\n");
            return;
        }
    }
    bench::PrintSpread("parse_10mb_cpu_ms", largeCpu, "ms");
    bench::PrintSpread("parse_1mb_cpu_ms_alternating", smallCpu, "ms");
    std::printf("parse_10mb_to_1mb_ratio %.3g (goal 10 or less)\n",
                bench::Median(largeCpu) / bench::Median(smallCpu));
}

bench::Register parseBench({"parse_1mb_ms", "parse_1mb_cpu_ms"}, ParseOneMegabyte);
bench::Register parse10Bench({"parse_10mb_cpu_ms", "parse_1mb_cpu_ms_alternating", "parse_10mb_to_1mb_ratio"},
                             ParseTenMegabytes);

}  // namespace
