#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "sound/core/Mixer.h"
#include "sound/core/PeakLimiter.h"

namespace orvane {
namespace {

// A sound made in memory: interleaved samples, `ready` frames of them published.
std::shared_ptr<SampleBuffer> MakeSound(int channels, std::int64_t frames, bool pcm16,
                                        unsigned seed, float amplitude, std::int64_t ready = -1) {
    auto sound = std::make_shared<SampleBuffer>(channels, 48000, frames, pcm16);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-amplitude, amplitude);
    float peak = 0.0f;
    for (std::int64_t i = 0; i < frames * channels; ++i) {
        const float v = value(random);
        if (pcm16) {
            sound->WritablePcm16()[i] = static_cast<std::int16_t>(std::lround(v * 32767.0f));
            peak =
                std::max(peak, std::abs(static_cast<float>(sound->WritablePcm16()[i])) / 32768.0f);
        } else {
            sound->WritableFloats()[i] = v;
            peak = std::max(peak, std::abs(v));
        }
    }
    sound->SetPeak(peak);
    sound->Publish(ready < 0 ? frames : ready);
    return sound;
}

struct Placed {
    std::shared_ptr<SampleBuffer> sound;
    std::int64_t start = 0;
    float gain = 1.0f;
    std::int64_t stop = std::numeric_limits<std::int64_t>::max();  // first frame not heard
};

// The plain sum of the voices, frame by frame, clamped to full scale: what the mixer must give
// while nothing reaches the limiter's ceiling.
std::vector<float> ScalarMix(const std::vector<Placed>& voices, std::int64_t frames,
                             bool clamp = true) {
    std::vector<float> out(static_cast<std::size_t>(2 * frames), 0.0f);
    for (const Placed& v : voices) {
        for (std::int64_t f = 0; f < v.sound->Frames(); ++f) {
            const std::int64_t at = v.start + f;
            if (at >= frames || at >= v.stop) {
                break;
            }
            const int right = v.sound->channels == 2 ? 1 : 0;
            out[2 * at] += v.sound->At(f, 0) * v.gain;
            out[2 * at + 1] += v.sound->At(f, right) * v.gain;
        }
    }
    for (float& s : out) {
        s = clamp ? std::clamp(s, -1.0f, 1.0f) : s;
    }
    return out;
}

void Play(Mixer& mixer, int voice, const Placed& placed) {
    VoiceCommand play;
    play.voice = static_cast<std::uint16_t>(voice);
    play.serial = static_cast<std::uint64_t>(voice + 1);
    play.buffer = placed.sound.get();
    play.startFrame = placed.start;
    play.gain = placed.gain;
    ASSERT_TRUE(mixer.Commands().Push(play));
}

// Renders `frames` in buffers whose sizes cycle through `sizes`.
std::vector<float> RenderIn(Mixer& mixer, std::int64_t frames, const std::vector<int>& sizes) {
    std::vector<float> out;
    std::size_t next = 0;
    while (static_cast<std::int64_t>(out.size()) < 2 * frames) {
        const int size = static_cast<int>(std::min<std::int64_t>(
            sizes[next++ % sizes.size()], frames - static_cast<std::int64_t>(out.size()) / 2));
        std::vector<float> buffer(static_cast<std::size_t>(2 * size));
        mixer.Render(buffer.data(), size);
        out.insert(out.end(), buffer.begin(), buffer.end());
    }
    return out;
}

// Every kind of sound (16-bit and float, mono and stereo), odd lengths and start frames, voices
// that end inside a buffer, buffers of odd sizes and larger than one chunk: the vector loops,
// their remainders and the look-ahead must add up to the plain sum. With many voices the
// limiter's look-ahead is mixed (their peaks add up past its ceiling) although the signal stays
// below it, so the result must not change either.
TEST(MixerKernels, MatchAScalarSumForOddSizesEndsAndTheLookAhead) {
    for (const int extra : {0, 40}) {
        std::vector<Placed> voices;
        voices.push_back({MakeSound(1, 1001, true, 1, 0.1f), 3, 0.9f});
        voices.push_back({MakeSound(2, 777, true, 2, 0.1f), 0, 1.0f});
        voices.push_back({MakeSound(1, 129, false, 3, 0.1f), 250, 0.5f});
        voices.push_back({MakeSound(2, 37, false, 4, 0.1f), 601, 1.0f});
        voices.push_back({MakeSound(2, 2000, true, 5, 0.1f), 1500, 0.7f});
        // Quiet voices whose peak bound still engages the limiter's look-ahead.
        for (int i = 0; i < extra; ++i) {
            voices.push_back({MakeSound(2, 900 + 13 * i, i % 2 == 0, 10 + i, 0.003f), 7 * i, 1.0f});
            voices.back().sound->SetPeak(0.05f);
        }
        const std::int64_t frames = 4000;
        const std::vector<float> expected = ScalarMix(voices, frames);
        for (const std::vector<int>& sizes :
             std::vector<std::vector<int>>{{128}, {1, 7, 127, 333}, {600, 511}}) {
            auto mixer = std::make_unique<Mixer>();
            for (std::size_t v = 0; v < voices.size(); ++v) {
                Play(*mixer, static_cast<int>(v), voices[v]);
            }
            const std::vector<float> got = RenderIn(*mixer, frames, sizes);
            ASSERT_EQ(got.size(), expected.size());
            float worst = 0.0f;
            std::size_t at = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                if (std::abs(got[i] - expected[i]) > worst) {
                    worst = std::abs(got[i] - expected[i]);
                    at = i;
                }
            }
            EXPECT_LT(worst, 2e-6f) << "voices " << voices.size() << ", first buffer " << sizes[0]
                                    << ", frame " << at / 2;
            EXPECT_EQ(mixer->ActiveVoiceCount(), 0) << "every voice has ended";
        }
    }
}

