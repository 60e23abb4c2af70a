#pragma once
// Voice memos in the FlashPix extension of Exif: "FPXR" segments in APP2 or
// APP4. One segment holds a contents list naming the streams; the others
// carry pieces of a stream, by its index in that list and an offset into it.
// A memo is the stream "Audio Stream nnnnnn": a 28-byte stream header, then
// a RIFF/WAVE file. The fixed camera layout is one order of these segments;
// every other order is read the same way.
//
// Rules for malformed files, the same for both calls below:
// - the walk covers SOI and the marker segments up to SOS, EOI, a byte that
//   is not a marker, or a length below 2;
// - the first well-formed contents list counts, later ones are ignored;
// - a byte of a stream comes from the first piece in file order that holds
//   it (overlaps repeat the same bytes), and the first piece of a stream
//   starts it whatever offset it claims, as some cameras write one there;
// - a stream ends at its listed size or at its first missing byte, whichever
//   comes first: bytes behind a hole are dropped and the memo is incomplete;
// - index 255 marks a free segment; pieces of unlisted streams are ignored.
// Memory stays bounded by the file's size whatever sizes a list claims.
#include <cstdint>
#include <vector>

#include "platform/cstring.h"
#include "platform/file.h"

struct FpxrMemo {
    CString strName;                  // stream name without its folder: "Audio Stream 000000"
    std::vector<unsigned char> bytes; // from "RIFF" on, up to the listed size or the first hole
    bool bComplete = false;           // holds all 8 + RIFF size bytes
    bool bTooLarge = false;           // over MAX_MEMO_BYTES: proven, not read (bytes empty)
};

/// Reads every memo of the file, in contents-list order. Only a stream that
/// starts "RIFF" with "WAVE" at offset 8 is a memo. Returns false on a read
/// error, or when keepGoing (asked now and then) said stop; memos then holds
/// nothing. A file without FlashPix data gives true and no memo.
bool ReadFlashPixMemos(const CSourceFile& file, std::vector<FpxrMemo>& memos, const KeepGoing& keepGoing = {});

/// True exactly when ReadFlashPixMemos would give a memo. Reads segment
/// heads, the contents list and the first 12 memo bytes of each audio
/// stream, and stops at the first memo found. Give the file a read-ahead
/// window (CSourceFile::SetReadAhead(4096)): the walk makes many small reads.
/// keepGoing is asked now and then during a long walk; false ends it (no memo).
bool HasFlashPixMemo(const CSourceFile& file, const KeepGoing& keepGoing = {});

/// True for a stream name "Audio Stream nnnnnn": a FlashPix memo's name.
bool IsFlashPixAudioStream(const CString& name);
