#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "Belfry.h"
#include "BellCatalogue.h"
#include "BellModel.h"
#include "ModalSynth.h"
#include "WaveFile.h"

using namespace orvane::bellsynth;

namespace {

constexpr int kRate = 48000;

// Amplitude of the component of x[begin, begin + count) at freqHz (Goertzel, Hann window).
double ToneLevel(const std::vector<double>& x, std::size_t begin, std::size_t count,
                 double freqHz) {
    const double w = 2.0 * std::numbers::pi * freqHz / kRate;
    double re = 0.0, im = 0.0;
    for (std::size_t n = 0; n < count; ++n) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / count);
        re += hann * x[begin + n] * std::cos(w * n);
        im -= hann * x[begin + n] * std::sin(w * n);
    }
    return 4.0 * std::hypot(re, im) / count;
}

double Peak(const std::vector<double>& x, std::size_t begin, std::size_t end) {
    double p = 0.0;
    for (std::size_t n = begin; n < end && n < x.size(); ++n) {
        p = std::max(p, std::abs(x[n]));
    }
    return p;
}

struct TempDir {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("bellsynth_test_" + std::to_string(::getpid()));
    TempDir() { std::filesystem::create_directories(path); }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name, std::ios::binary) << text;
        return (path / name).string();
    }
};

