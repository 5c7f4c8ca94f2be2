#include "chime/core/ChimeExporter.h"

#include "chime/core/StepClock.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/VolumeControl.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <deque>
#include <memory>
#include "sound/core/SndfileLibrary.h"

namespace orvane {

namespace {

// Frames rendered per call between two steps or in the tail.
constexpr std::int64_t kChunkFrames = 8192;
// The offline output's buffer: voices start at exact frames whatever its size.
constexpr int kBufferFrames = 1024;

int SndFormat(ExportFormat format) {
    switch (format) {
        case ExportFormat::kWav16:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case ExportFormat::kWav24:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        case ExportFormat::kFlac16:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case ExportFormat::kFlac24:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    }
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

// libsndfile's virtual I/O on a QSaveFile, which writes to a temporary file and renames it on
// commit.
sf_count_t VioLength(void* user) {
    return static_cast<QSaveFile*>(user)->size();
}
sf_count_t VioSeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<QSaveFile*>(user);
    qint64 target = offset;
    if (whence == SEEK_CUR) {
        target += file->pos();
    } else if (whence == SEEK_END) {
        target += file->size();
    }
    return file->seek(target) ? target : -1;
}
sf_count_t VioRead(void* ptr, sf_count_t count, void* user) {
    return static_cast<QSaveFile*>(user)->read(static_cast<char*>(ptr), count);
}
sf_count_t VioWrite(const void* ptr, sf_count_t count, void* user) {
    return static_cast<QSaveFile*>(user)->write(static_cast<const char*>(ptr), count);
}
sf_count_t VioTell(void* user) {
    return static_cast<QSaveFile*>(user)->pos();
}

struct SndCloser {
    void operator()(SNDFILE* file) const { sndfile::Close(file); }
};

// The voices the export has opened, oldest first; finished ones are closed as the render goes
// on, and when the pool is full the oldest gives its voice up.
class VoicePool {
public:
    explicit VoicePool(AudioEngine& engine) : engine_(engine) {}

    void Start(const QString& path, std::int64_t frame) {
        AudioEngine::VoiceId voice = -1;
        EngineError error = engine_.OpenVoice(path, voice);
        if (error == EngineError::kNoFreeVoice) {
            Sweep();
            error = engine_.OpenVoice(path, voice);
        }
        if (error == EngineError::kNoFreeVoice && !open_.empty()) {
            engine_.CloseVoice(open_.front());
            open_.pop_front();
            error = engine_.OpenVoice(path, voice);
        }
        if (error != EngineError::kNone) {
            return;  // a missing or unreadable sound stays silent, as in playback
        }
        open_.push_back(voice);
        // Rendering runs far ahead of real time: the whole sound must be there before the
        // voice reaches the part that is still being decoded in the background.
        engine_.Cache().WaitIdle();
        engine_.PlayVoiceAt(voice, frame);
        // The cache holds the sound the voice was just opened on.
        if (const DecodeResult decoded = engine_.Cache().Get(path); decoded.buffer) {
            end_ = std::max(end_, frame + decoded.buffer->Frames());
        }
    }

    // The frame after the last sample of the voices started so far.
    std::int64_t End() const { return end_; }

