#pragma once
// How the camera stores its voice memo inside a JPEG file: a RIFF/WAVE file
// cut into the APP2 segments behind the APP1 segment. The fifth APP2 segment
// carries a 41-byte head before the sound, every later one a 13-byte head.
#include <cstdint>
#include <vector>

#include "audio/memo.h" // the presence test over every source: CheckSound, HasSound
#include "platform/cstring.h"
#include "platform/file.h"

constexpr int AUDIO_START_SEGMENT = 5;
constexpr int64_t AUDIO_START_OFFSET = 45;
constexpr int64_t AUDIO_NEXT_OFFSET = 17;

constexpr unsigned char MARKER_LEAD = 0xFF;
constexpr unsigned char MARKER_SOI = 0xD8;
constexpr unsigned char MARKER_APP1 = 0xE1;
constexpr unsigned char MARKER_APP2 = 0xE2;

// A segment header: marker pair and big-endian length, read in one piece.
struct SegmentHeader {
    unsigned char bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};

    bool IsMarker(unsigned char second) const { return bytes[0] == MARKER_LEAD && bytes[1] == second; }
    // For the header at offset 0: start of image, then the APP1 marker.
    bool IsStartOfImage() const { return IsMarker(MARKER_SOI); }
    bool App1Follows() const { return bytes[2] == MARKER_LEAD && bytes[3] == MARKER_APP1; }
    unsigned Length() const { return static_cast<unsigned>(bytes[2]) << 8 | bytes[3]; }
    // Where the next segment starts: the length does not count the marker.
    int64_t Next(int64_t offset) const { return offset + Length() + 2; }
};

enum class HeaderRead { Ok, EndOfFile, Error };

// Reads the header at offset. At the end of the file the header reads
// FF FF FF FF, which belongs to no segment of the audio run.
HeaderRead ReadSegmentHeader(const CSourceFile& file, int64_t offset, SegmentHeader& header);

// How often a long walk over one file asks whether to go on: every this
// many segment headers.
constexpr int WALK_STEPS_PER_CHECK = 1 << 16;

// Where one APP2 segment's sound bytes lie in the source.
struct SoundPiece {
    int64_t offset;
    size_t count;
};

enum class AudioRun {
    Memo,            // the fifth APP2 of the audio run starts "RIFF"
    NoMemo,          // the run ends first, or its fifth APP2 holds no "RIFF"
    HeaderReadError, // a segment header could not be read
    ReadError,       // the sound's first bytes could not be read
    Stopped,         // keepGoing said stop
};

/// Follows the audio run from offset 2: APP1 and APP2 segments until the
/// first segment that is neither (the end of the file included). Fills
/// pieces with where the sound lies: all of it, or only the first piece
/// when firstOnly. A segment too short for its head adds nothing; the fifth
/// must hold at least "RIFF".
AudioRun WalkAudioRun(const CSourceFile& file, std::vector<SoundPiece>& pieces, bool firstOnly,
                      const KeepGoing& keepGoing = {});
