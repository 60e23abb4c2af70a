#pragma once
// The trailer some phones ("Sound & Shot") leave behind the JPEG's end:
// data blocks, then a directory "SEFH", version, count, count entries of
// {u16 0, u16 type, u32 offset back from "SEFH", u32 size}, then the
// directory's length and "SEFT" as the file's last bytes, all little-endian.
// Each block is {u16 0, u16 type, u32 name length, name, payload}; the memo
// is the payload of the first block of type 0x0100 that holds a RIFF/WAVE
// file ("SoundShot_000").
#include <vector>

#include "platform/file.h"

// TooLarge: a memo is there, over MAX_MEMO_BYTES, and was not read.
enum class TrailerRead { Memo, NoMemo, ReadError, TooLarge };

/// Looks for the trailer's memo. With bytes given, fills it with the
/// payload as stored; without, reads only what proves a memo is there.
/// Every offset and size is checked against the file and the directory: a
/// block must lie before the directory and start as its entry says.
TrailerRead ReadSoundShotMemo(const CSourceFile& file, std::vector<unsigned char>* bytes = nullptr);
