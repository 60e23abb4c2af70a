#include "audio/jpegaudio.h"

#include <cstring>

#include "platform/file.h"

HeaderRead ReadSegmentHeader(const CSourceFile& file, int64_t offset, SegmentHeader& header)
{
    unsigned char bytes[4];
    const long got = file.ReadAt(offset, bytes, sizeof bytes);
    if (got < 0)
        return HeaderRead::Error;
    if (got < static_cast<long>(sizeof bytes)) {
        header = SegmentHeader{};
        return HeaderRead::EndOfFile;
    }
    std::memcpy(header.bytes, bytes, sizeof bytes);
    return HeaderRead::Ok;
}

bool HasSound(const CString& folder, const CString& name)
{
    CSourceFile file;
    if (!file.Open(folder + name))
        return false;
    // A camera file's headers all lie in its first few hundred bytes: one
    // page read serves them.
    file.SetReadAhead(4096);
    SegmentHeader header;
    if (ReadSegmentHeader(file, 0, header) != HeaderRead::Ok)
        return false;
    if (!header.IsStartOfImage() || !header.App1Follows())
        return false;

    // Unlike the extraction, the test steps over every segment by its
    // length, whatever its marker, until the fifth APP2 or the end.
    int64_t offset = 2;
    int app2Count = 0;
    for (;;) {
        if (ReadSegmentHeader(file, offset, header) != HeaderRead::Ok)
            return false;
        if (header.IsMarker(MARKER_APP2) && ++app2Count == AUDIO_START_SEGMENT) {
            char riff[4];
            return file.ReadAt(offset + AUDIO_START_OFFSET, riff, sizeof riff) == sizeof riff
                && std::memcmp(riff, "RIFF", sizeof riff) == 0;
        }
        offset = header.Next(offset);
    }
}
