#include "audio/jpegaudio.h"

#include <algorithm>
#include <cstring>

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

namespace {

bool IsZero(const SegmentHeader& header)
{
    return (header.bytes[0] | header.bytes[1] | header.bytes[2] | header.bytes[3]) == 0;
}

// Inside a run of zero bytes the walk steps two bytes at a time (length 0).
// The first header it reads that is not all zeros is the first one, at an
// even distance from offset, whose four bytes reach the first nonzero byte.
int64_t StepOverZeros(int64_t offset, int64_t firstNonZero)
{
    return std::max(offset + 2, offset + (firstNonZero - 2 - offset) / 2 * 2);
}

} // namespace

SoundCheck CheckSound(const CString& path, int* error, const KeepGoing& keepGoing)
{
    CSourceFile file;
    const auto unreadable = [&] {
        if (error)
            *error = file.GetError();
        return SoundCheck::Unreadable;
    };
    if (!file.Open(path))
        return unreadable();
    // A camera file's headers all lie in its first few hundred bytes: one
    // page read serves them.
    file.SetReadAhead(4096);
    SegmentHeader header;
    HeaderRead read = ReadSegmentHeader(file, 0, header);
    if (read == HeaderRead::Error)
        return unreadable();
    if (read == HeaderRead::EndOfFile || !header.IsStartOfImage() || !header.App1Follows())
        return SoundCheck::No;

    // Unlike the extraction, the test steps over every segment by its
    // length, whatever its marker, until the fifth APP2 or the end.
    int64_t offset = 2;
    int app2Count = 0;
    for (int steps = 1;; ++steps) {
        if (steps % WALK_STEPS_PER_CHECK == 0 && keepGoing && !keepGoing())
            return SoundCheck::No;
        read = ReadSegmentHeader(file, offset, header);
        if (read == HeaderRead::Error)
            return unreadable();
        if (read == HeaderRead::EndOfFile)
            return SoundCheck::No;
        if (header.IsMarker(MARKER_APP2) && ++app2Count == AUDIO_START_SEGMENT) {
            char riff[4];
            const long got = file.ReadAt(offset + AUDIO_START_OFFSET, riff, sizeof riff);
            if (got < 0)
                return unreadable();
            return got == sizeof riff && std::memcmp(riff, "RIFF", sizeof riff) == 0 ? SoundCheck::Yes
                                                                                       : SoundCheck::No;
        }
        if (IsZero(header)) {
            // A damaged file can hold gigabytes of zeros: find where they
            // end instead of walking them two bytes at a time.
            const int64_t nonZero = file.SkipZeros(offset, keepGoing);
            if (nonZero < 0)
                return file.GetError() != 0 ? unreadable() : SoundCheck::No;
            offset = StepOverZeros(offset, nonZero);
            continue;
        }
        offset = header.Next(offset);
    }
}
