#pragma once

#include <SDL.h>

namespace orvane {

// The sound library's audio calls, bound when a sound device is first opened instead of when
// the program is loaded. The library brings about twenty libraries of its own (sound servers,
// window systems, codecs) that the window does not need in order to appear; loading them on the
// thread that opens the device keeps them off the start of the program.
//
// Threads: Get() may be called from any thread. The first call loads the library; concurrent
// calls wait for it and all answer the same table. The library stays loaded until the process
// ends, since the threads it starts may outlive any one output.
struct SdlLibrary {
    decltype(&SDL_SetHint) SetHint = nullptr;
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&SDL_LockAudioDevice) LockAudioDevice = nullptr;
    decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice = nullptr;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice = nullptr;

    // The shared library's file name, as the dynamic loader looks it up.
    static constexpr const char* kFileName = "libSDL2-2.0.so.0";

    // The bound calls, or nullptr when the library or one of the calls is missing; then no
    // device can be opened and the program runs silently.
    static const SdlLibrary* Get();

    // Binds every call from the library named `fileName`; false, with the table unchanged in
    // meaning (some calls may be bound), when the library does not load or lacks a call.
    bool Load(const char* fileName);
};

}  // namespace orvane
