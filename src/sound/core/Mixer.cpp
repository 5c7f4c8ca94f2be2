#include "sound/core/Mixer.h"

#include <algorithm>

namespace orvane {

namespace {

// The inner loops: one voice added to the two bus channels. Written so that the compiler turns
// them into packed vector code (separate channel arrays, restrict pointers, no branches); each
// is built twice, for AVX2 and for the baseline, and the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVANE_MIX_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_MIX_KERNEL
#endif

ORVANE_MIX_KERNEL
void AddMonoFloat(const float* __restrict src, float* __restrict left, float* __restrict right,
                  int frames, float gain) {
    for (int i = 0; i < frames; ++i) {
        const float s = src[i] * gain;
        left[i] += s;
        right[i] += s;
    }
}

ORVANE_MIX_KERNEL
void AddStereoFloat(const float* __restrict src, float* __restrict left,
                    float* __restrict right, int frames, float gain) {
    for (int i = 0; i < frames; ++i) {
        left[i] += src[2 * i] * gain;
        right[i] += src[2 * i + 1] * gain;
    }
}

ORVANE_MIX_KERNEL
void AddMonoPcm(const std::int16_t* __restrict src, float* __restrict left,
                float* __restrict right, int frames, float gain) {
    for (int i = 0; i < frames; ++i) {
        const float s = static_cast<float>(src[i]) * gain;
        left[i] += s;
        right[i] += s;
    }
}

ORVANE_MIX_KERNEL
void AddStereoPcm(const std::int16_t* __restrict src, float* __restrict left,
                  float* __restrict right, int frames, float gain) {
    for (int i = 0; i < frames; ++i) {
        left[i] += static_cast<float>(src[2 * i]) * gain;
        right[i] += static_cast<float>(src[2 * i + 1]) * gain;
    }
}

// Adds frames [position, position + frames) of a voice's samples, times `gain`, to the bus.
void AddSpan(const void* samples, bool pcm16, int channels, std::int64_t position, int frames,
             float gain, float* left, float* right) {
    if (pcm16) {
        const std::int16_t* src = static_cast<const std::int16_t*>(samples) + position * channels;
        const float scaled = gain * (1.0f / 32768.0f);
        if (channels == 1) {
            AddMonoPcm(src, left, right, frames, scaled);
        } else {
            AddStereoPcm(src, left, right, frames, scaled);
        }
    } else {
        const float* src = static_cast<const float*>(samples) + position * channels;
        if (channels == 1) {
            AddMonoFloat(src, left, right, frames, gain);
        } else {
            AddStereoFloat(src, left, right, frames, gain);
        }
    }
}

// The voices whose samples are fetched ahead of their mixing: far enough to hide the memory's
// latency behind the mixing of the voices before them, few enough to stay in flight together.
constexpr int kPrefetchVoices = 8;
constexpr std::int64_t kCacheLine = 64;

// Asks the processor to fetch every cache line that holds a byte of [from, from + bytes) into
// its caches, the line of the last byte included when `from` is not at a line's start.
// Always inlined: out of line, the compiler takes a function made only of prefetches for one
// without effect and drops every call to it.
[[gnu::always_inline]] inline void Prefetch(const char* from, std::int64_t bytes) {
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(from);
    const std::uintptr_t first = start & ~std::uintptr_t{kCacheLine - 1};
    const std::uintptr_t end = start + static_cast<std::uintptr_t>(bytes);
    for (std::uintptr_t at = first; at < end; at += kCacheLine) {
        __builtin_prefetch(reinterpret_cast<const char*>(at));
    }
}

float GainOf(std::uint32_t channelWord) {
    return static_cast<float>(channelWord & 0xFFFFu) / 65535.0f;
}

}  // namespace

Mixer::Mixer(int sampleRate) : limiter_(sampleRate) {
    for (auto& s : state_) {
        s.store(0, std::memory_order_relaxed);
    }
    for (auto& s : startedAt_) {
        s.store(-1, std::memory_order_relaxed);
    }
}

void Mixer::Load(Voice& voice, const SampleBuffer* buffer, float gain) {
    voice.buffer = buffer;
    voice.pcm16 = buffer->IsPcm16();
    voice.samples = voice.pcm16 ? static_cast<const void*>(buffer->Pcm16())
                                : static_cast<const void*>(buffer->Floats());
    voice.channels = static_cast<std::uint8_t>(buffer->channels);
    voice.position = 0;
    voice.gain = gain;
    voice.complete = false;
    Refresh(voice);
}

void Mixer::Refresh(Voice& voice) {
    // The length first: a sound cut short is published as ready only after its new length.
    voice.length = voice.buffer->Frames();
    voice.ready = std::min(voice.buffer->ReadyFrames(), voice.length);
    voice.complete = voice.buffer->Complete();
    voice.bound = voice.buffer->Peak() * std::abs(voice.gain);
    if (voice.complete) {
        voice.length = voice.buffer->Frames();
        voice.ready = voice.length;
    }
}

void Mixer::Activate(int index) {
    Voice& voice = voices_[index];
    if (voice.listIndex < 0) {
        voice.listIndex = activeCount_;
        active_[activeCount_++] = static_cast<std::uint16_t>(index);
    }
}

void Mixer::Apply(const VoiceCommand& command, std::int64_t blockStart) {
    const int index = command.voice;
    if (index >= kVoiceCount) {
        return;
    }
    Voice& voice = voices_[index];
    if (command.kind == VoiceCommand::Kind::kPlay && command.buffer != nullptr) {
        Load(voice, command.buffer, command.gain);
        voice.startFrame = command.startFrame == kStartNow
                               ? blockStart
                               : std::max(command.startFrame, blockStart);
        voice.serial = command.serial;
        voice.started = false;
        Activate(index);
        carried_ = 0;
        startedAt_[index].store(-1, std::memory_order_relaxed);
        state_[index].store(command.serial * 2 + 1, std::memory_order_release);
    } else {
        Deactivate(index);
        voice.buffer = nullptr;
        state_[index].store(command.serial * 2, std::memory_order_release);
    }
}

void Mixer::StartOwnVoice(int slot, const SampleBuffer* buffer, std::int64_t startFrame,
                          float gain, std::uint64_t tag) {
    if (slot < 0 || slot >= kSequencerVoices || buffer == nullptr) {
        return;
    }
    const int index = kVoiceCount + slot;
    Voice& voice = voices_[index];
    Load(voice, buffer, gain);
    voice.startFrame = std::max(startFrame, FramesRendered());
    voice.serial = tag;
    voice.started = tag == 0;  // an untagged voice sends no start event
    Activate(index);
    carried_ = 0;
}

void Mixer::StopOwnVoices() {
    for (int slot = 0; slot < kSequencerVoices; ++slot) {
        Deactivate(kVoiceCount + slot);
        voices_[kVoiceCount + slot].buffer = nullptr;
    }
}

void Mixer::Deactivate(int index) {
    Voice& voice = voices_[index];
    if (voice.listIndex < 0) {
        return;
    }
    // The order of the sum changes: the carried look-ahead is mixed again.
    carried_ = 0;
    const int last = active_[--activeCount_];
    active_[voice.listIndex] = static_cast<std::uint16_t>(last);
    voices_[last].listIndex = voice.listIndex;
    voice.listIndex = -1;
}

void Mixer::Render(float* out, int frames) {
    const std::int64_t blockStart = framesRendered_.load(std::memory_order_relaxed);
    VoiceCommand command;
    while (commands_.Pop(command)) {
        Apply(command, blockStart);
        processedSerial_.store(command.serial, std::memory_order_release);
    }
    int done = 0;
    while (done < frames) {
        int chunk = std::min(frames - done, kMaxChunkFrames);
        const std::int64_t chunkStart = blockStart + done;
        if (hook_ != nullptr) {
            // Own voices start no earlier than the chunk the hook is asked about.
            framesRendered_.store(chunkStart, std::memory_order_relaxed);
            chunk = std::clamp(hook_->BeforeChunk(*this, chunkStart, chunk), 1, chunk);
        }
        // The gain is read once per chunk; a change is ramped over the chunk.
        const std::uint32_t word = volumeWord_.load(std::memory_order_relaxed);
        const float targetLeft = GainOf(word);
        const float targetRight = GainOf(word >> 16);
        // The limiter runs when the voices (those ending within this chunk included) could
        // reach its ceiling, and until it has recovered; only then is the look-ahead mixed.
        const float bound = PeakBound();
        const float loudest = std::max({targetLeft, targetRight, gainLeft_, gainRight_});
        const bool limit = limiterOn_.load(std::memory_order_relaxed) &&
                           (limiter_.Reducing() || bound * loudest > PeakLimiter::kCeiling);
        const int ahead = limit ? limiter_.LookAhead() : 0;
        MixChunk(chunkStart, chunk, ahead);
        Finish(out + 2 * done, chunk, ahead, targetLeft, targetRight);
        if (carried_ > 0) {
            // The look-ahead becomes the start of the next chunk.
            std::copy_n(busLeft_.begin() + chunk, carried_, busLeft_.begin());
            std::copy_n(busRight_.begin() + chunk, carried_, busRight_.begin());
        }
        done += chunk;
    }
    framesRendered_.store(blockStart + frames, std::memory_order_release);
}

void Mixer::MixChunk(std::int64_t chunkStart, int frames, int ahead) {
    const int span = frames + ahead;
    // Frames [0, valid) were mixed as the previous chunk's look-ahead, by the same voices in the
    // same order, so they hold the very sums a new mix would give; only the rest is mixed.
    const int valid = std::min(carried_, span);
    // This chunk's look-ahead is carried unless a voice ends, is waiting for its decode, or the
    // voices change before the next chunk.
    carried_ = ahead;
    std::fill(busLeft_.begin() + valid, busLeft_.begin() + span, 0.0f);
    std::fill(busRight_.begin() + valid, busRight_.begin() + span, 0.0f);
    const std::int64_t chunkEnd = chunkStart + frames;
    const std::int64_t spanEnd = chunkEnd + ahead;

    // The samples a voice reads in this chunk, fetched while the voices before it are mixed:
    // with many voices the mix waits on memory, not on arithmetic.
    const auto prefetch = [&](const Voice& voice) __attribute__((always_inline)) {
        if (voice.startFrame >= spanEnd) {
            return;
        }
        const std::int64_t frameBytes =
            static_cast<std::int64_t>(voice.channels) * (voice.pcm16 ? 2 : 4);
        const std::int64_t offset = std::max<std::int64_t>(0, voice.startFrame - chunkStart);
        const std::int64_t entry = std::max<std::int64_t>(offset, valid);
        const std::int64_t from = (offset > 0 ? 0 : voice.position) + entry - offset;
        const std::int64_t count = std::min<std::int64_t>(span - entry, voice.ready - from);
        if (count > 0) {
            Prefetch(static_cast<const char*>(voice.samples) + from * frameBytes,
                     count * frameBytes);
        }
    };
    for (int i = 0; i < std::min(activeCount_, kPrefetchVoices); ++i) {
        prefetch(voices_[active_[i]]);
    }

    int i = 0;
    while (i < activeCount_) {
        if (i + kPrefetchVoices < activeCount_) {
            prefetch(voices_[active_[i + kPrefetchVoices]]);
        }
        const int index = active_[i];
        Voice& voice = voices_[index];
        if (voice.startFrame >= spanEnd) {
            ++i;
            continue;
        }
        // Where the voice enters the bus; at or past `frames` it starts within the look-ahead
        // and is not moved.
        const int offset = static_cast<int>(std::max<std::int64_t>(0, voice.startFrame - chunkStart));
        // A voice whose sound has nothing decoded yet starts when its first frame is there.
        if (offset < frames && !voice.started && (voice.ready > 0 || voice.complete)) {
            voice.started = true;
            const std::int64_t frame = chunkStart + offset;
            if (index < kVoiceCount) {
                startedAt_[index].store(frame, std::memory_order_release);
            }
            if (!starts_.Push({static_cast<std::uint16_t>(index), voice.serial, frame})) {
                droppedStarts_.fetch_add(1, std::memory_order_relaxed);
            }
        }
        // What is decoded so far; a sound still decoding waits at its decoded end (and its
        // look-ahead, cut short there, is not carried).
        if (!voice.complete) {
            carried_ = 0;
        }
        const std::int64_t position = offset < frames ? voice.position : 0;
        const int entry = std::max(offset, valid);
        const std::int64_t from = position + (entry - offset);
        const int n = static_cast<int>(std::min<std::int64_t>(span - entry, voice.ready - from));
        if (n > 0) {
            AddSpan(voice.samples, voice.pcm16, voice.channels, from, n, voice.gain,
                    busLeft_.data() + entry, busRight_.data() + entry);
        }
        if (offset >= frames) {
            ++i;
            continue;
        }
        voice.position += std::clamp<std::int64_t>(voice.ready - position, 0, frames - offset);
        if (voice.position >= voice.length && voice.complete) {
            Deactivate(index);
            if (index < kVoiceCount) {
                state_[index].store(voice.serial * 2, std::memory_order_release);
            }
            // The voice that moved into slot i is visited next (already fetched).
            continue;
        }
        ++i;
    }
}

float Mixer::PeakBound() {
    float bound = 0.0f;
    for (int i = 0; i < activeCount_; ++i) {
        Voice& voice = voices_[active_[i]];
        if (!voice.complete) {
            Refresh(voice);
        }
        bound += voice.bound;
    }
    return bound;
}

void Mixer::Finish(float* out, int frames, int ahead, float targetLeft, float targetRight) {
    // A change of the gain is ramped over one chunk so that it does not click.
    const float stepLeft = (targetLeft - gainLeft_) / static_cast<float>(frames);
    const float stepRight = (targetRight - gainRight_) / static_cast<float>(frames);
    float left = gainLeft_;
    float right = gainRight_;
    for (int i = 0; i < frames; ++i) {
        left += stepLeft;
        right += stepRight;
        busLeft_[i] *= left;
        busRight_[i] *= right;
    }
    gainLeft_ = targetLeft;
    gainRight_ = targetRight;

    if (ahead > 0) {
        // The look-ahead at the new gain, apart: the bus keeps its sums for the next chunk.
        for (int i = 0; i < ahead; ++i) {
            aheadLeft_[i] = busLeft_[frames + i] * targetLeft;
            aheadRight_[i] = busRight_[frames + i] * targetRight;
        }
        limiter_.Process(busLeft_.data(), busRight_.data(), frames, aheadLeft_.data(),
                         aheadRight_.data());
    }
    for (int i = 0; i < frames; ++i) {
        out[2 * i] = std::clamp(busLeft_[i], -1.0f, 1.0f);
        out[2 * i + 1] = std::clamp(busRight_[i], -1.0f, 1.0f);
    }
}

}  // namespace orvane
