// Mixing cost: nanoseconds of audio-thread time per voice per rendered frame, all voices
// sounding at once, each on its own sound buffer (16-bit stereo, as the shipped bells), so that
// every voice reads different memory. Median of 10 rounds, with the minimum and maximum.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "BenchRegistry.h"
#include "sound/core/Mixer.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double median = -1;
    double min = -1;
    double max = -1;
};

Figures MixNsPerVoiceFrame(int voices, bool limiter = true) {
    constexpr int kRounds = 10;
    constexpr int kBuffer = 128;
    constexpr int kRoundFrames = 4800;  // 0.1 s per round
    constexpr std::int64_t kSoundFrames = kRounds * kRoundFrames + 48000;
    std::vector<std::shared_ptr<orvane::SampleBuffer>> sounds;
    for (int v = 0; v < voices; ++v) {
        auto sound = std::make_shared<orvane::SampleBuffer>(2, 48000, kSoundFrames, true);
        std::int16_t* samples = sound->WritablePcm16();
        for (std::int64_t i = 0; i < kSoundFrames * 2; ++i) {
            samples[i] = static_cast<std::int16_t>(
                2000.0 * std::sin(0.001 * static_cast<double>(i) * (v + 1)));
        }
        sound->SetPeak(2000.0f / 32768.0f);
        sound->Publish(kSoundFrames);
        sounds.push_back(std::move(sound));
    }
    auto mixer = std::make_unique<orvane::Mixer>();
    mixer->SetLimiterEnabled(limiter);
    for (int v = 0; v < voices; ++v) {
        orvane::VoiceCommand play;
        play.voice = static_cast<std::uint16_t>(v);
        play.serial = static_cast<std::uint64_t>(v + 1);
        play.buffer = sounds[static_cast<std::size_t>(v)].get();
        play.startFrame = orvane::Mixer::kStartNow;
        mixer->Commands().Push(play);
    }
    std::vector<float> out(2 * kBuffer);
    mixer->Render(out.data(), kBuffer);
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int done = 0; done < kRoundFrames; done += kBuffer) {
            mixer->Render(out.data(), kBuffer);
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        rounds.push_back(ns / (static_cast<double>(kRoundFrames) * voices));
    }
    if (mixer->ActiveVoiceCount() != voices) {
        return {};
    }
    std::sort(rounds.begin(), rounds.end());
    return {rounds[rounds.size() / 2], rounds.front(), rounds.back()};
}

void PrintFigures(const std::string& name, const Figures& f) {
    bench::Print(name, f.median, "ns");
    bench::Print(name + "_min", f.min, "ns");
    bench::Print(name + "_max", f.max, "ns");
}

bench::Register mix64({"mix_ns_per_voice_frame_64"},
                      [] { PrintFigures("mix_ns_per_voice_frame_64", MixNsPerVoiceFrame(64)); });

bench::Register mix256({"mix_ns_per_voice_frame_256"},
                       [] { PrintFigures("mix_ns_per_voice_frame_256", MixNsPerVoiceFrame(256)); });

// The same without the limiter (its look-ahead mix and gain), to show what it costs.
bench::Register mix256Plain({"mix_ns_per_voice_frame_256_no_limiter"}, [] {
    PrintFigures("mix_ns_per_voice_frame_256_no_limiter", MixNsPerVoiceFrame(256, false));
});

}  // namespace
