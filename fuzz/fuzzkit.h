#pragma once
// What every fuzz target shares: a scratch folder of its own for the input
// written as a file, and a failure that names its reason before aborting.
#include <stdlib.h>

#include <cstdio>
#include <string>

// "/tmp/vocaline-fuzz-XXXXXX/", made once per process.
inline const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/vocaline-fuzz-XXXXXX";
        if (!mkdtemp(pattern))
            abort();
        return std::string(pattern) + "/";
    }();
    return folder;
}

// The path the input is written to.
inline const std::string& Source()
{
    static const std::string path = ScratchFolder() + "src.jpg";
    return path;
}

[[noreturn]] inline void Fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    abort();
}
