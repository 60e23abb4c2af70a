// Writes each input as a file and reads its FlashPix memos both ways, then
// reads the input itself as a WAV file. Beyond "no crash, no sanitizer
// report" it checks that the presence test agrees with the full read, that
// every memo is a RIFF/WAVE file no larger than the input, and that a PCM
// copy stays in proportion to what it was made from.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/flashpix.h"
#include "audio/wav.h"
#include "fuzzkit.h"
#include "platform/file.h"

namespace {

void ReadAsWav(std::span<const unsigned char> wav)
{
    WavInfo info;
    ParseWavInfo(wav, info);
    std::vector<unsigned char> pcm;
    const PcmConversion result = ConvertToPcm16(wav, pcm);
    if (result != PcmConversion::Converted && !pcm.empty())
        Fail("a failed conversion left bytes behind");
    // At most four bytes of samples per input byte (IMA ADPCM), the copied
    // Exif chunk and the headers.
    if (pcm.size() > 6 * wav.size() + 64)
        Fail("PCM copy out of proportion to its memo");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteSource(data, size);

    CSourceFile file;
    if (!file.Open(Source()))
        abort();
    file.SetReadAhead(4096);
    std::vector<FpxrMemo> memos;
    if (!ReadFlashPixMemos(file, memos))
        Fail("read error on a regular file");
    if (HasFlashPixMemo(file) != !memos.empty())
        Fail("presence test and full read disagree");
    size_t total = 0;
    for (const FpxrMemo& memo : memos) {
        if (memo.bytes.size() < 12 || std::memcmp(memo.bytes.data(), "RIFF", 4) != 0
            || std::memcmp(memo.bytes.data() + 8, "WAVE", 4) != 0)
            Fail("a memo that is no RIFF/WAVE file");
        total += memo.bytes.size();
        ReadAsWav(memo.bytes);
    }
    if (total > size)
        Fail("memos larger than the file");
    ReadAsWav({data, size});
    return 0;
}
