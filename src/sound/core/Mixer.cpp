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

// Adds frames [position, position + frames) of `buffer`, times `gain`, to the bus.
void AddSpan(const SampleBuffer& buffer, std::int64_t position, int frames, float gain,
             float* left, float* right) {
    if (buffer.IsPcm16()) {
        const std::int16_t* src = buffer.Pcm16() + position * buffer.channels;
        const float scaled = gain * (1.0f / 32768.0f);
        if (buffer.channels == 1) {
            AddMonoPcm(src, left, right, frames, scaled);
        } else {
            AddStereoPcm(src, left, right, frames, scaled);
        }
    } else {
        const float* src = buffer.Floats() + position * buffer.channels;
        if (buffer.channels == 1) {
            AddMonoFloat(src, left, right, frames, gain);
        } else {
            AddStereoFloat(src, left, right, frames, gain);
        }
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
        voice.buffer = command.buffer;
        voice.position = 0;
        voice.startFrame = command.startFrame == kStartNow
                               ? blockStart
                               : std::max(command.startFrame, blockStart);
        voice.serial = command.serial;
        voice.gain = command.gain;
        voice.started = false;
        Activate(index);
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
    voice.buffer = buffer;
    voice.position = 0;
    voice.startFrame = std::max(startFrame, FramesRendered());
    voice.serial = tag;
    voice.gain = gain;
    voice.started = tag == 0;  // an untagged voice sends no start event
    Activate(index);
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
        MixChunk(chunkStart, chunk);
        Finish(out + 2 * done, chunkStart + chunk, chunk);
        done += chunk;
    }
    framesRendered_.store(blockStart + frames, std::memory_order_release);
}

void Mixer::MixChunk(std::int64_t chunkStart, int frames) {
    std::fill(busLeft_.begin(), busLeft_.begin() + frames, 0.0f);
    std::fill(busRight_.begin(), busRight_.begin() + frames, 0.0f);
    const std::int64_t chunkEnd = chunkStart + frames;
    // Voices that end within this chunk count too.
    chunkBound_ = PeakBound();
    int i = 0;
    while (i < activeCount_) {
        const int index = active_[i];
        Voice& voice = voices_[index];
        if (voice.startFrame >= chunkEnd) {
            ++i;
            continue;
        }
        const int offset =
            static_cast<int>(std::max<std::int64_t>(0, voice.startFrame - chunkStart));
        if (!voice.started) {
            voice.started = true;
            const std::int64_t frame = chunkStart + offset;
            if (index < kVoiceCount) {
                startedAt_[index].store(frame, std::memory_order_release);
            }
            if (!starts_.Push({static_cast<std::uint16_t>(index), voice.serial, frame})) {
                droppedStarts_.fetch_add(1, std::memory_order_relaxed);
            }
        }
        // What is decoded so far; a sound still decoding waits at its decoded end.
        const std::int64_t ready = voice.buffer->ReadyFrames();
        const std::int64_t length = voice.buffer->Frames();
        const int n = static_cast<int>(std::min<std::int64_t>(frames - offset, ready - voice.position));
        if (n > 0) {
            AddSpan(*voice.buffer, voice.position, n, voice.gain, busLeft_.data() + offset,
                    busRight_.data() + offset);
            voice.position += n;
        }
        if (voice.position >= length && ready >= length) {
            Deactivate(index);
            if (index < kVoiceCount) {
                state_[index].store(voice.serial * 2, std::memory_order_release);
            }
            // The voice that moved into slot i is visited next.
            continue;
        }
        ++i;
    }
}

void Mixer::MixAhead(std::int64_t chunkEnd, int frames) {
    std::fill(aheadLeft_.begin(), aheadLeft_.begin() + frames, 0.0f);
    std::fill(aheadRight_.begin(), aheadRight_.begin() + frames, 0.0f);
    const std::int64_t aheadEnd = chunkEnd + frames;
    for (int i = 0; i < activeCount_; ++i) {
        const Voice& voice = voices_[active_[i]];
        if (voice.startFrame >= aheadEnd) {
            continue;
        }
        const int offset = static_cast<int>(std::max<std::int64_t>(0, voice.startFrame - chunkEnd));
        const std::int64_t position = voice.startFrame >= chunkEnd ? 0 : voice.position;
        const int n = static_cast<int>(
            std::min<std::int64_t>(frames - offset, voice.buffer->ReadyFrames() - position));
        if (n > 0) {
            AddSpan(*voice.buffer, position, n, voice.gain, aheadLeft_.data() + offset,
                    aheadRight_.data() + offset);
        }
    }
}

float Mixer::PeakBound() const {
    float bound = 0.0f;
    for (int i = 0; i < activeCount_; ++i) {
        const Voice& voice = voices_[active_[i]];
        bound += voice.buffer->Peak() * std::abs(voice.gain);
    }
    return bound;
}

void Mixer::Finish(float* out, std::int64_t chunkEnd, int frames) {
    // A change of the gain is ramped over one chunk so that it does not click.
    const std::uint32_t word = volumeWord_.load(std::memory_order_relaxed);
    const float targetLeft = GainOf(word);
    const float targetRight = GainOf(word >> 16);
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

    // The limiter runs when the voices could reach its ceiling, and until it has recovered.
    const float loudest = std::max({targetLeft, targetRight, left, right});
    if (limiterOn_.load(std::memory_order_relaxed) &&
        (limiter_.Reducing() || chunkBound_ * loudest > PeakLimiter::kCeiling)) {
        const int ahead = limiter_.LookAhead();
        MixAhead(chunkEnd, ahead);
        for (int i = 0; i < ahead; ++i) {
            aheadLeft_[i] *= targetLeft;
            aheadRight_[i] *= targetRight;
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
