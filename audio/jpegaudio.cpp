#include "audio/jpegaudio.h"

#include <cstring>

#include "audio/flashpix.h"

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
    const HeaderRead read = ReadSegmentHeader(file, 0, header);
    if (read == HeaderRead::Error)
        return unreadable();
    if (read == HeaderRead::EndOfFile || !header.IsStartOfImage())
        return SoundCheck::No;
    std::vector<SoundPiece> pieces;
    switch (header.App1Follows() ? WalkAudioRun(file, pieces, true, keepGoing) : AudioRun::NoMemo) {
    case AudioRun::Memo:
        return SoundCheck::Yes;
    case AudioRun::Stopped:
        return SoundCheck::No;
    case AudioRun::HeaderReadError:
    case AudioRun::ReadError:
        return unreadable();
    case AudioRun::NoMemo:
        break;
    }
    return HasFlashPixMemo(file, keepGoing) ? SoundCheck::Yes : SoundCheck::No;
}