// A voice on a sound still decoding plays what is there, waits at the decoded end while the
// look-ahead is mixed past it, and goes on with the next frame once more is published.
TEST(MixerKernels, AVoiceWaitsAtTheDecodedEndAlsoWithTheLookAhead) {
    const auto partial = MakeSound(1, 1000, true, 21, 0.2f, 200);
    auto owned = std::make_unique<Mixer>();
    Mixer& mixer = *owned;
    Play(mixer, 0, {partial, 0, 1.0f});
    // Silent voices of full-scale peak keep the limiter's look-ahead in every chunk.
    std::vector<std::shared_ptr<SampleBuffer>> quiet;
    for (int i = 0; i < 4; ++i) {
        quiet.push_back(MakeSound(2, 48000, false, 30 + i, 0.0f));
        quiet.back()->SetPeak(1.0f);
        Play(mixer, 1 + i, {quiet.back(), 0, 1.0f});
    }
    const std::vector<float> first = RenderIn(mixer, 384, {128});
    for (int f = 0; f < 200; ++f) {
        ASSERT_NEAR(first[2 * f], partial->At(f, 0), 1e-6f) << f;
    }
    for (int f = 200; f < 384; ++f) {
        ASSERT_EQ(first[2 * f], 0.0f) << "waits, frame " << f;
    }
    partial->Publish(1000);
    const std::vector<float> rest = RenderIn(mixer, 800, {128});
    for (int f = 0; f < 800; ++f) {
        ASSERT_NEAR(rest[2 * f], partial->At(200 + f, 0), 1e-6f) << "goes on, frame " << f;
    }
}

// The limiter's gain, computed the plain way: for every frame the deepest need within the
// look-ahead (its first frame), approached in a straight line.
class ReferenceLimiter {
public:
    explicit ReferenceLimiter(int lookAhead, float release)
        : lookAhead_(lookAhead), release_(release) {}
    void Process(float* left, float* right, int frames, const float* aheadL, const float* aheadR) {
        std::vector<float> need;
        const auto needOf = [](float l, float r) {
            const float peak = std::max(std::abs(l), std::abs(r));
            return peak > PeakLimiter::kCeiling ? PeakLimiter::kCeiling / peak : 1.0f;
        };
        for (int i = 0; i < frames; ++i) {
            need.push_back(needOf(left[i], right[i]));
        }
        for (int i = 0; i < lookAhead_; ++i) {
            need.push_back(needOf(aheadL[i], aheadR[i]));
        }
        for (int i = 0; i < frames; ++i) {
            int at = i;
            for (int j = i + 1; j <= i + lookAhead_; ++j) {
                if (need[j] < need[at]) {
                    at = j;
                }
            }
            float gain = gain_;
            if (need[at] < gain) {
                gain -= (gain - need[at]) / static_cast<float>(at - i + 1);
            } else {
                gain = std::min({need[at], 1.0f, gain + std::max((1.0f - gain) * release_, 1e-5f)});
            }
            gain = std::min(gain, need[i]);
            gain_ = gain;
            if (gain < 1.0f) {
                left[i] = std::clamp(left[i] * gain, -PeakLimiter::kCeiling, PeakLimiter::kCeiling);
                right[i] =
                    std::clamp(right[i] * gain, -PeakLimiter::kCeiling, PeakLimiter::kCeiling);
            }
        }
    }

private:
    int lookAhead_;
    float release_;
    float gain_ = 1.0f;
};

