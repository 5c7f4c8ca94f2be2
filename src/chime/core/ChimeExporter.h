#pragma once

#include "chime/core/StepPlan.h"
#include "sound/core/AudioEngine.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace orvane {

// The sound file an export writes: a format and a sample size.
enum class ExportFormat {
    kWav16,   // WAV, 16-bit PCM
    kWav24,   // WAV, 24-bit PCM
    kFlac16,  // FLAC, 16 bits
    kFlac24,  // FLAC, 24 bits
};

// What an export renders: the loaded chime as it would play now.
struct ExportSettings {
    // The combined step list of the chime score, one line per time step.
    QStringList steps;
    // The bell set, the group boxes, the sound folder and catalogue sound column (stereo or
    // mono sounds by folder), and the output level the chime starts from (0..255).
    StepContext context;
    // Time between two steps, milliseconds (the tempo).
    int intervalMs = 200;
    int sampleRate = AudioEngine::kDefaultSampleRate;
    ExportFormat format = ExportFormat::kWav16;
    // The longest the last voices may ring after the last step, seconds.
    int maxTailSeconds = 120;
    // The chime's name (empty for none): suggests the file name.
    QString name;
    // Keep the start of every voice (path and frame) for StartLog().
    bool keepStartLog = false;
};

// Renders a chime into a sound file faster than real time, through an audio engine on an
// offline output: every step starts its voices at frame round(step x interval x rate / 1000),
// as playback starts them on its frame grid (less playback's look-ahead, so the file begins
// with the first step); the volume marks change the output level one look-ahead before their
// step's voices start, as in playback (the output gain acts on every voice, ringing ones
// included); after the last step the voices ring out until their last sample (at most
// maxTailSeconds). Stereo, at the engine's rate; samples beyond
// full scale are clipped by the file writer.
//
// The file is written under a temporary name beside the target and renamed when complete: a
// cancelled or failed export leaves no file (and an existing file of that name untouched).
// Runs on one thread, which acts as the audio thread of its engine.
class ChimeExporter {
public:
    enum class Result { kDone, kCancelled, kFailed };
    // Called now and then with the fraction done (0..1); returning false cancels.
    using Progress = std::function<bool(double fraction)>;

    explicit ChimeExporter(ExportSettings settings);

    Result Export(const QString& path, const Progress& progress = {});

    // After Export: what went wrong (kFailed), the frames written, the voice starts.
    QString ErrorText() const { return error_; }
    std::int64_t FramesWritten() const { return framesWritten_; }
    const std::vector<VoiceStart>& StartLog() const { return starts_; }

    // The first frame of step `step`.
    static std::int64_t StepFrame(qsizetype step, int intervalMs, int sampleRate);
    // The file name suffix of a format: "wav" or "flac".
    static QString Suffix(ExportFormat format);
    // The file and format for a name the user chose with a format: a name ending in ".flac" or
    // ".wav" (any letter case) takes that format at the chosen sample size; any other name gets
    // the chosen format's suffix appended.
    static std::pair<QString, ExportFormat> Target(const QString& chosen, ExportFormat format);

private:
    ExportSettings settings_;
    QString error_;
    std::int64_t framesWritten_ = 0;
    std::vector<VoiceStart> starts_;
};

}  // namespace orvane