    // Closes the voices that have ended.
    void Sweep() {
        for (auto it = open_.begin(); it != open_.end();) {
            if (!engine_.IsVoicePlaying(*it)) {
                engine_.CloseVoice(*it);
                it = open_.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    AudioEngine& engine_;
    std::deque<AudioEngine::VoiceId> open_;
    std::int64_t end_ = 0;
};

}  // namespace

ChimeExporter::ChimeExporter(ExportSettings settings) : settings_(std::move(settings)) {}

std::int64_t ChimeExporter::StepFrame(qsizetype step, int intervalMs, int sampleRate) {
    return StepClock::Frames(static_cast<double>(step) * intervalMs, sampleRate);
}

QString ChimeExporter::Suffix(ExportFormat format) {
    return format == ExportFormat::kFlac16 || format == ExportFormat::kFlac24
               ? QStringLiteral("flac")
               : QStringLiteral("wav");
}

std::pair<QString, ExportFormat> ChimeExporter::Target(const QString& chosen,
                                                      ExportFormat format) {
    const QString typed = QFileInfo(chosen).suffix().toLower();
    const bool deep = format == ExportFormat::kWav24 || format == ExportFormat::kFlac24;
    if (typed == QLatin1String("flac")) {
        return {chosen, deep ? ExportFormat::kFlac24 : ExportFormat::kFlac16};
    }
    if (typed == QLatin1String("wav")) {
        return {chosen, deep ? ExportFormat::kWav24 : ExportFormat::kWav16};
    }
    return {chosen + u'.' + Suffix(format), format};
}

ChimeExporter::Result ChimeExporter::Export(const QString& path, const Progress& progress) {
    error_.clear();
    framesWritten_ = 0;
    starts_.clear();
    const int rate = settings_.sampleRate > 0 ? settings_.sampleRate : AudioEngine::kDefaultSampleRate;
    const int interval = qMax(1, settings_.intervalMs);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = file.errorString();
        return Result::kFailed;
    }
    SF_VIRTUAL_IO io{VioLength, VioSeek, VioRead, VioWrite, VioTell};
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SndFormat(settings_.format);
    std::unique_ptr<SNDFILE, SndCloser> sound(sndfile::OpenVirtual(&io, SFM_WRITE, &info, &file));
    if (!sound) {
        error_ = QString::fromLocal8Bit(sndfile::StrError(nullptr));
        file.cancelWriting();
        return Result::kFailed;
    }
    sndfile::Command(sound.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    OfflineOutput::Options options;
    options.sampleRate = rate;
    options.bufferFrames = kBufferFrames;
    AudioEngine engine(std::make_unique<OfflineOutput>(options));
    auto& output = static_cast<OfflineOutput&>(engine.Output());
    engine.SetStartLog(settings_.keepStartLog);
    StepContext context = settings_.context;
    engine.WriteVolumeWord(VolumeControl::VolumeWord(context.volumeLevel));
    VoicePool voices(engine);

    const qsizetype steps = settings_.steps.size();
    // The engine runs a look-ahead ahead of the file, as playback starts its first voices a
    // look-ahead after the first tick: engine frame = file frame + lead.
    const std::int64_t lead = StepClock::LookAheadFrames(rate);
    const std::int64_t bodyFrames = StepFrame(steps, interval, rate);
    const std::int64_t tailLimit = bodyFrames + std::int64_t{settings_.maxTailSeconds} * rate;
    bool writeFailed = false;
    // Renders the engine up to engine frame `target`; the frames before the lead are rendered
    // but not written.
    auto renderTo = [&](std::int64_t target) {
        while (output.FramesRendered() < target && !writeFailed) {
            const std::int64_t at = output.FramesRendered();
            const std::int64_t n = at < lead ? std::min(lead, target) - at
                                             : std::min(kChunkFrames, target - at);
            const std::vector<float>& block = output.Render(n);
            if (at < lead) {
                continue;
            }
            if (sndfile::WritefFloat(sound.get(), block.data(), n) != n) {
                writeFailed = true;
            }
            framesWritten_ += n;
        }
    };
    auto cancelled = [&](std::int64_t frame) {
        const double fraction =
            bodyFrames > 0 ? std::min(0.99, static_cast<double>(frame) / bodyFrames) : 0.99;
        return progress && !progress(fraction);
    };
    auto abandon = [&](Result result) {
        sound.reset();
        file.cancelWriting();
        if (result == Result::kFailed && error_.isEmpty()) {
            error_ = QStringLiteral("The sound file could not be written.");
        }
        return result;
    };

    std::int64_t lastReport = -1;
    for (qsizetype step = 0; step < steps; ++step) {
        // The step is planned at its tick, a lead before its voices start: its volume marks
        // reach the output gain then, and its voices start on the frame grid.
        const std::int64_t frame = StepFrame(step, interval, rate);
        renderTo(frame);
        if (writeFailed) {
            return abandon(Result::kFailed);
        }
        if (frame - lastReport >= rate / 4) {
            lastReport = frame;
            if (cancelled(frame)) {
                return abandon(Result::kCancelled);
            }
            voices.Sweep();
        }
        const StepPlan plan = PlanStep(settings_.steps, step, context);
        for (const StepAction& action : plan.actions) {
            if (action.kind == StepAction::Kind::SetVolume) {
                engine.WriteVolumeWord(VolumeControl::VolumeWord(action.value));
            } else if (action.kind == StepAction::Kind::OpenSound) {
                voices.Start(action.file, frame + lead);
            }
        }
        context.volumeLevel = plan.volumeLevel;
    }
    // The last step lasts one interval; then the voices ring out to their last sample.
    const std::int64_t end = lead + std::min(tailLimit, std::max(bodyFrames, voices.End() - lead));
    while (!writeFailed && output.FramesRendered() < end) {
        renderTo(std::min(end, output.FramesRendered() + 4 * kChunkFrames));
        if (cancelled(output.FramesRendered() - lead)) {
            return abandon(Result::kCancelled);
        }
    }
    if (writeFailed) {
        return abandon(Result::kFailed);
    }
    if (settings_.keepStartLog) {
        starts_ = engine.TakeVoiceStarts();
        for (VoiceStart& start : starts_) {
            start.frame -= lead;
        }
    }
    sound.reset();  // writes the header
    if (!file.commit()) {
        error_ = file.errorString();
        return Result::kFailed;
    }
    if (progress) {
        progress(1.0);
    }
    return Result::kDone;
}

}  // namespace orvane
