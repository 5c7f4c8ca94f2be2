#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "sound/EngineTestSupport.h"
#include "sound/core/SndfileLibrary.h"

namespace orvane {
namespace {

// The library is bound once on first use and reads what it wrote; a library that is not there
// binds nothing.
TEST(SndfileLibrary, LoadsOnFirstUseAndReadsAndWritesThroughIt) {
    SndfileLibrary missing;
    EXPECT_FALSE(missing.Load("liborvane-no-such-library.so.1"));
    ASSERT_NE(SndfileLibrary::Get(), nullptr);
    EXPECT_EQ(SndfileLibrary::Get(), SndfileLibrary::Get());

    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("written.wav")));
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* out = sndfile::Open(path.constData(), SFM_WRITE, &info);
    ASSERT_NE(out, nullptr) << sndfile::StrError(nullptr);
    const std::vector<float> frames = {0.25f, -0.5f, 0.75f, -1.0f, 0.0f, 0.5f};
    EXPECT_EQ(sndfile::WritefFloat(out, frames.data(), 3), 3);
    EXPECT_EQ(sndfile::Close(out), 0);

    SF_INFO read{};
    SNDFILE* in = sndfile::Open(path.constData(), SFM_READ, &read);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(read.frames, 3);
    EXPECT_EQ(read.channels, 2);
    std::vector<float> back(6, 9.0f);
    EXPECT_EQ(sndfile::ReadfFloat(in, back.data(), 3), 3);
    EXPECT_EQ(back, frames);
    EXPECT_EQ(sndfile::Error(in), SF_ERR_NO_ERROR);
    sndfile::Close(in);

    SF_INFO none{};
    EXPECT_EQ(sndfile::Open("/nonexistent/orvane.wav", SFM_READ, &none), nullptr);
}

}  // namespace
}  // namespace orvane
