// Builds the chime library installer payload:
//
//   orvane-setup-pack <stub> <output> <root> <folder>...
//
// packs every regular file under <root>/<folder> (recursively, in byte order of their paths)
// with the path relative to <root>, "/"-separated, and writes stub + archive + trailer to
// <output>, replacing it whole. File bytes are copied verbatim. Exits non-zero with a message
// on any error (a missing folder, an unreadable file, a path the setup program would refuse).

#include "SetupArchive.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
using namespace orvane::setup;

namespace {

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return bytes;
}

void WriteFile(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    const fs::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + temp.string());
        }
    }
    fs::permissions(temp,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace);
    fs::rename(temp, path);
}

std::vector<PackedFile> CollectFiles(const fs::path& root,
                                     const std::vector<std::string>& folders) {
    std::vector<PackedFile> files;
    for (const std::string& folder : folders) {
        const fs::path dir = root / folder;
        if (!fs::is_directory(dir)) {
            throw std::runtime_error("not a folder: " + dir.string());
        }
        for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir)) {
            if (!item.is_regular_file()) {
                continue;
            }
            PackedFile file;
            file.path = item.path().lexically_relative(root).generic_string();
            if (!IsSafeRelativePath(file.path)) {
                throw std::runtime_error("path not allowed in the archive: " + file.path);
            }
            file.data = ReadFile(item.path());
            files.push_back(std::move(file));
        }
    }
    std::sort(files.begin(), files.end(),
              [](const PackedFile& a, const PackedFile& b) { return a.path < b.path; });
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: orvane-setup-pack <stub> <output> <root> <folder>...\n", stderr);
        return 2;
    }
    try {
        const Bytes stub = ReadFile(argv[1]);
        const std::vector<std::string> folders(argv + 4, argv + argc);
        const std::vector<PackedFile> files = CollectFiles(argv[3], folders);
        WriteFile(argv[2], BuildPayload(stub, files));
        std::printf("orvane-setup-pack: %zu files, %zu bytes of stub\n", files.size(), stub.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane-setup-pack: %s\n", e.what());
        return 1;
    }
}
