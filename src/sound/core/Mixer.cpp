#include "sound/core/Mixer.h"

#include <algorithm>

namespace orvane {

namespace {

void MixMono(const float* __restrict src, float* __restrict dst, int frames) {
    for (int i = 0; i < frames; ++i) {
        dst[2 * i] += src[i];
        dst[2 * i + 1] += src[i];
    }
}

void MixStereo(const float* __restrict src, float* __restrict dst, int frames) {
    const int n = 2 * frames;
    for (int i = 0; i < n; ++i) {
        dst[i] += src[i];
    }
}

float GainOf(std::uint32_t channelWord) {
    return static_cast<float>(channelWord & 0xFFFFu) / 65535.0f;
}

}  // namespace

Mixer::Mixer() {
    for (auto& s : state_) {
        s.store(0, std::memory_order_relaxed);
    }
    for (auto& s : startedAt_) {
        s.store(-1, std::memory_order_relaxed);
    }
}

void Mixer::Apply(const VoiceCommand& command, std::int64_t blockStart) {
    const int index = command.voice;
    Voice& voice = voices_[index];
    if (command.kind == VoiceCommand::Kind::kPlay && command.buffer != nullptr) {
        voice.samples = command.buffer->samples.data();
        voice.frames = command.buffer->Frames();
        voice.channels = command.buffer->channels;
        voice.position = 0;
        voice.startFrame = command.startFrame == kStartNow ? blockStart : command.startFrame;
        voice.serial = command.serial;
        voice.started = false;
        if (voice.listIndex < 0) {
            voice.listIndex = activeCount_;
            active_[activeCount_++] = command.voice;
        }
        startedAt_[index].store(-1, std::memory_order_relaxed);
        state_[index].store(command.serial * 2 + 1, std::memory_order_release);
    } else {
        Deactivate(index);
        voice.samples = nullptr;
        state_[index].store(command.serial * 2, std::memory_order_release);
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
        const int chunk = std::min(frames - done, kMaxChunkFrames);
        MixChunk(blockStart + done, chunk);
        Finish(out + 2 * done, chunk);
        done += chunk;
    }
    framesRendered_.store(blockStart + frames, std::memory_order_release);
}

void Mixer::MixChunk(std::int64_t chunkStart, int frames) {
    std::fill(bus_.begin(), bus_.begin() + 2 * frames, 0.0f);
    const std::int64_t chunkEnd = chunkStart + frames;
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
            startedAt_[index].store(frame, std::memory_order_release);
            if (!starts_.Push({static_cast<std::uint16_t>(index), voice.serial, frame})) {
                droppedStarts_.fetch_add(1, std::memory_order_relaxed);
            }
        }
        const int n = static_cast<int>(
            std::min<std::int64_t>(frames - offset, voice.frames - voice.position));
        if (n > 0) {
            const float* src = voice.samples + voice.position * voice.channels;
            if (voice.channels == 1) {
                MixMono(src, bus_.data() + 2 * offset, n);
            } else {
                MixStereo(src, bus_.data() + 2 * offset, n);
            }
            voice.position += n;
        }
        if (voice.position >= voice.frames) {
            Deactivate(index);
            state_[index].store(voice.serial * 2, std::memory_order_release);
            // The voice that moved into slot i is visited next.
            continue;
        }
        ++i;
    }
}

void Mixer::Finish(float* out, int frames) {
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
        out[2 * i] = std::clamp(bus_[2 * i] * left, -1.0f, 1.0f);
        out[2 * i + 1] = std::clamp(bus_[2 * i + 1] * right, -1.0f, 1.0f);
    }
    gainLeft_ = targetLeft;
    gainRight_ = targetRight;
}

}  // namespace orvane
