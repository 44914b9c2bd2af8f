#pragma once

#include "Exception.h"

#include <dlfcn.h>
#include <string>

// A library the program needs for some files only, opened when first needed, so that every
// other run starts without loading and relocating it; it stays for the life of the process.
// Raises failure, ": " and the loader's reason when it cannot be opened, or "<soname> lacks
// <function>".
class TLoadedLibrary {
public:
    TLoadedLibrary(const char* soname, std::string failure)
        : FSoname(soname), FFailure(std::move(failure)) {
        FHandle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
        if (FHandle == nullptr) {
            throw Exception(FFailure + ": " + dlerror());
        }
    }

    template <class F> void Find(F& function, const char* name) const {
        function = reinterpret_cast<F>(dlsym(FHandle, name));
        if (function == nullptr) {
            throw Exception(FFailure + ": " + FSoname + " lacks " + name);
        }
    }

private:
    void* FHandle;
    std::string FSoname;
    std::string FFailure;
};
