#pragma once
// Native FlashPix files (.FPX, Kodak DC2x0): an OLE2 compound file whose
// storage "Audio_..." holds the memo as the stream "Audio Stream nnnnnn":
// a 28-byte stream head, then a RIFF/WAVE file. The compound file is read
// by libgsf from the bytes the source file already holds, never by path.
#include <vector>

#include "platform/file.h"

// Bigger compound files are not read: a camera's are a few megabytes.
constexpr int64_t MAX_FPX_FILE_BYTES = 64 * 1024 * 1024;

/// True when the file starts with the OLE2 signature.
bool IsCompoundFile(const CSourceFile& file);

// Refused: no compound file that can be read safely (too big, a directory of
// more than 4,096 entries, trees that loop, share entries or go too deep):
// not a FlashPix file.
enum class FpxRead { Memo, NoMemo, ReadError, Refused };

/// Reads the first memo of a native FlashPix file into bytes (from "RIFF"
/// on, as stored); bytes may be null when only the answer counts. keepGoing
/// is asked between storages; false ends the read with NoMemo.
FpxRead ReadNativeFlashPixMemo(const CSourceFile& file, std::vector<unsigned char>* bytes = nullptr,
                               const KeepGoing& keepGoing = {});