std::vector<short> ReadWave(const std::string& path, SF_INFO& info) {
    info = SF_INFO{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f == nullptr) {
        throw std::runtime_error("cannot open " + path);
    }
    std::vector<short> data(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(f, data.data(), info.frames);
    sf_close(f);
    return data;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(BellCatalogue, ReadsTheProgramsCatalogue) {
    const auto bells = ReadBellCatalogue(ORVANE_SOURCE_DIR "/data/Data/desc.kli");
    ASSERT_EQ(bells.size(), 15u);
    EXPECT_EQ(bells.front().soundFile, "bell00.wav");
    EXPECT_DOUBLE_EQ(bells.front().weightKg, 4800.0);
    EXPECT_EQ(bells.back().soundFile, "bell14.wav");
    EXPECT_DOUBLE_EQ(bells.back().weightKg, 3.0);
    EXPECT_EQ(bells.back().index, 14);
}

TEST(BellCatalogue, AcceptsAnyLineEndAndRejectsBadRows) {
    TempDir dir;
    const auto ok = ReadBellCatalogue(dir.Write(
        "ok.kli", "\xC1;a.wav;x;y;10;1;2;n\r\n\r\nB;b.WAV;x;y; 2.5 ;1;2;n\rC;c.wav;x;y;7"));
    ASSERT_EQ(ok.size(), 3u);
    EXPECT_EQ(ok[1].soundFile, "b.WAV");
    EXPECT_DOUBLE_EQ(ok[1].weightKg, 2.5);

    for (const char* bad : {"A;a.wav;x;y\r\n", "A;a.wav;x;y;heavy\r\n", "A;a.wav;x;y;0\r\n",
                            "A;a.wav;x;y;-3\r\n", "A;../a.wav;x;y;3\r\n", "A;a.bmp;x;y;3\r\n",
                            "A;a.wav;x;y;3\r\nB;a.wav;x;y;4\r\n", "\r\n"}) {
        EXPECT_THROW(ReadBellCatalogue(dir.Write("bad.kli", bad)), std::runtime_error) << bad;
    }
    EXPECT_THROW(ReadBellCatalogue((dir.path / "missing.kli").string()), std::runtime_error);
}

TEST(BellModel, PitchFollowsWeightAndPartialsKeepTheirPlaces) {
    const BellModel great = MakeBellModel({0, "bell00.wav", 4800.0});
    const BellModel small = MakeBellModel({14, "bell14.wav", 3.0});
    EXPECT_GT(great.primeHz, 80.0);
    EXPECT_LT(great.primeHz, 110.0);
    EXPECT_GT(small.primeHz, 900.0);
    EXPECT_LT(small.primeHz, 1300.0);

    for (const BellModel* bell : {&great, &small}) {
        ASSERT_GE(bell->partials.size(), 10u);
        const auto& p = bell->partials;
        EXPECT_EQ(p[0].name, "hum");
        EXPECT_NEAR(p[0].ratio, 0.52, 0.03);
        EXPECT_DOUBLE_EQ(p[1].ratio, 1.0);
        EXPECT_GE(p[2].ratio, 1.1);  // tierce, untuned
        EXPECT_LE(p[2].ratio, 1.25);
        EXPECT_GE(p[3].ratio, 1.4);  // quint
        EXPECT_LE(p[3].ratio, 1.6);
        EXPECT_GE(p[4].ratio, 1.97);  // nominal
        EXPECT_LE(p[4].ratio, 2.11);
        for (std::size_t i = 1; i < p.size(); ++i) {
            EXPECT_GT(p[i].freqHz, p[i - 1].freqHz);
            EXPECT_LE(p[i].t60S, p[0].t60S) << "the hum rings longest";
            EXPECT_LT(p[i].freqHz + p[i].splitHz, 16000.0);
        }
    }
    EXPECT_GT(great.partials[0].t60S, 4.0 * small.partials[0].t60S);
    EXPECT_GT(great.peakDbfs, small.peakDbfs);
    EXPECT_LT(great.pan, small.pan);

    // Deterministic: the same row gives the same bell; another row a different one.
    const BellModel again = MakeBellModel({0, "bell00.wav", 4800.0});
    EXPECT_EQ(again.primeHz, great.primeHz);
    EXPECT_EQ(again.partials[2].ratio, great.partials[2].ratio);
    EXPECT_NE(MakeBellModel({0, "other.wav", 4800.0}).partials[2].ratio, great.partials[2].ratio);
}

TEST(ModalSynth, RendersThePartialsAndDecays) {
    const BellModel bell = MakeBellModel({7, "bell07.wav", 64.0});
    const std::vector<double> x = RenderBell(bell, kRate);
    ASSERT_GT(x.size(), static_cast<std::size_t>(kRate * bell.partials[0].t60S));

    // One second of steady ringing after the strike: each of the five lower partials stands far
    // above the gaps between them.
    const std::size_t from = kRate / 2;
    const std::size_t count = kRate;
    for (int i = 0; i < 5; ++i) {
        const double f = bell.partials[i].freqHz;
        const double gap = 0.5 * (f + bell.partials[i + 1].freqHz);
        EXPECT_GT(ToneLevel(x, from, count, f), 20.0 * ToneLevel(x, from, count, gap))
            << bell.partials[i].name;
    }
    EXPECT_EQ(x[0], 0.0) << "the strike starts from rest";
    const double start = Peak(x, 0, kRate / 10);
    EXPECT_GT(start, 0.0);
    EXPECT_LT(Peak(x, x.size() - kRate / 10, x.size()), 0.001 * start) << "rendered past -60 dB";
}

TEST(Belfry, ChannelsDifferAndCarryTheBell) {
    const BellModel bell = MakeBellModel({12, "bell12.wav", 7.0});
    const std::vector<double> dry = RenderBell(bell, kRate);
    const StereoSound s = PlaceInBelfry(dry, bell, kRate);
    ASSERT_EQ(s.left.size(), s.right.size());
    ASSERT_GT(s.left.size(), dry.size());
    double ll = 0.0, rr = 0.0, lr = 0.0;
    for (std::size_t n = 0; n < s.left.size(); ++n) {
        ll += s.left[n] * s.left[n];
        rr += s.right[n] * s.right[n];
        lr += s.left[n] * s.right[n];
    }
    EXPECT_GT(bell.pan, 0.3);
    EXPECT_GT(rr, 2.0 * ll) << "a small bell sounds from the right";
    EXPECT_LT(lr / std::sqrt(ll * rr), 0.98) << "the channels are decorrelated";
    // The reverberation keeps sounding after the dry sound has been cut.
    std::vector<double> cut(dry.begin(), dry.begin() + kRate / 2);
    const StereoSound tail = PlaceInBelfry(cut, bell, kRate);
    EXPECT_GT(Peak(tail.left, kRate / 2 + kRate / 10, kRate),
              0.003 * Peak(tail.left, 0, kRate / 2));
}

TEST(WaveFile, NormalisesTrimsFadesAndIsReproducible) {
    TempDir dir;
    const BellModel bell = MakeBellModel({3, "bell03.wav", 640.0});
    const std::vector<double> dry = RenderBell(bell, kRate);
    const std::string a = (dir.path / "a.wav").string();
    const std::string b = (dir.path / "b.wav").string();
    const WaveFileInfo info = WriteFinishedWave(a, {dry}, kRate, -4.0);
    WriteFinishedWave(b, {dry}, kRate, -4.0);
    EXPECT_EQ(Bytes(a), Bytes(b));
    EXPECT_FALSE(std::filesystem::exists(a + ".part"));

    SF_INFO sf;
    const std::vector<short> pcm = ReadWave(a, sf);
    EXPECT_EQ(sf.samplerate, kRate);
    EXPECT_EQ(sf.channels, 1);
    EXPECT_EQ(sf.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_NEAR(info.seconds, static_cast<double>(sf.frames) / kRate, 1e-9);
    EXPECT_LT(sf.frames, static_cast<sf_count_t>(dry.size()));
    int peak = 0;
    for (short s : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_NEAR(20.0 * std::log10(peak / 32767.0), -4.0, 0.01);
    EXPECT_EQ(pcm.back(), 0);
    // The last 0.2 s before the fade lie around -60 dB of the peak, not far above.
    int tail = 0;
    for (std::size_t n = pcm.size() - kRate / 4; n < pcm.size() - kRate / 20; ++n) {
        tail = std::max(tail, std::abs(static_cast<int>(pcm[n])));
    }
    EXPECT_LT(tail, peak / 400);

    EXPECT_THROW(WriteFinishedWave(a, {std::vector<double>(100, 0.0)}, kRate, -4.0),
                 std::runtime_error);
    EXPECT_THROW(WriteFinishedWave((dir.path / "no" / "such.wav").string(), {dry}, kRate, -4.0),
                 std::runtime_error);
}
