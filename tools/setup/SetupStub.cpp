// The setup program of the chime library. It carries its archive at its own end (see
// SetupArchive.h) and writes the archived files into the folder it lives in, whatever the
// current directory. A file that exists already is never touched, so chimes and list records
// that the user added survive every run. Missing folders are created.
//
// Exit code: kExitOk when every file exists afterwards; kExitWriteFailed when some file could
// not be written (the others are written all the same); kExitBadPayload when the payload is
// truncated, corrupt or names an unsafe path (then nothing at all is written); kExitNoSelf when
// the program cannot read itself.
//
// New files are written under a temporary name beside their target, flushed to disk once, and
// then linked to their name without replacing anything: a killed run leaves no half file under
// a library name, and the next run removes its temporary files.

#include "SetupArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace orvane::setup;

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool ReadAt(int fd, unsigned char* out, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        out += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The absolute path of this program's file.
bool SelfPath(std::string& path) {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return false;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            path.assign(buffer.data(), static_cast<std::size_t>(n));
            return !path.empty() && path.front() == '/';
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// Creates every missing folder of relativePath's parent below base.
bool MakeParentFolders(const std::string& base, const std::string& relativePath) {
    std::size_t slash = relativePath.find('/');
    while (slash != std::string::npos) {
        const std::string folder = base + "/" + relativePath.substr(0, slash);
        if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        struct stat st;
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            return false;
        }
        slash = relativePath.find('/', slash + 1);
    }
    return true;
}

std::string TempNameFor(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".setup-part";
}

// Writes data to a temporary file beside target. The temporary file is replaced if a killed
// earlier run left it behind.
bool WriteTemp(const std::string& temp, const unsigned char* data, std::size_t size) {
    FileHandle file(
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.Get() < 0) {
        return false;
    }
    return WriteAll(file.Get(), data, size) && file.Close();
}

// Gives the temporary file the target's name unless the target exists. True when the target
// exists afterwards (written now, or found there).
bool PublishTemp(const std::string& temp, const std::string& target) {
    bool ok = false;
    if (::link(temp.c_str(), target.c_str()) == 0 || errno == EEXIST) {
        ok = true;
    } else if (!Exists(target)) {
        // A file system without hard links: a plain rename, the target being still missing.
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    }
    ::unlink(temp.c_str());
    return ok;
}

struct Pending {
    std::string temp;
    std::string target;
};

int Run() {
    std::string self;
    if (!SelfPath(self)) {
        std::fputs("setup: cannot find its own file\n", stderr);
        return kExitNoSelf;
    }
    const std::string base = self.substr(0, self.rfind('/'));
    FileHandle selfFile(::open(self.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (selfFile.Get() < 0 || ::fstat(selfFile.Get(), &st) != 0) {
        std::fputs("setup: cannot read its own file\n", stderr);
        return kExitNoSelf;
    }
    const auto payloadSize = static_cast<std::uint64_t>(st.st_size);

    unsigned char trailerBytes[kTrailerSize];
    Trailer trailer;
    if (payloadSize < kTrailerSize ||
        !ReadAt(selfFile.Get(), trailerBytes, kTrailerSize, payloadSize - kTrailerSize) ||
        !ParseTrailer(trailerBytes, payloadSize, trailer)) {
        std::fputs("setup: no archive found (truncated or corrupt payload)\n", stderr);
        return kExitBadPayload;
    }
    Bytes archive(static_cast<std::size_t>(trailer.archiveSize));
    if (!ReadAt(selfFile.Get(), archive.data(), archive.size(), trailer.archiveOffset)) {
        std::fputs("setup: cannot read the archive\n", stderr);
        return kExitNoSelf;
    }
    selfFile.Close();
    if (Crc32(archive) != trailer.checksum) {
        std::fputs("setup: archive checksum mismatch\n", stderr);
        return kExitBadPayload;
    }
    std::vector<ArchiveEntry> entries;
    std::string error;
    if (!ParseArchive(archive, entries, error)) {
        std::fprintf(stderr, "setup: corrupt archive: %s\n", error.c_str());
        return kExitBadPayload;
    }

    int failures = 0;
    std::vector<Pending> pending;
    for (const ArchiveEntry& entry : entries) {
        const std::string target = base + "/" + entry.path;
        const std::string temp = TempNameFor(target);
        if (Exists(target)) {
            ::unlink(temp.c_str());  // left behind by a run that was killed after publishing
            continue;
        }
        if (!MakeParentFolders(base, entry.path) ||
            !WriteTemp(temp, archive.data() + entry.dataOffset, entry.dataSize)) {
            std::fprintf(stderr, "setup: cannot write %s\n", entry.path.c_str());
            ::unlink(temp.c_str());
            ++failures;
            continue;
        }
        pending.push_back({temp, target});
    }
    if (!pending.empty()) {
        // One flush for all new files, so that none is published before its bytes are on disk.
        FileHandle folder(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Get() >= 0) {
            ::syncfs(folder.Get());
        }
    }
    for (const Pending& file : pending) {
        if (!PublishTemp(file.temp, file.target)) {
            std::fprintf(stderr, "setup: cannot create %s\n", file.target.c_str());
            ++failures;
        }
    }
    return failures == 0 ? kExitOk : kExitWriteFailed;
}

}  // namespace

int main() {
    try {
        return Run();
    } catch (...) {
        std::fputs("setup: out of memory\n", stderr);
        return kExitWriteFailed;
    }
}
