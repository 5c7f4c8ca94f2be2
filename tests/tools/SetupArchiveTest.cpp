#include "SetupArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::setup;

namespace {

Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::vector<PackedFile> SampleFiles() {
    return {{"Chime/small.kli", ToBytes("1;\xc7\xe0\xe7\xe2\xee\xed;study\\small\\a.kol")},
            {"Chime/study/small/a.kol", ToBytes("144\r\ns1\r\n\r\ns2\r\n")},
            {"Custom/empty.kol", {}},
            {"Custom/binary", {0x00, 0xFF, 0x0D, 0x0A, 0x0D, 0x00}}};
}

}  // namespace

TEST(SetupArchive, Crc32MatchesTheStandardCheckValue) {
    EXPECT_EQ(Crc32(ToBytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32({}), 0u);
}

TEST(SetupArchive, AcceptsOnlyPlainRelativePaths) {
    for (const char* good : {"Chime/small.kli", "Custom/a b.kol", "x", "Chime/study/great/..x"}) {
        EXPECT_TRUE(IsSafeRelativePath(good)) << good;
    }
    for (const char* bad : {"", "/etc/passwd", "..", "../x", "Chime/../../x", "Chime/..", "./x",
                            "Chime/./x", "a//b", "a/", "Chime\\small.kli", "..\\x"}) {
        EXPECT_FALSE(IsSafeRelativePath(bad)) << bad;
    }
    EXPECT_FALSE(IsSafeRelativePath(std::string_view("a\0b", 3)));
    EXPECT_FALSE(IsSafeRelativePath(std::string(kMaxPathLength + 1, 'a')));
    EXPECT_TRUE(IsSafeRelativePath(std::string(kMaxPathLength, 'a')));
}

TEST(SetupArchive, RoundTripKeepsPathsAndBytes) {
    const std::vector<PackedFile> files = SampleFiles();
    const Bytes archive = BuildArchive(files);
    std::vector<ArchiveEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseArchive(archive, entries, error)) << error;
    ASSERT_EQ(entries.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(entries[i].path, files[i].path);
        const Bytes data(archive.begin() + static_cast<std::ptrdiff_t>(entries[i].dataOffset),
                         archive.begin() + static_cast<std::ptrdiff_t>(entries[i].dataOffset +
                                                                       entries[i].dataSize));
        EXPECT_EQ(data, files[i].data) << files[i].path;
    }
}

TEST(SetupArchive, RejectsEveryTruncationAndTrailingBytes) {
    const Bytes archive = BuildArchive(SampleFiles());
    std::vector<ArchiveEntry> entries;
    std::string error;
    for (std::size_t length = 0; length < archive.size(); ++length) {
        const Bytes cut(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ParseArchive(cut, entries, error)) << "length " << length;
        EXPECT_TRUE(entries.empty());
    }
    Bytes longer = archive;
    longer.push_back(0);
    EXPECT_FALSE(ParseArchive(longer, entries, error));
    Bytes badMagic = archive;
    badMagic[0] = 'X';
    EXPECT_FALSE(ParseArchive(badMagic, entries, error));
}

TEST(SetupArchive, RejectsAnArchiveWithOneUnsafePath) {
    std::vector<PackedFile> files = SampleFiles();
    files.push_back({"Chime/../../escape.txt", ToBytes("x")});
    std::vector<ArchiveEntry> entries;
    std::string error;
    EXPECT_FALSE(ParseArchive(BuildArchive(files), entries, error));
    EXPECT_TRUE(entries.empty()) << "no entry of a refused archive may be used";
    EXPECT_NE(error.find("unsafe"), std::string::npos) << error;
}

TEST(SetupArchive, TrailerMustLocateAnArchiveEndingRightBeforeIt) {
    const Bytes stub = ToBytes("#!stub");
    const Bytes payload = BuildPayload(stub, SampleFiles());
    const std::span<const unsigned char> trailerBytes(
        payload.data() + payload.size() - kTrailerSize, kTrailerSize);
    Trailer trailer;
    ASSERT_TRUE(ParseTrailer(trailerBytes, payload.size(), trailer));
    EXPECT_EQ(trailer.archiveOffset, stub.size());
    EXPECT_EQ(trailer.archiveSize, payload.size() - stub.size() - kTrailerSize);

    EXPECT_FALSE(ParseTrailer(trailerBytes, payload.size() + 1, trailer)) << "grown payload";
    EXPECT_FALSE(ParseTrailer(trailerBytes, payload.size() - 1, trailer)) << "shrunk payload";
    EXPECT_FALSE(ParseTrailer(trailerBytes, kTrailerSize - 1, trailer));
    Bytes wrongMagic(trailerBytes.begin(), trailerBytes.end());
    wrongMagic[7] ^= 1;
    EXPECT_FALSE(ParseTrailer(wrongMagic, payload.size(), trailer));
    Bytes hugeOffset(trailerBytes.begin(), trailerBytes.end());
    hugeOffset[15] = 0xFF;  // offset far beyond the payload
    EXPECT_FALSE(ParseTrailer(hugeOffset, payload.size(), trailer));
}