// Bursts of peaks (repeated values included, so that ties within the window count) through
// buffers of several sizes: the limiter's running window gives the same samples as the plain
// search.
TEST(MixerKernels, LimiterWindowMatchesThePlainSearch) {
    PeakLimiter limiter(48000);
    const int ahead = limiter.LookAhead();
    ReferenceLimiter reference(ahead, static_cast<float>(1.0 - std::exp(-1.0 / (48000 * 0.060))));
    std::mt19937 random(5);
    std::uniform_real_distribution<float> quiet(-0.5f, 0.5f);
    std::uniform_int_distribution<int> roll(0, 99);
    const std::vector<float> levels{1.5f, 1.2f, 1.5f, 3.0f};
    for (const int frames : {128, 1, 97, 512, 64, 300, 128, 128}) {
        std::vector<float> l(static_cast<std::size_t>(frames + ahead));
        std::vector<float> r(l.size());
        for (std::size_t i = 0; i < l.size(); ++i) {
            const int chance = roll(random);
            l[i] = chance < 6 ? levels[static_cast<std::size_t>(chance % 4)] : quiet(random);
            r[i] = chance == 7 ? -2.0f : quiet(random);
        }
        std::vector<float> l2 = l;
        std::vector<float> r2 = r;
        limiter.Process(l.data(), r.data(), frames, l.data() + frames, r.data() + frames);
        reference.Process(l2.data(), r2.data(), frames, l2.data() + frames, r2.data() + frames);
        for (int i = 0; i < frames; ++i) {
            ASSERT_EQ(l[static_cast<std::size_t>(i)], l2[static_cast<std::size_t>(i)]) << i;
            ASSERT_EQ(r[static_cast<std::size_t>(i)], r2[static_cast<std::size_t>(i)]) << i;
        }
    }
}

// The largest difference between two renders, and its frame.
std::pair<float, std::size_t> WorstDifference(const std::vector<float>& a,
                                              const std::vector<float>& b) {
    float worst = 0.0f;
    std::size_t at = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (std::abs(a[i] - b[i]) > worst) {
            worst = std::abs(a[i] - b[i]);
            at = i / 2;
        }
    }
    return {worst, at};
}

// Starts own voices at given frames, each at the first frame of a chunk of its own.
class StartAt : public Mixer::ChunkHook {
  public:
    explicit StartAt(std::vector<Placed> voices) : voices_(std::move(voices)) {}
    int BeforeChunk(Mixer& mixer, std::int64_t chunkStart, int frames) override {
        std::int64_t next = chunkStart + frames;
        for (std::size_t v = 0; v < voices_.size(); ++v) {
            if (voices_[v].start == chunkStart) {
                mixer.StartOwnVoice(static_cast<int>(v), voices_[v].sound.get(), chunkStart,
                                    voices_[v].gain);
            } else if (voices_[v].start > chunkStart) {
                next = std::min(next, voices_[v].start);
            }
        }
        return static_cast<int>(next - chunkStart);
    }

  private:
    std::vector<Placed> voices_;
};

