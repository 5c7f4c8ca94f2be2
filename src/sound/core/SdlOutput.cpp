#include "sound/core/SdlOutput.h"

#include <alsa/asoundlib.h>

#include "sound/core/AudioThreadPriority.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace orvane {

namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

SdlOutput::SdlOutput(int bufferFrames) : requestedFrames_(std::clamp(bufferFrames, 16, 4096)) {}

SdlOutput::~SdlOutput() {
    Stop();
}

bool SdlOutput::OpenDevice(int allowedChanges) {
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(requestedFrames_);
    wanted.callback = &SdlOutput::Callback;
    wanted.userdata = this;
    obtained_ = SDL_AudioSpec{};
    device_ = sdl_->OpenAudioDevice(nullptr, 0, &wanted, &obtained_, allowedChanges);
    return device_ != 0;
}

bool SdlOutput::Open() {
    if (device_ != 0) {
        return true;
    }
    if (sdl_ == nullptr && (sdl_ = SdlLibrary::Get()) == nullptr) {
        return false;
    }
    snd_lib_error_set_handler(&IgnoreAlsaError);
    if (!subsystemUp_) {
        // SIGTERM and SIGINT belong to the program, which closes its window on them.
        sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        subsystemUp_ = true;
    }
    bool opened = OpenDevice(SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE);
    if (opened && obtained_.format != AUDIO_F32SYS && obtained_.format != AUDIO_S16SYS) {
        // Some other sample format: let SDL convert from float.
        sdl_->CloseAudioDevice(device_);
        opened = OpenDevice(SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    }
    if (!opened || obtained_.channels != 2 || obtained_.freq <= 0 || obtained_.samples == 0) {
        // The audio subsystem stays up until Stop(): shutting it down joins the sound library's
        // device watcher thread, which sleeps in steps of 100 ms, and the start would wait for it.
        if (device_ != 0) {
            sdl_->CloseAudioDevice(device_);
            device_ = 0;
        }
        obtained_ = SDL_AudioSpec{};
        return false;
    }
    scratch_.assign(static_cast<std::size_t>(2 * std::max<int>(obtained_.samples, 1024)), 0.0f);
    priorityRaised_ = false;
    return true;
}

void SdlOutput::Start(AudioRenderer* renderer) {
    if (device_ == 0) {
        return;
    }
    sdl_->LockAudioDevice(device_);
    renderer_ = renderer;
    sdl_->UnlockAudioDevice(device_);
    sdl_->PauseAudioDevice(device_, 0);
}

void SdlOutput::Stop() {
    if (device_ != 0) {
        // Waits for a running callback to return.
        sdl_->CloseAudioDevice(device_);
        device_ = 0;
    }
    renderer_ = nullptr;
    if (subsystemUp_) {
        sdl_->QuitSubSystem(SDL_INIT_AUDIO);
        subsystemUp_ = false;
    }
    obtained_ = SDL_AudioSpec{};
}

void SdlOutput::Callback(void* user, Uint8* stream, int length) {
    static_cast<SdlOutput*>(user)->Fill(stream, length);
}

void SdlOutput::Fill(Uint8* stream, int length) {
    const auto now = std::chrono::steady_clock::now();
    if (!priorityRaised_) {
        // The device's thread is SDL's; it is ours to raise from its first callback on.
        RaiseAudioThreadPriority();
        priorityRaised_ = true;
    }
    if (renderer_ == nullptr) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
        return;
    }
    if (obtained_.format == AUDIO_F32SYS) {
        const int frames = length / static_cast<int>(2 * sizeof(float));
        renderer_->RenderAudio(reinterpret_cast<float*>(stream), frames, now);
        return;
    }
    // 16-bit device: render in pieces through the float scratch buffer.
    auto* out = reinterpret_cast<Sint16*>(stream);
    int frames = length / static_cast<int>(2 * sizeof(Sint16));
    const int room = static_cast<int>(scratch_.size() / 2);
    auto time = now;
    while (frames > 0) {
        const int n = std::min(frames, room);
        renderer_->RenderAudio(scratch_.data(), n, time);
        for (int i = 0; i < 2 * n; ++i) {
            out[i] =
                static_cast<Sint16>(std::lrint(std::clamp(scratch_[i], -1.0f, 1.0f) * 32767.0f));
        }
        out += 2 * n;
        frames -= n;
        time +=
            std::chrono::nanoseconds(static_cast<std::int64_t>(n) * 1'000'000'000 / obtained_.freq);
    }
}

}  // namespace orvane
