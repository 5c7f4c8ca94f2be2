#include "BenchRegistry.h"
#include "chime/core/ChimeScore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
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

// Processor time of the program, in milliseconds: unlike the wall clock it does not count the
// time that other processes take the processor away.
double CpuMs() {
    return 1e3 * double(std::clock()) / CLOCKS_PER_SEC;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bench::Register parseBench({"parse_1mb_ms", "parse_1mb_cpu_ms"}, [] {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.kol"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeScore(1 << 20)) < 0) {
        return;
    }
    file.close();
    SilentObserver observer;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int run = 0; run < 15; ++run) {
        orvane::TChannels channels;
        QElapsedTimer timer;
        const double cpuStart = CpuMs();
        timer.start();
        orvane::LoadChimeScore(channels, orvane::kWholeChime, path, observer);
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpuTimes.push_back(CpuMs() - cpuStart);
        if (channels.Steps.isEmpty()) {
            return;
        }
    }
    bench::Print("parse_1mb_ms", Median(times), "ms");
    bench::Print("parse_1mb_cpu_ms", Median(cpuTimes), "ms");
});

}  // namespace
