#include "sound/core/SdlLibrary.h"

#include "sound/core/LibraryBinding.h"

namespace orvane {

using library_binding::Bind;

bool SdlLibrary::Load(const char* fileName) {
    // Never closed: the library's threads and its registered handlers live as long as the process.
    void* handle = library_binding::Open(fileName);
    if (handle == nullptr) {
        return false;
    }
    return Bind(handle, "SDL_SetHint", SetHint) && Bind(handle, "SDL_InitSubSystem", InitSubSystem) &&
           Bind(handle, "SDL_QuitSubSystem", QuitSubSystem) &&
           Bind(handle, "SDL_OpenAudioDevice", OpenAudioDevice) &&
           Bind(handle, "SDL_CloseAudioDevice", CloseAudioDevice) &&
           Bind(handle, "SDL_LockAudioDevice", LockAudioDevice) &&
           Bind(handle, "SDL_UnlockAudioDevice", UnlockAudioDevice) &&
           Bind(handle, "SDL_PauseAudioDevice", PauseAudioDevice);
}

const SdlLibrary* SdlLibrary::Get() {
    // A function-local static: its initialisation runs once, and other threads wait for it.
    static const SdlLibrary* const library = [] {
        static SdlLibrary loaded;
        return loaded.Load(kFileName) ? &loaded : nullptr;
    }();
    return library;
}

}  // namespace orvane
