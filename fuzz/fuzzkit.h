#pragma once
// What every fuzz target shares: a scratch folder of its own, the input
// written there as a file, and a failure that names its reason before aborting.
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

// Writes the input to Source(), whole, and returns that path.
inline const std::string& WriteSource(const unsigned char* data, size_t size)
{
    FILE* out = std::fopen(Source().c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
        abort();
    return Source();
}

[[noreturn]] inline void Fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    abort();
}
