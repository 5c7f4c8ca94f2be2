#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "sound/core/CommandQueue.h"
#include "sound/core/MultiProducerQueue.h"
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
// until more is published; it ends at the sound's full length. A voice whose sound has nothing
// decoded yet waits for its first frame: it starts (and reports its start) when that is there.
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
    using CommandRing = MultiProducerQueue<VoiceCommand, 1024>;
    using StartRing = CommandQueue<VoiceStartEvent, 4096>;

    explicit Mixer(int sampleRate = 48000);

    // The engine's producers push (the UI thread and instrument input threads), audio thread pops.
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
    // What the mixing loops need of a voice, kept in the pool so that a voice whose sound is
    // complete is mixed without touching the SampleBuffer object.
    struct Voice {
        const SampleBuffer* buffer = nullptr;
        const void* samples = nullptr;  // the buffer's storage (never reallocated)
        std::int64_t position = 0;
        std::int64_t startFrame = 0;
        std::int64_t ready = 0;   // frames decoded, as last read
        std::int64_t length = 0;  // the sound's length, as last read
        std::uint64_t serial = 0;
        float gain = 1.0f;
        float bound = 0.0f;  // the voice's largest contribution: sound peak x |gain|
        int listIndex = -1;  // position in active_, -1 when not active
        std::uint8_t channels = 1;
        bool pcm16 = false;
        bool complete = false;  // ready == length for good: nothing left to read
        bool started = false;
    };

    // Sets the voice's sound, position 0, and reads how far it is decoded.
    static void Load(Voice& voice, const SampleBuffer* buffer, float gain);
    // Reads the decoded extent of a voice whose sound is still being decoded.
    static void Refresh(Voice& voice);
    void Apply(const VoiceCommand& command, std::int64_t blockStart);
    void Activate(int index);
    void Deactivate(int index);
    // Mixes the chunk [chunkStart, chunkStart + frames) into bus*_ and, when ahead > 0, the
    // `ahead` frames that follow it into bus*_[frames...] without moving any voice past the
    // chunk (the limiter's look-ahead), in one pass over the voices. The first carried_ frames
    // of the bus are taken as they are (see carried_); sets carried_ for the next chunk.
    void MixChunk(std::int64_t chunkStart, int frames, int ahead);
    // Refreshes the voices still decoding; the largest sum the active voices can reach.
    float PeakBound();
    void Finish(float* out, int frames, int ahead, float targetLeft, float targetRight);

    CommandRing commands_;
    StartRing starts_;
    std::array<Voice, kPoolSize> voices_{};
    std::array<std::uint16_t, kPoolSize> active_{};
    int activeCount_ = 0;
    ChunkHook* hook_ = nullptr;
    // The chunk, followed by the look-ahead when the limiter needs it.
    alignas(64) std::array<float, kMaxChunkFrames + PeakLimiter::kMaxLookAhead> busLeft_{};
    alignas(64) std::array<float, kMaxChunkFrames + PeakLimiter::kMaxLookAhead> busRight_{};
    // The look-ahead times the output gain, for the limiter.
    std::array<float, PeakLimiter::kMaxLookAhead> aheadLeft_{};
    std::array<float, PeakLimiter::kMaxLookAhead> aheadRight_{};
    // Frames at the start of bus*_ that already hold the mix of the coming chunk's first frames
    // (the last chunk's look-ahead, moved there after it was rendered). Zero whenever a voice
    // starts, stops or ends, or a voice in the mix was still decoding: then the chunk is mixed
    // whole. Mixing the look-ahead once instead of twice saves about a quarter of the work.
    int carried_ = 0;
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
