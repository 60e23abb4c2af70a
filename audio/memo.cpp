#include "audio/memo.h"

#include <cstring>

#include "audio/beside.h"
#include "audio/flashpix.h"
#include "audio/fpxfile.h"
#include "audio/jpegaudio.h"
#include "audio/soundshot.h"
#include "audio/wav.h"

namespace {

constexpr size_t kWaveHead = 12;

bool Allowed(MemoSources sources, MemoSource source)
{
    return (sources & SourceBit(source)) != 0;
}

// The file beside the picture, when it is a RIFF/WAVE file: copied byte for
// byte, or only proven.
OtherMemo ReadBesideFile(const CSourceFile& picture, const CString& name, CMemo& memo, bool proveOnly, int* error)
{
    CSourceFile file;
    if (!file.OpenBeside(picture, name))
        return OtherMemo::NoMemo;
    const bool whole = !proveOnly && file.GetSize() <= MAX_MEMO_BYTES;
    std::vector<unsigned char> bytes(whole ? static_cast<size_t>(file.GetSize()) : kWaveHead);
    const long got = file.ReadAt(0, bytes.data(), bytes.size());
    if (got < 0) {
        if (error)
            *error = file.GetError();
        return OtherMemo::ReadError;
    }
    bytes.resize(static_cast<size_t>(got));
    if (bytes.size() < kWaveHead || std::memcmp(bytes.data(), "RIFF", 4) != 0
        || std::memcmp(&bytes[8], "WAVE", 4) != 0)
        return OtherMemo::NoMemo;
    memo.source = MemoSource::BesideThePicture;
    memo.strBesideName = name;
    memo.nPermissions = file.GetPermissions();
    memo.bTooLarge = !proveOnly && !whole;
    if (whole) {
        memo.bComplete = IsWholeRiff(bytes);
        memo.bytes = std::move(bytes);
    }
    return OtherMemo::Memo;
}

} // namespace

const char* MemoSourceKey(MemoSource source)
{
    switch (source) {
    case MemoSource::FixedLayout: return "fixed-layout";
    case MemoSource::FlashPixSegments: return "flashpix";
    case MemoSource::SoundShotTrailer: return "trailer";
    case MemoSource::NativeFlashPix: return "fpx-file";
    case MemoSource::BesideThePicture: return "beside";
    }
    return "";
}

CString DescribeMemoPlace(const CMemo& memo)
{
    switch (memo.source) {
    case MemoSource::BesideThePicture: return "beside it: " + memo.strBesideName;
    case MemoSource::SoundShotTrailer: return "in the phone's trailer";
    case MemoSource::NativeFlashPix: return "in the FlashPix file";
    default: return "inside the picture";
    }
}

OtherMemo FindOtherMemo(const CString& path, const CSourceFile& file, bool jpeg, CMemo& memo, bool proveOnly,
                        MemoSources sources, int* error, const KeepGoing& keepGoing)
{
    const auto readError = [&] {
        if (error)
            *error = file.GetError();
        return OtherMemo::ReadError;
    };
    std::vector<unsigned char>* bytes = proveOnly ? nullptr : &memo.bytes;
    const auto found = [&](MemoSource source) {
        memo.source = source;
        memo.bComplete = !proveOnly && IsWholeRiff(memo.bytes);
        return OtherMemo::Memo;
    };
    if (jpeg && Allowed(sources, MemoSource::SoundShotTrailer)) {
        switch (ReadSoundShotMemo(file, bytes)) {
        case TrailerRead::Memo: return found(MemoSource::SoundShotTrailer);
        case TrailerRead::TooLarge:
            memo.bTooLarge = true;
            return found(MemoSource::SoundShotTrailer);
        case TrailerRead::ReadError: return readError();
        case TrailerRead::NoMemo: break;
        }
    }
    const bool compound = !jpeg && IsCompoundFile(file);
    if (compound && Allowed(sources, MemoSource::NativeFlashPix)) {
        switch (ReadNativeFlashPixMemo(file, bytes, keepGoing)) {
        case FpxRead::Memo: return found(MemoSource::NativeFlashPix);
        case FpxRead::ReadError: return readError();
        case FpxRead::Refused: return OtherMemo::NotFlashPix;
        case FpxRead::NoMemo: break;
        }
    }
    // Only a picture has a memo beside it: a WAV beside a text file is not one.
    if ((jpeg || compound) && Allowed(sources, MemoSource::BesideThePicture)) {
        const CString name = FindBesideSoundFile(path, file);
        if (!name.empty())
            return ReadBesideFile(file, name, memo, proveOnly, error);
    }
    return OtherMemo::NoMemo;
}

SoundCheck CheckSound(const CString& path, int* error, const KeepGoing& keepGoing, MemoSources sources,
                      MemoSource* found)
{
    CSourceFile file;
    const auto unreadable = [&](int code) {
        if (error)
            *error = code;
        return SoundCheck::Unreadable;
    };
    const auto yes = [&](MemoSource source) {
        if (found)
            *found = source;
        return SoundCheck::Yes;
    };
    if (!file.Open(path))
        return unreadable(file.GetError());
    // A camera file's headers all lie in its first few hundred bytes: one
    // page read serves them.
    file.SetReadAhead(4096);
    SegmentHeader header;
    const HeaderRead read = ReadSegmentHeader(file, 0, header);
    if (read == HeaderRead::Error)
        return unreadable(file.GetError());
    const bool jpeg = read == HeaderRead::Ok && header.IsStartOfImage();
    if (jpeg && header.App1Follows() && Allowed(sources, MemoSource::FixedLayout)) {
        std::vector<SoundPiece> pieces;
        switch (WalkAudioRun(file, pieces, true, keepGoing)) {
        case AudioRun::Memo: return yes(MemoSource::FixedLayout);
        case AudioRun::Stopped: return SoundCheck::No;
        case AudioRun::HeaderReadError:
        case AudioRun::ReadError: return unreadable(file.GetError());
        case AudioRun::NoMemo: break;
        }
    }
    if (jpeg && Allowed(sources, MemoSource::FlashPixSegments) && HasFlashPixMemo(file, keepGoing))
        return yes(MemoSource::FlashPixSegments);
    if (keepGoing && !keepGoing())
        return SoundCheck::No;
    CMemo memo;
    int otherError = 0;
    switch (FindOtherMemo(path, file, jpeg, memo, true, sources, &otherError, keepGoing)) {
    case OtherMemo::Memo: return yes(memo.source);
    case OtherMemo::ReadError: return unreadable(otherError);
    case OtherMemo::NoMemo:
    case OtherMemo::NotFlashPix: break;
    }
    return SoundCheck::No;
}
