#pragma once
// Every place a camera or phone keeps a voice memo with a picture, behind
// one finder. The sources, tried in this order, each only when the ones
// before found nothing:
//   FixedLayout       the first camera's APP2 layout, bytes unchanged
//   FlashPixSegments  FPXR streams in APP2/APP4 (several memos possible)
//   SoundShotTrailer  a phone's "Sound & Shot" trailer behind the JPEG
//   NativeFlashPix    an OLE2 .FPX file's audio storage
//   BesideThePicture  P1010006.WAV beside P1010006.JPG, or the file the
//                     picture's Exif RelatedSoundFile names
//
// How to use it:
//   CheckSound(path)               presence: Yes exactly when a source gives a memo
//                                  (its last argument tells which source)
//   ReadMemos(path, memos)         every memo, each with its source, the
//                                  beside file's name, its stored bytes and
//                                  whether they are whole
//   ParseWavInfo(memo.bytes, info) its facts (audio/wav.h): format name,
//                                  rate, channels, bits, duration from the
//                                  data chunk, recording time, camera model
//   DescribeMemoPlace(memo)        where it is, in the user's words
//   MemoSourceKey(memo.source)     a stable word for reports
//   FindMissingMemo(path)          after a No: the memo file the camera named
//                                  that is not beside the picture (audio/beside.h)
// The extraction run (audio/extract.h) writes them; nothing here writes.
#include <sys/types.h>

#include <cstdint>
#include <vector>

#include "platform/cstring.h"
#include "platform/file.h"

enum class MemoSource { FixedLayout, FlashPixSegments, SoundShotTrailer, NativeFlashPix, BesideThePicture };

// Which sources a search may use, as bits of 1 << MemoSource.
using MemoSources = unsigned;
constexpr MemoSources SourceBit(MemoSource source)
{
    return 1u << static_cast<unsigned>(source);
}
constexpr MemoSources ALL_MEMO_SOURCES = 0x1F;

struct CMemo {
    MemoSource source = MemoSource::FixedLayout;
    CString strBesideName;            // BesideThePicture: the file's name in the picture's folder
    CString strStreamName;            // FlashPix: "Audio Stream 000000"
    std::vector<unsigned char> bytes; // as stored, from "RIFF" on
    bool bComplete = false;           // holds all that its RIFF header counts
    bool bTooLarge = false;           // over MAX_MEMO_BYTES: proven, not read (bytes empty)
    mode_t nPermissions = 0777;       // BesideThePicture: the file's own bits
};

/// "fixed-layout", "flashpix", "trailer", "fpx-file" or "beside".
const char* MemoSourceKey(MemoSource source);

/// "inside the picture", "beside it: P1010006.WAV" or "in the phone's trailer".
CString DescribeMemoPlace(const CMemo& memo);

enum class SoundCheck { Yes, No, Unreadable };

/// Returns Yes exactly when the extraction finds a memo for the file at
/// path, through any of the sources allowed; Unreadable (with the reason in
/// *error) when the file cannot be opened or read; No otherwise, also when
/// keepGoing said stop. *found, when given, names the source of a Yes.
SoundCheck CheckSound(const CString& path, int* error = nullptr, const KeepGoing& keepGoing = {},
                      MemoSources sources = ALL_MEMO_SOURCES, MemoSource* found = nullptr);

// True when the file folder + name (joined as they stand) carries sound.
inline bool HasSound(const CString& folder, const CString& name, const KeepGoing& keepGoing = {})
{
    return CheckSound(folder + name, nullptr, keepGoing) == SoundCheck::Yes;
}

/// Reads every memo of the file at path, in the order the extraction writes
/// them (several only from FlashPix segments). Unreadable (reason in
/// *error) when the file or its memo cannot be read; No when there is none
/// or keepGoing said stop.
SoundCheck ReadMemos(const CString& path, std::vector<CMemo>& memos, int* error = nullptr,
                     const KeepGoing& keepGoing = {});

// NotFlashPix: a compound file refused unread (see audio/fpxfile.h).
enum class OtherMemo { Memo, NoMemo, ReadError, NotFlashPix };

/// The sources after the FlashPix segments, for the picture at path, open
/// in file; jpeg says it starts as a JPEG. Fills memo, or with proveOnly
/// only its source and beside name. On ReadError *error says why.
OtherMemo FindOtherMemo(const CString& path, const CSourceFile& file, bool jpeg, CMemo& memo, bool proveOnly = false,
                        MemoSources sources = ALL_MEMO_SOURCES, int* error = nullptr, const KeepGoing& keepGoing = {});
