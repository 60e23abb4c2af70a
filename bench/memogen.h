#pragma once
// Builds pictures whose memo lies outside the FlashPix segments: a phone's
// "Sound & Shot" trailer behind the JPEG, and an Exif segment whose
// RelatedSoundFile names a WAV beside the picture, and hostile files. Shared
// by the tests, the benchmarks and the fuzz seeds; needs nothing but the
// standard library and POSIX.
#include <cstdint>
#include <string>
#include <vector>

namespace memogen {

using Bytes = std::vector<unsigned char>;

struct TrailerBlock {
    uint16_t type = 0x0100;
    std::string name = "SoundShot_000";
    Bytes payload;
};

// One directory entry as written, for building damaged trailers.
struct TrailerEntry {
    uint16_t type = 0;
    uint32_t back = 0; // from the directory's "SEFH" back to the block
    uint32_t size = 0;
};

// jpeg, then the blocks, then the directory that lists them, its length and "SEFT".
Bytes WithTrailer(const Bytes& jpeg, const std::vector<TrailerBlock>& blocks);
// The same with the directory's entries given as they are to be written.
Bytes WithTrailer(const Bytes& jpeg, const std::vector<TrailerBlock>& blocks, const std::vector<TrailerEntry>& entries);
// The entries WithTrailer would write for these blocks.
std::vector<TrailerEntry> EntriesFor(const std::vector<TrailerBlock>& blocks);

// A phone's memo: 16-bit PCM, mono, 44.1 kHz, of this many samples.
Bytes PhoneWav(size_t samples, unsigned seed = 1);

// The data of an Exif APP1 segment ("Exif\0\0", TIFF header, IFD0 with the
// Exif IFD pointer, an Exif IFD holding RelatedSoundFile = name as 13 ASCII
// bytes or more), in Motorola or Intel byte order.
Bytes ExifWithRelatedSoundFile(const std::string& name, bool bigEndian = true);

// SOI, an APP1 segment with this data, then a small picture's tables, scan and EOI.
Bytes JpegWithApp1(const Bytes& app1Data);

// A phone picture whose trailer claims a memo of `claimed` bytes behind
// "RIFF"..."WAVE", written sparse: only its head and directory take room.
void WriteSparseTrailerMemo(const std::string& path, uint64_t claimed);

// A compound (OLE2) file of 512-byte sectors (4096 with a shift of 12) whose
// root holds entries empty streams named s0, s1, ...: as one sibling chain
// (each the right sibling of the one before), or as a balanced tree of
// storages.
Bytes CompoundFile(size_t entries, bool chain, unsigned shift = 9);

} // namespace memogen
