#include "BenchProgram.h"

#include "app/core/ProgramData.h"
#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/TChannels.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace bench {

void CopyProgramFolder(const QString& to) {
    // ORVANE_BENCH_PROGRAM_DIR names another built program folder, so that two builds can be
    // measured by one benchmark, alternately.
    const QString named = qEnvironmentVariable("ORVANE_BENCH_PROGRAM_DIR");
    const QDir source(named.isEmpty() ? QStringLiteral(ORVANE_PROGRAM_DIR) : named);
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        const QString target = to + u'/' + relative;
        QDir().mkpath(QFileInfo(target).path());
        if (relative.startsWith(QStringLiteral("Sound/"))) {
            QFile::link(from, target);
        } else {
            QFile::copy(from, target);
        }
    }
}

orvane::StartOptions ProgramCopyOptions(const QString& root) {
    orvane::StartOptions options;
    options.appDir = root + QStringLiteral("/program");
    options.cacheDir = root + QStringLiteral("/cache");
    CopyProgramFolder(options.appDir);
    return options;
}

namespace {

class QuietObserver : public orvane::ChimeScoreObserver {
public:
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override {}
    void ShowTotalDuration() override {}
};

}  // namespace

void LoadChimeOnTwelveBells(BenchWindow& w, const QString& chimeFile) {
    orvane::BellSet& bells = w.bellModel.Bells;
    bells.Clear();
    for (int bell : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 13, 14}) {
        bells.inSet[bell] = true;
        bells.group[bell] = bell < 2    ? orvane::kGreatGroup
                            : bell < 12 ? orvane::kMiddleGroup
                                        : orvane::kSmallGroup;
    }
    QuietObserver observer;
    orvane::LoadChimeScore(*w.data.Channels, orvane::kWholeChime,
                           w.data.AppPath.AppDir + chimeFile, observer);
}

std::function<std::unique_ptr<orvane::AudioOutput>()> OfflineOutputFactory(
    orvane::OfflineOutput*& created, int sampleRate, int bufferFrames) {
    return [&created, sampleRate, bufferFrames]() -> std::unique_ptr<orvane::AudioOutput> {
        orvane::OfflineOutput::Options o;
        o.sampleRate = sampleRate;
        o.bufferFrames = bufferFrames;
        auto output = std::make_unique<orvane::OfflineOutput>(o);
        created = output.get();
        return output;
    };
}

}  // namespace bench
