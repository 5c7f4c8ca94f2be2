#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "sound/core/AudioOutput.h"
#include "sound/core/FrameClock.h"
#include "sound/core/InstrumentVoices.h"
#include "sound/core/Mixer.h"
#include "sound/core/OutputGain.h"
#include "sound/core/SampleCache.h"
#include "sound/core/StepSequencer.h"

namespace orvane {

enum class EngineError {
    kNone,
    kNoDevice,      // no output is open: every voice command is rejected
    kNotFound,      // the sound file does not exist
    kCannotDecode,  // the file exists but is not a sound the decoder reads
    kNoFreeVoice,   // all voices of the pool are open
    kBadVoice,      // the voice id is not an open voice
    kBusy,          // the command ring to the audio thread is full; try again later
};

// One started voice, as recorded by the start log.
struct VoiceStart {
    QString path;
    std::int64_t frame = 0;  // absolute frame of its first sample
    int voice = -1;
};

// The sound engine: a pool of voices that play decoded sounds through an output, with a frame
// clock for sample-exact starts and an output gain that acts on every voice at once.
//
// Threads: every member function runs on one thread, the UI thread, except FramesRendered(),
// FrameAt(), InstrumentStrike() and the audio-thread callbacks, which the output calls. Sounds
// are decoded by the sample cache's background thread (Preload). A voice opened on a sound not
// decoded yet never decodes on the UI thread: its head is decoded first by the background thread
// and the voice starts sounding, from its first frame, when the head is there, then plays into
// the rest as it is decoded. Preparing sounds and sequences decodes the heads they lack at once. The audio thread sees the sounds only through raw pointers, and this object (on the
// UI thread) holds the owning references until the audio thread has confirmed that it dropped
// them, so no sound is ever freed on the audio thread.
class AudioEngine final : public OutputGain, private AudioRenderer {
  public:
    using VoiceId = int;
    // The voices of the engine's own calls; the mixer's other voices are the instrument bank's.
    static constexpr int kVoiceCount = Mixer::kVoiceCount - InstrumentVoices::kVoiceCount;
    static constexpr int kDefaultSampleRate = 48000;

    // Opens `output` and starts it with this engine as its renderer. When it does not open,
    // HasDevice() is false and every voice command answers kNoDevice.
    explicit AudioEngine(std::unique_ptr<AudioOutput> output);
    // Stops the output first, then frees the voices.
    ~AudioEngine() override;
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    AudioOutput& Output() { return *output_; }
    // The output's rate (kDefaultSampleRate without a device); sounds are decoded at this rate.
    int SampleRate() const { return sampleRate_; }
    int BufferFrames() const { return bufferFrames_; }

    // Voices. A voice is opened on a sound file (taken from the cache, or queued for decoding:
    // only the file's header is read on this thread), played once from its start, and closed.
    // Closing a voice that still sounds silences it.
    EngineError OpenVoice(const QString& path, VoiceId& voice);
    // Starts the voice from its first sample at the start of the next buffer, at unity gain.
    // Playing a voice again restarts it.
    EngineError PlayVoice(VoiceId voice);
    // Starts the voice at an absolute frame, or at the next buffer for nothing, with a linear
    // gain (1 = as decoded). A frame already rendered when the command arrives starts the voice
    // at the next buffer.
    EngineError PlayVoiceAt(VoiceId voice, std::optional<std::int64_t> frame, float gain = 1.0f);
    EngineError CloseVoice(VoiceId voice);
    bool IsVoiceOpen(VoiceId voice) const;
    // True from PlayVoice until the last sample has been rendered (waiting for a scheduled start
    // counts as playing); false for a voice that was never played, ended or is not open.
    bool IsVoicePlaying(VoiceId voice) const;
    // The absolute frame of the voice's first sample, once the audio thread has started it.
    std::optional<std::int64_t> VoiceStartFrame(VoiceId voice) const;
    QString VoicePath(VoiceId voice) const;
    int OpenVoiceCount() const { return openCount_; }

    // Decodes the sounds of `paths` on the background thread, heads first (see SampleCache).
    void Preload(const QStringList& paths) { cache_.Preload(paths); }
    // Decodes now, on the calling thread, the heads of those sounds of `paths` that are not
    // cached yet (their rests go to the background thread), so that voices opened on them
    // afterwards start at once without decoding. Files that cannot be read are skipped: opening
    // a voice on them reports it. Without a device nothing is decoded.
    void PrepareSounds(const QStringList& paths);

