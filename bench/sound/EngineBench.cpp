// Mixing cost: nanoseconds of audio-thread time per voice per rendered frame, all voices
// sounding at once (stereo sounds, staggered so that they read different memory).

#include <QTemporaryDir>
#include <chrono>

#include "BenchRegistry.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/SoundFiles.h"

namespace {

using Clock = std::chrono::steady_clock;

double MixNsPerVoiceFrame(int voices) {
    QTemporaryDir dir;
    constexpr int kSounds = 16;
    QStringList paths;
    for (int i = 0; i < kSounds; ++i) {
        paths << dir.filePath(QString("bell%1.wav").arg(i));
        if (!bench::WriteBellSound(paths.back(), 2, 12.0, 100.0 + 37.0 * i)) {
            return -1.0;
        }
    }
    auto output =
        std::make_unique<orvane::OfflineOutput>(orvane::OfflineOutput::Options{48000, 128, true});
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    for (int v = 0; v < voices; ++v) {
        orvane::AudioEngine::VoiceId id = -1;
        if (engine.OpenVoice(paths[v % kSounds], id) != orvane::EngineError::kNone) {
            return -1.0;
        }
        engine.PlayVoiceAt(id, static_cast<std::int64_t>(v) * 173);
    }
    offline->Render(48000);  // every voice has started
    if (engine.AudioMixer().ActiveVoiceCount() != voices) {
        return -1.0;
    }
    constexpr std::int64_t kFrames = 48000 * 8;
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        for (std::int64_t done = 0; done < kFrames / 3; done += 128) {
            offline->Render(128);
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        best = std::min(best, ns / (static_cast<double>(kFrames / 3) * voices));
    }
    if (engine.AudioMixer().ActiveVoiceCount() != voices) {
        return -1.0;
    }
    return best;
}

bench::Register mix({"mix_ns_per_voice_frame_64", "mix_ns_per_voice_frame_256"}, [] {
    bench::Print("mix_ns_per_voice_frame_64", MixNsPerVoiceFrame(64), "ns");
    bench::Print("mix_ns_per_voice_frame_256", MixNsPerVoiceFrame(256), "ns");
});

}  // namespace
