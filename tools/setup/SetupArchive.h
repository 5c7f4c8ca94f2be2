#pragma once

// The chime library installer payload: a setup program (the stub) followed by an archive of
// files and a fixed-size trailer that locates the archive.
//
//   payload  = stub bytes | archive | trailer
//   archive  = "ORVARCH1" | u32 entry count | entries
//   entry    = u16 path length | path bytes | u64 data size | data bytes
//   trailer  = "ORVSETP1" | u64 archive offset | u64 archive size | u32 CRC-32 of the archive
//              | u32 zero
//
// Integers are little-endian. Paths are relative, "/"-separated, and name files below the
// folder the setup program lives in. Plain C++ and the standard library only: the stub is built
// from this code and must not pull in anything else.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::setup {

inline constexpr std::string_view kArchiveMagic = "ORVARCH1";
inline constexpr std::string_view kTrailerMagic = "ORVSETP1";
inline constexpr std::size_t kTrailerSize = 32;
inline constexpr std::size_t kMaxPathLength = 1024;
inline constexpr std::uint32_t kMaxEntryCount = 100000;

// Exit codes of the setup program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitWriteFailed = 1;  // the payload was sound, some file was not written
inline constexpr int kExitBadPayload = 2;   // corrupt payload or unsafe path: nothing written
inline constexpr int kExitNoSelf = 3;       // the program could not find or read itself

using Bytes = std::vector<unsigned char>;

// CRC-32 (IEEE 802.3, reflected, as used by zip and PNG).
std::uint32_t Crc32(std::span<const unsigned char> data);

// True when path is a relative "/"-separated path whose every component is a plain name: not
// empty, not "." or "..", without "\" and without NUL, at most kMaxPathLength bytes.
bool IsSafeRelativePath(std::string_view path);

struct Trailer {
    std::uint64_t archiveOffset = 0;
    std::uint64_t archiveSize = 0;
    std::uint32_t checksum = 0;
};

// Reads the trailer (exactly kTrailerSize bytes) of a payload of payloadSize bytes. False when
// the magic is wrong or the archive it locates does not end right before the trailer.
bool ParseTrailer(std::span<const unsigned char> trailerBytes, std::uint64_t payloadSize,
                  Trailer& trailer);

// One file of a parsed archive: its path and where its data lies in the archive buffer.
struct ArchiveEntry {
    std::string path;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;
};

// Parses a whole archive. Succeeds only when the magic is right, every entry lies inside the
// buffer, the entries fill the buffer exactly and every path is safe (IsSafeRelativePath); on
// failure entries is left empty and error says why.
bool ParseArchive(std::span<const unsigned char> archive, std::vector<ArchiveEntry>& entries,
                  std::string& error);

struct PackedFile {
    std::string path;
    Bytes data;
};

// Encodes files as an archive, in the given order. Paths are written as given, unchecked:
// callers that take paths from outside check them with IsSafeRelativePath.
Bytes BuildArchive(const std::vector<PackedFile>& files);

// The trailer for an archive that starts at archiveOffset in the payload.
Bytes BuildTrailer(std::uint64_t archiveOffset, std::span<const unsigned char> archive);

// stub | archive | trailer.
Bytes BuildPayload(std::span<const unsigned char> stub, const std::vector<PackedFile>& files);

}  // namespace orvane::setup
