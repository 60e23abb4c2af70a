#pragma once
// Builds camera JPEG files that carry their memo in FlashPix ("FPXR")
// segments, in the orders cameras write them, and WAV files in the
// encodings memos use. Shared by the tests and the benchmarks; needs
// nothing but the standard library.
#include <cstdint>
#include <string>
#include <vector>

namespace fpxrgen {

using Bytes = std::vector<unsigned char>;

enum class Layout {
    Hp,            // contents in APP2 no. 1, three small streams, the memo from APP2 no. 5 on
    AudioThird,    // the memo in APP2 nos. 3 and 4, a thumbnail from APP2 no. 5 on
    App4,          // the HP order in APP4 segments
    IccAhead,      // an ICC profile APP2 before the FlashPix segments
    CommentAhead,  // a comment between the Exif segment and the FlashPix segments
    Overlapping,   // each memo piece repeats the last bytes of the one before
    TwoMemos,      // two memos, their pieces interleaved
    ThumbnailOnly, // FlashPix streams, none of them audio
    Plain,         // no FlashPix segment at all
};

struct Sample {
    std::string name;          // for test names and file names
    Bytes file;                // the whole JPEG file
    std::vector<Bytes> memos;  // what a reader must find, in contents-list order
};

inline const std::vector<Layout>& AllLayouts()
{
    static const std::vector<Layout> all{Layout::Hp,          Layout::AudioThird, Layout::App4,
                                         Layout::IccAhead,    Layout::CommentAhead, Layout::Overlapping,
                                         Layout::TwoMemos,    Layout::ThumbnailOnly, Layout::Plain};
    return all;
}

// A camera file in this layout carrying the given memos (RIFF/WAVE bytes;
// the second is used by TwoMemos only).
Sample MakeSample(Layout layout, const Bytes& memo, const Bytes& second = {});

// One FlashPix stream-data segment's data: "FPXR" 0 0 2, index, offset, bytes.
Bytes StreamPiece(unsigned index, uint32_t offset, const Bytes& bytes);

// A contents-list segment's data. A name ending in '/' is a storage.
Bytes ContentsList(const std::vector<std::pair<std::string, uint32_t>>& entries);

// A marker segment: FF marker, big-endian length, data.
Bytes Segment(unsigned char marker, const Bytes& data);

// The fixed pieces of a picture: SOI; Exif APP1; DQT, SOF, SOS, scan, EOI.
Bytes StartOfImage();
Bytes ExifApp1();
Bytes PictureTail();

struct WavParams {
    uint16_t nFormatTag = 0x11;
    uint16_t nChannels = 1;
    uint32_t nSampleRate = 8000;
    uint16_t nBitsPerSample = 4;
    uint16_t nBlockAlign = 256;
    Bytes data;
    bool bExifChunk = false; // a LIST "exif" chunk with ever, erel, etim, ecor, emdl
};

// A WAV file; for IMA ADPCM the fmt extension gives the block's sample count.
Bytes MakeWav(const WavParams& params);

// Deterministic bytes for a seed.
Bytes Noise(size_t size, unsigned seed);

} // namespace fpxrgen
