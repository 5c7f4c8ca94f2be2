#include "sound/core/SndfileLibrary.h"

#include "sound/core/LibraryBinding.h"

namespace orvane {

using library_binding::Bind;

namespace {

const SndfileLibrary* Library() { return SndfileLibrary::Get(); }

}  // namespace

bool SndfileLibrary::Load(const char* fileName) {
    // Never closed: open files and the codecs' state live as long as the process.
    void* handle = library_binding::Open(fileName);
    if (handle == nullptr) {
        return false;
    }
    return Bind(handle, "sf_open", open) && Bind(handle, "sf_open_virtual", openVirtual) &&
           Bind(handle, "sf_close", close) && Bind(handle, "sf_command", command) &&
           Bind(handle, "sf_error", error) && Bind(handle, "sf_strerror", strerror) &&
           Bind(handle, "sf_readf_short", readfShort) &&
           Bind(handle, "sf_readf_float", readfFloat) &&
           Bind(handle, "sf_writef_float", writefFloat);
}

const SndfileLibrary* SndfileLibrary::Get() {
    // A function-local static: its initialisation runs once, and other threads wait for it.
    static const SndfileLibrary* const library = [] {
        static SndfileLibrary loaded;
        return loaded.Load(kFileName) ? &loaded : nullptr;
    }();
    return library;
}

namespace sndfile {

SNDFILE* Open(const char* path, int mode, SF_INFO* info) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->open(path, mode, info) : nullptr;
}

SNDFILE* OpenVirtual(SF_VIRTUAL_IO* io, int mode, SF_INFO* info, void* user) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->openVirtual(io, mode, info, user) : nullptr;
}

// The calls below take an open file, which only the loaded library hands out; the checks
// keep a null file harmless all the same.
int Close(SNDFILE* file) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->close(file) : 0;
}

int Command(SNDFILE* file, int command, void* data, int size) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->command(file, command, data, size) : 0;
}

int Error(SNDFILE* file) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->error(file) : SF_ERR_SYSTEM;
}

const char* StrError(SNDFILE* file) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->strerror(file)
                              : "The sound file library (libsndfile.so.1) could not be loaded.";
}

sf_count_t ReadfShort(SNDFILE* file, short* frames, sf_count_t count) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->readfShort(file, frames, count) : 0;
}

sf_count_t ReadfFloat(SNDFILE* file, float* frames, sf_count_t count) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->readfFloat(file, frames, count) : 0;
}

sf_count_t WritefFloat(SNDFILE* file, const float* frames, sf_count_t count) {
    const SndfileLibrary* library = Library();
    return library != nullptr ? library->writefFloat(file, frames, count) : 0;
}

}  // namespace sndfile

}  // namespace orvane
