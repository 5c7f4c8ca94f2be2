#include "SetupArchive.h"

#include <array>
#include <cstring>

namespace orvane::setup {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

void PutLe(Bytes& out, std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

std::uint64_t GetLe(const unsigned char* data, int byteCount) {
    std::uint64_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i) {
        value = (value << 8) | data[i];
    }
    return value;
}

// Bounds-checked reader over a byte span; every read fails once the span is exhausted.
class Reader {
  public:
    explicit Reader(std::span<const unsigned char> data) : data_(data) {}

    bool Read(int byteCount, std::uint64_t& value) {
        if (Remaining() < static_cast<std::size_t>(byteCount)) {
            return false;
        }
        value = GetLe(data_.data() + pos_, byteCount);
        pos_ += static_cast<std::size_t>(byteCount);
        return true;
    }
    bool Skip(std::uint64_t byteCount) {
        if (Remaining() < byteCount) {
            return false;
        }
        pos_ += static_cast<std::size_t>(byteCount);
        return true;
    }
    std::size_t Remaining() const { return data_.size() - pos_; }
    std::size_t Position() const { return pos_; }
    const unsigned char* Here() const { return data_.data() + pos_; }

  private:
    std::span<const unsigned char> data_;
    std::size_t pos_ = 0;
};

}  // namespace

std::uint32_t Crc32(std::span<const unsigned char> data) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        c = kCrcTable[(c ^ byte) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

bool IsSafeRelativePath(std::string_view path) {
    if (path.empty() || path.size() > kMaxPathLength || path.front() == '/') {
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." ||
            part.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool ParseTrailer(std::span<const unsigned char> trailerBytes, std::uint64_t payloadSize,
                  Trailer& trailer) {
    if (trailerBytes.size() != kTrailerSize || payloadSize < kTrailerSize ||
        std::memcmp(trailerBytes.data(), kTrailerMagic.data(), kTrailerMagic.size()) != 0) {
        return false;
    }
    Trailer t;
    t.archiveOffset = GetLe(trailerBytes.data() + 8, 8);
    t.archiveSize = GetLe(trailerBytes.data() + 16, 8);
    t.checksum = static_cast<std::uint32_t>(GetLe(trailerBytes.data() + 24, 4));
    const std::uint64_t archiveEnd = payloadSize - kTrailerSize;
    if (t.archiveOffset > archiveEnd || t.archiveSize != archiveEnd - t.archiveOffset) {
        return false;
    }
    trailer = t;
    return true;
}

bool ParseArchive(std::span<const unsigned char> archive, std::vector<ArchiveEntry>& entries,
                  std::string& error) {
    entries.clear();
    std::vector<ArchiveEntry> parsed;
    Reader reader(archive);
    if (archive.size() < kArchiveMagic.size() ||
        std::memcmp(archive.data(), kArchiveMagic.data(), kArchiveMagic.size()) != 0) {
        error = "archive magic missing";
        return false;
    }
    reader.Skip(kArchiveMagic.size());
    std::uint64_t count = 0;
    if (!reader.Read(4, count) || count > kMaxEntryCount) {
        error = "bad entry count";
        return false;
    }
    parsed.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t pathLength = 0;
        if (!reader.Read(2, pathLength) || reader.Remaining() < pathLength) {
            error = "entry " + std::to_string(i) + ": truncated path";
            return false;
        }
        ArchiveEntry entry;
        entry.path.assign(reinterpret_cast<const char*>(reader.Here()),
                          static_cast<std::size_t>(pathLength));
        reader.Skip(pathLength);
        if (!IsSafeRelativePath(entry.path)) {
            error = "entry " + std::to_string(i) + ": unsafe path";
            return false;
        }
        std::uint64_t dataSize = 0;
        if (!reader.Read(8, dataSize) || reader.Remaining() < dataSize) {
            error = "entry " + std::to_string(i) + ": truncated data";
            return false;
        }
        entry.dataOffset = reader.Position();
        entry.dataSize = static_cast<std::size_t>(dataSize);
        reader.Skip(dataSize);
        parsed.push_back(std::move(entry));
    }
    if (reader.Remaining() != 0) {
        error = "trailing bytes after the last entry";
        return false;
    }
    entries = std::move(parsed);
    return true;
}

Bytes BuildArchive(const std::vector<PackedFile>& files) {
    Bytes out(kArchiveMagic.begin(), kArchiveMagic.end());
    PutLe(out, files.size(), 4);
    for (const PackedFile& file : files) {
        PutLe(out, file.path.size(), 2);
        out.insert(out.end(), file.path.begin(), file.path.end());
        PutLe(out, file.data.size(), 8);
        out.insert(out.end(), file.data.begin(), file.data.end());
    }
    return out;
}

Bytes BuildTrailer(std::uint64_t archiveOffset, std::span<const unsigned char> archive) {
    Bytes out(kTrailerMagic.begin(), kTrailerMagic.end());
    PutLe(out, archiveOffset, 8);
    PutLe(out, archive.size(), 8);
    PutLe(out, Crc32(archive), 4);
    PutLe(out, 0, 4);
    return out;
}

Bytes BuildPayload(std::span<const unsigned char> stub, const std::vector<PackedFile>& files) {
    Bytes payload(stub.begin(), stub.end());
    const Bytes archive = BuildArchive(files);
    const Bytes trailer = BuildTrailer(payload.size(), archive);
    payload.insert(payload.end(), archive.begin(), archive.end());
    payload.insert(payload.end(), trailer.begin(), trailer.end());
    return payload;
}

}  // namespace orvane::setup
