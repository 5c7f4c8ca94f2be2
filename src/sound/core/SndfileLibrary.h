#pragma once

#include <sndfile.h>

namespace orvane {

// The sound file library, loaded when a sound file is first read or written instead of when the
// program is loaded: it brings the codec libraries (FLAC, Vorbis, Opus, MPEG) with it, which the
// window does not need in order to appear.
//
// The program calls the library through the functions of namespace sndfile below, one for each
// library call it uses (sndfile::Open for sf_open, and so on), which forward to the loaded
// library. Without the library every open fails (nullptr), reads and writes move nothing, Error
// reports a system error and StrError says that the library is missing.
//
// Threads: any thread. The first call loads the library; concurrent calls wait for it. The
// library stays loaded until the process ends.
struct SndfileLibrary {
    decltype(&::sf_open) open = nullptr;
    decltype(&::sf_open_virtual) openVirtual = nullptr;
    decltype(&::sf_close) close = nullptr;
    decltype(&::sf_command) command = nullptr;
    decltype(&::sf_error) error = nullptr;
    decltype(&::sf_strerror) strerror = nullptr;
    decltype(&::sf_readf_short) readfShort = nullptr;
    decltype(&::sf_readf_float) readfFloat = nullptr;
    decltype(&::sf_writef_float) writefFloat = nullptr;

    // The shared library's file name, as the dynamic loader looks it up.
    static constexpr const char* kFileName = "libsndfile.so.1";

    // The bound calls, or nullptr when the library or one of the calls is missing.
    static const SndfileLibrary* Get();
    // Binds every call from the library named `fileName`; false when it does not load or lacks one.
    bool Load(const char* fileName);
};

namespace sndfile {

SNDFILE* Open(const char* path, int mode, SF_INFO* info);
SNDFILE* OpenVirtual(SF_VIRTUAL_IO* io, int mode, SF_INFO* info, void* user);
int Close(SNDFILE* file);
int Command(SNDFILE* file, int command, void* data, int size);
int Error(SNDFILE* file);
const char* StrError(SNDFILE* file);
sf_count_t ReadfShort(SNDFILE* file, short* frames, sf_count_t count);
sf_count_t ReadfFloat(SNDFILE* file, float* frames, sf_count_t count);
sf_count_t WritefFloat(SNDFILE* file, const float* frames, sf_count_t count);

}  // namespace sndfile

}  // namespace orvane
