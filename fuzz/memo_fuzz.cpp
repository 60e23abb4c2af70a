// Writes each input as a picture and looks for its memo through every
// source, the phone's trailer and the compound-file (OLE2) reader above
// all. Beyond "no crash, no sanitizer report, no hang" it checks that the
// presence test agrees with the full read, and that a memo starts "RIFF"
// and is no larger than the input (nothing lies beside the picture here).
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/memo.h"
#include "audio/wav.h"
#include "fuzzkit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteSource(data, size);

    std::vector<CMemo> memos;
    const SoundCheck read = ReadMemos(Source(), memos);
    if (read == SoundCheck::Unreadable)
        Fail("read error on a regular file");
    if (CheckSound(Source()) != read)
        Fail("presence test and full read disagree");
    for (const CMemo& memo : memos) {
        // The fixed layout asks for "RIFF" alone, and its memo may be cut short.
        if (memo.bytes.size() < 4 || std::memcmp(memo.bytes.data(), "RIFF", 4) != 0)
            Fail("a memo that does not start RIFF");
        if (memo.bytes.size() > size)
            Fail("a memo larger than the file");
        WavInfo info;
        ParseWavInfo(memo.bytes, info);
        std::vector<unsigned char> pcm;
        ConvertToPcm16(memo.bytes, pcm);
    }
    return 0;
}
