#include "audio/jpegaudio.h"

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

AudioRun WalkAudioRun(const CSourceFile& file, std::vector<SoundPiece>& pieces, bool firstOnly,
                      const KeepGoing& keepGoing)
{
    pieces.clear();
    int64_t offset = 2;
    int app2Count = 0;
    for (int steps = 1;; ++steps) {
        if (steps % WALK_STEPS_PER_CHECK == 0 && keepGoing && !keepGoing())
            return AudioRun::Stopped;
        SegmentHeader header;
        if (ReadSegmentHeader(file, offset, header) == HeaderRead::Error)
            return AudioRun::HeaderReadError;
        if (header.IsMarker(MARKER_APP2)) {
            ++app2Count;
            const int64_t start = app2Count == AUDIO_START_SEGMENT ? AUDIO_START_OFFSET : AUDIO_NEXT_OFFSET;
            const int64_t count = static_cast<int64_t>(header.Length()) + 2 - start;
            if (app2Count == AUDIO_START_SEGMENT && count < 4)
                return AudioRun::NoMemo;
            if (app2Count >= AUDIO_START_SEGMENT && count > 0)
                pieces.push_back({offset + start, static_cast<size_t>(count)});
            if (firstOnly && !pieces.empty())
                break;
        } else if (!header.IsMarker(MARKER_APP1)) {
            break;
        }
        offset = header.Next(offset);
    }
    if (pieces.empty())
        return AudioRun::NoMemo;
    // Only a memo that starts "RIFF" is sound: anything else in the fifth
    // segment (another maker's thumbnail, a colour profile) is not.
    char riff[4];
    const long got = file.ReadAt(pieces.front().offset, riff, sizeof riff);
    if (got < 0)
        return AudioRun::ReadError;
    return got == sizeof riff && std::memcmp(riff, "RIFF", sizeof riff) == 0 ? AudioRun::Memo : AudioRun::NoMemo;
}