    // Any thread: frames rendered so far, that is the first frame of the next buffer.
    std::int64_t FramesRendered() const { return mixer_->FramesRendered(); }
    // Any thread: the frame the output plays at steady time `time`, estimated from the times of
    // the recent buffers (FramesRendered() before the first buffer). A tick due at ideal time t
    // starts its voices at FrameAt(t) + a fixed look-ahead.
    std::int64_t FrameAt(std::chrono::steady_clock::time_point time) const;
    const FrameClock& Clock() const { return clock_; }

    // The start log: when on, every voice start (path and frame) is kept until taken.
    void SetStartLog(bool on);
    std::vector<VoiceStart> TakeVoiceStarts();

    SampleCache& Cache() { return cache_; }

    // Instrument strokes straight from an input thread (see InstrumentVoices). UI thread: keeps
    // the decoded sound of `path` (decoding its head now when it is not cached) for strokes and
    // gives its number; -1 without a device or for a file that cannot be read.
    int KeepInstrumentSound(const QString& path);
    // Any thread: starts kept sound `sound` at the next buffer at a linear gain 0 to 1. False,
    // and nothing sounds, without a device, for an unknown sound or when the ring is full.
    bool InstrumentStrike(int sound, float gain);
    const InstrumentVoices& Instrument() const { return *instrument_; }

    // The audio-side sequencer. Its transport commands go to Sequencer() directly; plans go
    // through LoadSequence and QueueNextSequence, which decode (or take from the cache) their
    // sounds and keep them until the audio thread has let go of them. Both return false when
    // there is no device or the command ring is full.
    StepSequencer& Sequencer() { return sequencer_; }
    bool LoadSequence(SequencePlan plan);
    // holdOn: see StepSequencer::QueueNext.
    bool QueueNextSequence(SequencePlan plan, bool holdOn = false);
    // The plan that a playing sequence goes on with from the next buffer (StepSequencer::Replace).
    bool ReplaceSequence(SequencePlan plan);
    // The serial of the plan handed over last (as the sequencer's CurrentPlan names it).
    std::uint64_t LastPlanSerial() const { return nextPlanSerial_ - 1; }

    // OutputGain: left gain in the low 16 bits, right in the high 16 bits, 65535 = unity,
    // linear; 0xFFFFFFFF at start.
    bool HasDevice() const override { return hasDevice_; }
    bool ReadVolumeWord(quint32& word) const override;
    void WriteVolumeWord(quint32 word) override;

    // Releases the sounds of closed voices once the audio thread has let go of them. Every
    // voice call does this; call it to release memory at other times.
    void Collect();

    // Audio-thread statistics, for tests: voices in the mix, start events dropped.
    const Mixer& AudioMixer() const { return *mixer_; }
    // Off: the master bus is only clamped to full scale, not limited (for comparisons).
    void SetLimiterEnabled(bool on) { mixer_->SetLimiterEnabled(on); }

  private:
    struct Slot {
        bool open = false;
        bool played = false;  // a play command was sent since the open
        std::uint64_t lastPlaySerial = 0;
        std::shared_ptr<const SampleBuffer> buffer;
        QString path;
    };
    struct Retired {
        std::uint64_t serial;  // released once the audio thread applied this command
        std::shared_ptr<const SampleBuffer> buffer;
    };

    // Fills the plan's sounds and keeps it; the serial it was given, 0 when it cannot be sent.
    std::uint64_t KeepPlan(SequencePlan plan);
    void RenderAudio(float* out, int frames,
                     std::chrono::steady_clock::time_point callbackTime) override;
    void AwaitSounds() override;
    bool Valid(VoiceId voice) const;
    void DrainStarts();

    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<InstrumentVoices> instrument_;
    std::unique_ptr<AudioOutput> output_;
    bool hasDevice_ = false;
    int sampleRate_ = kDefaultSampleRate;
    int bufferFrames_ = 0;
    FrameClock clock_;
    SampleCache cache_;
    std::array<Slot, kVoiceCount> slots_{};
    int openCount_ = 0;
    std::vector<Retired> retired_;
    bool startLog_ = false;
    std::unordered_map<std::uint64_t, QString> playPaths_;  // serial -> path, start log only
    std::vector<VoiceStart> starts_;
    StepSequencer sequencer_;
    std::uint64_t nextPlanSerial_ = 1;
    // Plans by serial, kept until the audio thread no longer reads them.
    std::vector<std::pair<std::uint64_t, std::unique_ptr<SequencePlan>>> plans_;
};

}  // namespace orvane
