#pragma once

#include <dlfcn.h>

namespace orvane::library_binding {

// Opens a shared library by the name the dynamic loader looks up, with every symbol resolved
// now and kept local to it. The handle is never closed by the callers: the libraries loaded
// this way keep threads or open files that live as long as the process.
inline void* Open(const char* fileName) { return ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL); }

// Binds `function` to the symbol `name` of `handle`; false when the library lacks it.
template <class F>
bool Bind(void* handle, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(handle, name));
    return function != nullptr;
}

}  // namespace orvane::library_binding
