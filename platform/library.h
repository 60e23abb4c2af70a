#pragma once
// Shared libraries loaded when first needed instead of at every start: a
// program started once per file pays the dynamic loader for every library
// it links, used or not.
#include <dlfcn.h>

/// Loads the library by its SONAME, for the rest of the process; null when
/// it cannot be loaded.
inline void* LoadLibrary(const char* soname)
{
    return ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
}

/// Sets function to the library's function of that name (null when there
/// is none); true when it was found.
template <typename Function> bool Resolve(void* library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library ? ::dlsym(library, name) : nullptr);
    return function != nullptr;
}
