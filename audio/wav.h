#pragma once
// What a memo's RIFF/WAVE bytes hold, and their copy as plain 16-bit PCM
// that every player plays. Decoded: IMA ADPCM (mono, stereo), mu-law,
// A-law, and 8- or 16-bit PCM; the samples equal what sox decodes.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/cstring.h"

// No memo larger than this is read into memory, from any source: a
// camera's memo is a few hundred kilobytes, and an hour of CD sound 635 MB.
constexpr int64_t MAX_MEMO_BYTES = 256 * 1024 * 1024;

constexpr uint16_t WAVE_FORMAT_PCM = 0x0001;
constexpr uint16_t WAVE_FORMAT_ALAW = 0x0006;
constexpr uint16_t WAVE_FORMAT_MULAW = 0x0007;
constexpr uint16_t WAVE_FORMAT_IMA_ADPCM = 0x0011;

struct WavInfo {
    uint16_t nFormatTag = 0;
    CString strFormat; // "IMA ADPCM", "PCM", "mu-law", "A-law", or "format 0x0055"
    unsigned nSampleRate = 0;
    unsigned nChannels = 0;
    unsigned nBitsPerSample = 0;
    double dSeconds = 0;
    // The Exif audio chunk (LIST "exif"), each empty when absent.
    CString strExifVersion; // ever
    CString strRelatedImage; // erel: the picture the memo belongs to
    CString strTimeCreated; // etim
    CString strMake;        // ecor
    CString strModel;       // emdl
    CString strUserComment; // eucm, without its 8-byte character-code prefix
};

/// True when the bytes hold all that their RIFF header counts: 8 + the
/// RIFF size. A memo cut short is not whole.
bool IsWholeRiff(std::span<const unsigned char> wav);

/// Reads the fmt chunk, the length of the data and the Exif audio chunk.
/// Returns false when the bytes are no RIFF/WAVE file with fmt and data.
bool ParseWavInfo(std::span<const unsigned char> wav, WavInfo& info);

/// Maker and model as one name ("HP HP 618"), either alone when the other
/// is empty; cameras pad both with spaces or NULs, which are dropped.
CString JoinCamera(const CString& make, const CString& model);
/// The camera as a person names it: the model alone where it already names
/// the maker ("HP PhotoSmart 618" for Hewlett-Packard's, "KODAK DC260 ZOOM
/// DIGITAL CAMERA" for Eastman Kodak's), else maker and model.
CString CameraName(const CString& make, const CString& model);

enum class PcmConversion {
    Converted,   // pcm holds a 16-bit PCM WAV file
    Unsupported, // a well-formed WAV in an encoding not decoded here: keep it as stored
    Malformed,   // no RIFF/WAVE file with fmt and data, or a fmt that cannot be true
    TooLarge,    // the 16-bit samples would not fit the 4 GB a RIFF size can count
};

// The loudest and softest sample of one stretch of a memo, every channel
// together: one column of its waveform.
struct WavePeak {
    int16_t nLow = 0;
    int16_t nHigh = 0;
};

/// Returns the memo cut into columns equal stretches, the peaks of each,
/// decoded as ConvertToPcm16 decodes; empty when it cannot be decoded.
std::vector<WavePeak> WavePeaks(std::span<const unsigned char> wav, size_t columns);

/// Decodes a memo to 16-bit PCM at its own rate and channel count. A data
/// chunk that runs past the end is decoded as far as it goes; the Exif audio
/// chunk is carried over. pcm is emptied unless the result is Converted.
PcmConversion ConvertToPcm16(std::span<const unsigned char> wav, std::vector<unsigned char>& pcm);
