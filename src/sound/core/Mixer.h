#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "sound/core/CommandQueue.h"
#include "sound/core/PeakLimiter.h"
#include "sound/core/SampleBuffer.h"

namespace orvane {

// A command from the UI thread to the audio thread about one voice of the pool.
struct VoiceCommand {
    enum class Kind : std::uint8_t { kPlay, kStop };
    Kind kind = Kind::kPlay;
    std::uint16_t voice = 0;
    // Strictly increasing over all commands of one mixer.
    std::uint64_t serial = 0;
    // kPlay: the sound, kept alive by the sender until ProcessedSerial() reaches a later kStop.
    const SampleBuffer* buffer = nullptr;
    // kPlay: the absolute frame of the first sample, or kStartNow (start of the next buffer).
    std::int64_t startFrame = -1;
    // kPlay: linear gain of the voice (1 = as decoded).
    float gain = 1.0f;
};

// Sent back by the audio thread when a voice's first sample is rendered.
struct VoiceStartEvent {
    std::uint16_t voice = 0;
    std::uint64_t serial = 0;  // of the play command
    std::int64_t frame = 0;    // absolute frame of the first sample
};

// The audio-thread half of the engine: a fixed pool of voices, each a raw reference to a sound
// plus a play position and a gain, summed into a stereo bus, then the output gain, then the peak
// limiter. Render runs on the audio thread and never locks, allocates, frees or blocks;
// everything else it shares is atomic or goes through the two rings.
//
// A voice whose sound is still being decoded plays what is decoded and waits at the decoded end
// until more is published; it ends at the sound's full length.
//
// Voices 0 to kVoiceCount - 1 belong to the UI thread's commands; kSequencerVoices more are
// started by the audio thread itself (StartOwnVoice) and report no state.
class Mixer {
  public:
    static constexpr int kVoiceCount = 256;
    static constexpr int kSequencerVoices = 128;
    static constexpr int kPoolSize = kVoiceCount + kSequencerVoices;
    static constexpr int kMaxChunkFrames = 512;
    static constexpr std::int64_t kStartNow = -1;
    using CommandRing = CommandQueue<VoiceCommand, 1024>;
    using StartRing = CommandQueue<VoiceStartEvent, 4096>;

    explicit Mixer(int sampleRate = 48000);

    // UI thread pushes, audio thread pops.
    CommandRing& Commands() { return commands_; }
    // Audio thread pushes (dropping events when full), one reader pops.
    StartRing& Starts() { return starts_; }

    // Audio thread. Applies all queued commands, then renders `frames` interleaved stereo frames
    // starting at frame FramesRendered() and advances the frame clock by `frames`.
    void Render(float* out, int frames);

    // Audio thread, between chunks (see SetChunkHook): starts pool voice kVoiceCount + slot on
    // `buffer` at absolute frame `startFrame` (not before the chunk being rendered). The buffer
    // must stay alive until the voice has ended or has been replaced. Its start event carries
    // `tag` as its serial (none for 0).
    void StartOwnVoice(int slot, const SampleBuffer* buffer, std::int64_t startFrame, float gain,
                       std::uint64_t tag = 0);
    // Audio thread: silences every own voice.
    void StopOwnVoices();
    bool OwnVoicePlaying(int slot) const { return voices_[kVoiceCount + slot].listIndex >= 0; }

    // Called on the audio thread before each chunk with the chunk's first frame and the frames
    // the mixer would render; returns how many to render (at least one), so that an event
    // can fall on a chunk's first frame. Null: no hook.
    class ChunkHook {
      public:
        virtual ~ChunkHook() = default;
        virtual int BeforeChunk(Mixer& mixer, std::int64_t chunkStart, int frames) = 0;
    };
    // Before the output starts, or from the audio thread.
    void SetChunkHook(ChunkHook* hook) { hook_ = hook; }

    // Any thread.
    std::int64_t FramesRendered() const { return framesRendered_.load(std::memory_order_acquire); }
    // The serial of the last command applied.
    std::uint64_t ProcessedSerial() const {
        return processedSerial_.load(std::memory_order_acquire);
    }
    // (serial of the voice's last applied command) x 2 + 1 while it plays or waits for its start
    // frame, x 2 + 0 otherwise.
    std::uint64_t VoiceState(int voice) const {
        return state_[voice].load(std::memory_order_acquire);
    }
    // The absolute frame at which the voice's last play command started sounding, or -1 while
    // it has not started. Meaningful once VoiceState shows that command's serial.
    std::int64_t VoiceStartedAt(int voice) const {
        return startedAt_[voice].load(std::memory_order_acquire);
    }
    // Left channel in the low 16 bits, right in the high 16 bits, linear, 65535 = unity.
    void SetVolumeWord(std::uint32_t word) { volumeWord_.store(word, std::memory_order_relaxed); }
    std::uint32_t VolumeWord() const { return volumeWord_.load(std::memory_order_relaxed); }
    // Off: the bus after the gain is only clamped to full scale (for comparisons).
    void SetLimiterEnabled(bool on) { limiterOn_.store(on, std::memory_order_relaxed); }
    // Audio thread (or when nothing renders): voices currently in the mix.
    int ActiveVoiceCount() const { return activeCount_; }
    // The number of start events dropped because nobody read them.
    std::uint64_t DroppedStartEvents() const {
        return droppedStarts_.load(std::memory_order_relaxed);
    }

  private:
    struct Voice {
        const SampleBuffer* buffer = nullptr;
        std::int64_t position = 0;
        std::int64_t startFrame = 0;
        std::uint64_t serial = 0;
        float gain = 1.0f;
        int listIndex = -1;  // position in active_, -1 when not active
        bool started = false;
    };

    void Apply(const VoiceCommand& command, std::int64_t blockStart);
    void Activate(int index);
    void Deactivate(int index);
    void MixChunk(std::int64_t chunkStart, int frames);
    // Mixes the look-ahead that follows the chunk ending at chunkEnd into ahead*_, without
    // moving any voice.
    void MixAhead(std::int64_t chunkEnd, int frames);
    // The largest sum the active voices can reach (sound peaks times voice gains).
    float PeakBound() const;
    void Finish(float* out, std::int64_t chunkEnd, int frames);

    CommandRing commands_;
    StartRing starts_;
    std::array<Voice, kPoolSize> voices_{};
    std::array<std::uint16_t, kPoolSize> active_{};
    int activeCount_ = 0;
    ChunkHook* hook_ = nullptr;
    alignas(64) std::array<float, kMaxChunkFrames> busLeft_{};
    alignas(64) std::array<float, kMaxChunkFrames> busRight_{};
    alignas(64) std::array<float, PeakLimiter::kMaxLookAhead> aheadLeft_{};
    alignas(64) std::array<float, PeakLimiter::kMaxLookAhead> aheadRight_{};
    float chunkBound_ = 0.0f;  // PeakBound() of the voices at the start of the chunk
    float gainLeft_ = 1.0f;
    float gainRight_ = 1.0f;
    PeakLimiter limiter_;

    std::array<std::atomic<std::uint64_t>, kVoiceCount> state_{};
    std::array<std::atomic<std::int64_t>, kVoiceCount> startedAt_{};
    std::atomic<std::int64_t> framesRendered_{0};
    std::atomic<std::uint64_t> processedSerial_{0};
    std::atomic<std::uint32_t> volumeWord_{0xFFFFFFFFu};
    std::atomic<std::uint64_t> droppedStarts_{0};
    std::atomic<bool> limiterOn_{true};
};

}  // namespace orvane
