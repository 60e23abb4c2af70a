// Writes each input as a file and runs the presence test and a full
// extraction on it. Beyond "no crash, no sanitizer report" it checks that
// no descriptor stays open and that nothing but the WAV is ever written.
#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "audio/extract.h"
#include "audio/jpegaudio.h"
#include "fuzzkit.h"

namespace {

struct Silent : IExtractReport {
    void WriteLogRow(const CString&) override {}
    void ShowMessage(const char*, const CString&, int) override {}
};

int CountDescriptors()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& source = WriteSource(data, size);

    // The presence test keeps its thread's folder listing open (one
    // descriptor, reused), so the count starts after it.
    HasSound(ScratchFolder(), "src.jpg");
    const int before = CountDescriptors();
    Silent silent;
    // Both ways of ending an incomplete memo, as stored and as PCM: only
    // RIFF is ever written, and only under the names the run reports.
    std::set<std::string> written;
    for (const int variant : {0, 1, 2}) {
        CExtractOptions options;
        options.bKeepPartial = variant == 1;
        options.bPcm = variant == 2;
        for (const CString& output : RunExtraction({source}, silent, options)) {
            char riff[4] = {};
            FILE* wav = std::fopen(output.c_str(), "rb");
            if (!wav || std::fread(riff, 1, 4, wav) != 4 || std::memcmp(riff, "RIFF", 4) != 0)
                abort();
            std::fclose(wav);
            written.insert(output.substr(output.rfind('/') + 1));
        }
    }
    if (CountDescriptors() != before) {
        std::fprintf(stderr, "descriptor left open\n");
        abort();
    }
    for (const std::string& name : Entries(ScratchFolder())) {
        if (name != "." && name != ".." && name != "src.jpg" && written.count(name) == 0) {
            std::fprintf(stderr, "unexpected file written: %s\n", name.c_str());
            abort();
        }
    }
    for (const std::string& name : written)
        unlink((ScratchFolder() + name).c_str());
    return 0;
}