// Voices that start between buffers within the look-ahead already mixed (a play command for a
// frame just ahead, one for "now", own voices started by the chunk hook), one that is stopped,
// and voices that end: each must be heard from its exact frame, never lost or doubled in the
// look-ahead carried from one chunk to the next.
TEST(MixerKernels, VoicesChangingWithinTheCarriedLookAheadAddUpToThePlainSum) {
    std::vector<Placed> placed;
    // Quiet voices whose peak bound keeps the look-ahead in every chunk.
    for (int i = 0; i < 40; ++i) {
        placed.push_back({MakeSound(2, 2500 + 17 * i, i % 2 == 0, 40 + i, 0.003f), 5 * i, 1.0f});
        placed.back().sound->SetPeak(0.05f);
    }
    const Placed ahead{MakeSound(2, 900, true, 91, 0.1f), 660, 0.8f, 1200};
    const Placed now{MakeSound(1, 300, false, 92, 0.1f), 640, 1.0f};
    const std::vector<Placed> own{{MakeSound(1, 500, true, 93, 0.1f), 301, 1.0f},
                                  {MakeSound(2, 400, false, 94, 0.1f), 302, 0.5f},
                                  {MakeSound(2, 700, true, 95, 0.1f), 1210, 1.0f}};
    std::vector<Placed> all = placed;
    all.push_back(ahead);
    all.push_back(now);
    all.insert(all.end(), own.begin(), own.end());
    const std::int64_t frames = 3500;
    const std::vector<float> expected = ScalarMix(all, frames);

    for (const std::vector<int>& sizes :
         std::vector<std::vector<int>>{{128}, {1, 7, 127, 333}, {600, 511}, {40}}) {
        auto mixer = std::make_unique<Mixer>();
        StartAt hook(own);
        mixer->SetChunkHook(&hook);
        for (std::size_t v = 0; v < placed.size(); ++v) {
            Play(*mixer, static_cast<int>(v), placed[v]);
        }
        std::vector<float> got = RenderIn(*mixer, 640, sizes);
        Play(*mixer, 100, ahead);
        VoiceCommand startNow;
        startNow.voice = 101;
        startNow.serial = 500;
        startNow.buffer = now.sound.get();
        startNow.startFrame = Mixer::kStartNow;
        ASSERT_TRUE(mixer->Commands().Push(startNow));
        std::vector<float> more = RenderIn(*mixer, 1200 - 640, sizes);
        got.insert(got.end(), more.begin(), more.end());
        VoiceCommand stop;
        stop.kind = VoiceCommand::Kind::kStop;
        stop.voice = 100;
        stop.serial = 501;
        ASSERT_TRUE(mixer->Commands().Push(stop));
        more = RenderIn(*mixer, frames - 1200, sizes);
        got.insert(got.end(), more.begin(), more.end());

        ASSERT_EQ(got.size(), expected.size());
        const auto [worst, at] = WorstDifference(got, expected);
        EXPECT_LT(worst, 2e-6f) << "first buffer " << sizes[0] << ", frame " << at;
        EXPECT_EQ(mixer->ActiveVoiceCount(), 0) << "every voice has ended";
    }
}

// A chord far past full scale, with voices entering and ending at odd frames, through buffers of
// odd sizes: what leaves the mixer is the plain sum through the plain limiter over the whole
// signal, whichever look-ahead was carried over from the chunk before.
TEST(MixerKernels, ALimitedChordMatchesThePlainLimiterOverTheWholeSignal) {
    std::vector<Placed> voices;
    for (int i = 0; i < 7; ++i) {
        voices.push_back({MakeSound(i % 3 == 0 ? 1 : 2, 700 + 211 * i, i % 2 == 0, 60 + i, 0.45f),
                          13 + 97 * i, 1.0f});
    }
    const std::int64_t frames = 3000;
    const std::vector<float> sum = ScalarMix(voices, frames, false);
    std::vector<float> left(static_cast<std::size_t>(frames));
    std::vector<float> right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = sum[2 * i];
        right[i] = sum[2 * i + 1];
    }
    ASSERT_GT(*std::max_element(left.begin(), left.end()), 1.2f) << "the limiter must work";
    PeakLimiter limiter(48000);
    ReferenceLimiter reference(limiter.LookAhead(),
                               static_cast<float>(1.0 - std::exp(-1.0 / (48000 * 0.060))));
    const std::vector<float> silence(static_cast<std::size_t>(limiter.LookAhead()), 0.0f);
    reference.Process(left.data(), right.data(), static_cast<int>(frames), silence.data(),
                      silence.data());
    std::vector<float> expected(sum.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        expected[2 * i] = left[i];
        expected[2 * i + 1] = right[i];
    }
    for (const std::vector<int>& sizes :
         std::vector<std::vector<int>>{{128}, {1, 7, 127, 333}, {600, 511}, {48, 49}}) {
        auto mixer = std::make_unique<Mixer>();
        for (std::size_t v = 0; v < voices.size(); ++v) {
            Play(*mixer, static_cast<int>(v), voices[v]);
        }
        const std::vector<float> got = RenderIn(*mixer, frames, sizes);
        ASSERT_EQ(got.size(), expected.size());
        const auto [worst, at] = WorstDifference(got, expected);
        EXPECT_LT(worst, 1e-5f) << "first buffer " << sizes[0] << ", frame " << at;
        float peak = 0.0f;
        for (float s : got) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_LE(peak, PeakLimiter::kCeiling);
    }
}

}  // namespace
}  // namespace orvane
