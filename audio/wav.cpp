#include "audio/wav.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstring>

namespace {

using Bytes = std::span<const unsigned char>;

uint16_t Little16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Little32(const unsigned char* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool IsId(Bytes bytes, size_t at, const char* id)
{
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, id, 4) == 0;
}

struct Format {
    uint16_t nTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSampleRate = 0;
    uint32_t nByteRate = 0;
    uint16_t nBlockAlign = 0;
    uint16_t nBitsPerSample = 0;
    uint16_t nSamplesPerBlock = 0; // IMA ADPCM: from the fmt extension
};

// The chunks a memo needs. A chunk that runs past the stored bytes is cut
// there: a short memo still plays as far as it goes. The RIFF size is not
// trusted to bound them: some cameras write one smaller than the WAV they
// store, while their data chunk is right.
struct Chunks {
    Format format;
    Bytes data;
    Bytes exif; // body of LIST "exif", after its type
    uint32_t nFactSamples = 0;
    bool bFormat = false;
    bool bData = false;
    bool bFact = false;
};

bool ReadChunks(Bytes wav, Chunks& chunks)
{
    if (!IsId(wav, 0, "RIFF") || !IsId(wav, 8, "WAVE"))
        return false;
    const size_t end = wav.size();
    for (size_t at = 12; at + 8 <= end;) {
        const uint32_t size = Little32(&wav[at + 4]);
        const Bytes body = wav.subspan(at + 8, static_cast<size_t>(std::min<uint64_t>(size, end - at - 8)));
        if (IsId(wav, at, "fmt ") && !chunks.bFormat && body.size() >= 16) {
            Format& f = chunks.format;
            f.nTag = Little16(&body[0]);
            f.nChannels = Little16(&body[2]);
            f.nSampleRate = Little32(&body[4]);
            f.nByteRate = Little32(&body[8]);
            f.nBlockAlign = Little16(&body[12]);
            f.nBitsPerSample = Little16(&body[14]);
            if (body.size() >= 20 && Little16(&body[16]) >= 2)
                f.nSamplesPerBlock = Little16(&body[18]);
            chunks.bFormat = true;
        } else if (IsId(wav, at, "data") && !chunks.bData) {
            chunks.data = body;
            chunks.bData = true;
        } else if (IsId(wav, at, "fact") && body.size() >= 4) {
            chunks.nFactSamples = Little32(&body[0]);
            chunks.bFact = true;
        } else if (IsId(wav, at, "LIST") && IsId(body, 0, "exif") && chunks.exif.empty()) {
            chunks.exif = body.subspan(4);
        }
        at += 8 + static_cast<size_t>(std::min<uint64_t>(size + uint64_t{size & 1}, end - at - 8));
    }
    return chunks.bFormat && chunks.bData;
}

// IMA ADPCM as WAV files lay it out: per block and channel a 4-byte head
// (first sample, step index), then 4-byte groups of eight 4-bit codes per
// channel in turn.
constexpr int kImaStepCount = 89;
constexpr std::array<int, kImaStepCount> kImaSteps = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kImaIndexStep = {-1, -1, -1, -1, 2, 4, 6, 8};

// Every (step index, code) pair worked out once: the signed change of the
// sample and the next step index. Each sample is then two look-ups.
struct ImaTables {
    std::array<std::array<int, 16>, kImaStepCount> delta{};
    std::array<std::array<unsigned char, 16>, kImaStepCount> next{};
};

constexpr ImaTables MakeImaTables()
{
    ImaTables tables;
    for (int index = 0; index < kImaStepCount; ++index) {
        for (int code = 0; code < 16; ++code) {
            const int step = kImaSteps[static_cast<size_t>(index)];
            int delta = step >> 3;
            if (code & 4)
                delta += step;
            if (code & 2)
                delta += step >> 1;
            if (code & 1)
                delta += step >> 2;
            tables.delta[static_cast<size_t>(index)][static_cast<size_t>(code)] = code & 8 ? -delta : delta;
            tables.next[static_cast<size_t>(index)][static_cast<size_t>(code)] = static_cast<unsigned char>(
                std::clamp(index + kImaIndexStep[static_cast<size_t>(code & 7)], 0, kImaStepCount - 1));
        }
    }
    return tables;
}

constexpr ImaTables kIma = MakeImaTables();

// Bytes a block needs for this many samples per channel.
size_t ImaBlockBytes(unsigned channels, size_t samples)
{
    return 4 * channels * (1 + (samples + 6) / 8);
}

// Samples per channel in a block of this many bytes, no more than a full one holds.
size_t ImaSamplesIn(size_t bytes, unsigned channels, size_t samplesPerBlock)
{
    if (bytes < 4 * channels)
        return 0;
    return std::min(8 * ((bytes - 4 * channels) / (4 * channels)) + 1, samplesPerBlock);
}

// Samples are written straight into the output file's bytes.
void Store(unsigned char* at, int value)
{
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

void DecodeImaBlock(const unsigned char* block, unsigned channels, size_t samples, unsigned char* out)
{
    for (unsigned ch = 0; ch < channels; ++ch) {
        const unsigned char* head = block + 4 * ch;
        int value = static_cast<int16_t>(Little16(head));
        size_t index = head[2] < kImaStepCount ? head[2] : 0; // sox restarts a bad index at 0
        const unsigned char* code = block + 4 * channels + 4 * ch;
        unsigned char* sample = out + 2 * ch;
        Store(sample, value);
        for (size_t i = 1; i < samples; ++i) {
            int nibble;
            if (i & 1) {
                nibble = *code & 0x0F;
            } else {
                nibble = *code++ >> 4;
                if ((i & 7) == 0)
                    code += 4 * (channels - 1); // the other channels' groups
            }
            value = std::clamp(value + kIma.delta[index][static_cast<size_t>(nibble)], -0x8000, 0x7FFF);
            index = kIma.next[index][static_cast<size_t>(nibble)];
            sample += 2 * channels;
            Store(sample, value);
        }
    }
}

size_t ImaFrames(const Format& f, size_t dataBytes)
{
    return dataBytes / f.nBlockAlign * f.nSamplesPerBlock
        + ImaSamplesIn(dataBytes % f.nBlockAlign, f.nChannels, f.nSamplesPerBlock);
}

void DecodeIma(const Format& f, Bytes data, unsigned char* out)
{
    for (size_t at = 0; at < data.size(); at += f.nBlockAlign) {
        const size_t bytes = std::min<size_t>(f.nBlockAlign, data.size() - at);
        const size_t samples = ImaSamplesIn(bytes, f.nChannels, f.nSamplesPerBlock);
        if (samples == 0) // a last block too short for its heads
            break;
        DecodeImaBlock(&data[at], f.nChannels, samples, out);
        out += 2 * samples * f.nChannels;
    }
}

// G.711: the sign, a 3-bit segment and a 4-bit step, each segment doubling.
int16_t MuLawToLinear(unsigned char code)
{
    code = static_cast<unsigned char>(~code);
    const int magnitude = (((code & 0x0F) << 3) + 0x84) << ((code >> 4) & 7);
    return static_cast<int16_t>(code & 0x80 ? 0x84 - magnitude : magnitude - 0x84);
}

int16_t ALawToLinear(unsigned char code)
{
    code ^= 0x55;
    int magnitude = (code & 0x0F) << 4;
    const int segment = (code >> 4) & 7;
    magnitude += segment == 0 ? 8 : 0x108;
    if (segment > 1)
        magnitude <<= segment - 1;
    return static_cast<int16_t>(code & 0x80 ? magnitude : -magnitude);
}

bool IsSoundFormat(const Format& f)
{
    return f.nChannels > 0 && f.nSampleRate > 0 && f.nBlockAlign > 0;
}

bool CanDecode(const Format& f)
{
    switch (f.nTag) {
    case WAVE_FORMAT_PCM:
        return f.nBitsPerSample == 8 || f.nBitsPerSample == 16;
    case WAVE_FORMAT_MULAW:
    case WAVE_FORMAT_ALAW:
        return f.nBitsPerSample == 8;
    case WAVE_FORMAT_IMA_ADPCM:
        return f.nBitsPerSample == 4 && f.nSamplesPerBlock > 0
            && ImaBlockBytes(f.nChannels, f.nSamplesPerBlock) <= f.nBlockAlign;
    default:
        return false;
    }
}

// Whole frames of one sample per channel, at bytesPerSample each.
size_t PlainFrames(const Format& f, size_t dataBytes, size_t bytesPerSample)
{
    return dataBytes / (bytesPerSample * f.nChannels);
}

// Frames the data decodes to, as sox counts them.
size_t Frames(const Format& f, size_t dataBytes)
{
    if (f.nTag == WAVE_FORMAT_IMA_ADPCM)
        return ImaFrames(f, dataBytes);
    return PlainFrames(f, dataBytes, f.nBitsPerSample / 8);
}

// Writes Frames() frames of 16-bit samples to out.
void Decode(const Format& f, Bytes data, unsigned char* out)
{
    if (f.nTag == WAVE_FORMAT_IMA_ADPCM)
        return DecodeIma(f, data, out);
    const size_t bytesPerSample = f.nBitsPerSample / 8;
    const size_t count = Frames(f, data.size()) * f.nChannels;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char byte = data[i * bytesPerSample];
        if (f.nTag == WAVE_FORMAT_MULAW)
            Store(out + 2 * i, MuLawToLinear(byte));
        else if (f.nTag == WAVE_FORMAT_ALAW)
            Store(out + 2 * i, ALawToLinear(byte));
        else if (bytesPerSample == 1)
            Store(out + 2 * i, (byte - 128) * 256);
        else
            Store(out + 2 * i, static_cast<int16_t>(Little16(&data[i * 2])));
    }
}

void Put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutId(std::vector<unsigned char>& out, const char* id)
{
    out.insert(out.end(), id, id + 4);
}

CString ExifText(Bytes exif, const char* id)
{
    for (size_t at = 0; at + 8 <= exif.size();) {
        const uint32_t size = Little32(&exif[at + 4]);
        const size_t length = static_cast<size_t>(std::min<uint64_t>(size, exif.size() - at - 8));
        if (IsId(exif, at, id)) {
            CString text(reinterpret_cast<const char*>(&exif[at + 8]), length);
            if (std::strcmp(id, "eucm") == 0)
                text.erase(0, std::min<size_t>(8, text.size())); // "ASCII\0\0\0" and the like
            return text.substr(0, text.find('\0'));
        }
        at += 8 + static_cast<size_t>(std::min<uint64_t>(size + uint64_t{size & 1}, exif.size() - at - 8));
    }
    return {};
}

} // namespace

bool IsWholeRiff(std::span<const unsigned char> wav)
{
    return wav.size() >= 8 && wav.size() >= uint64_t{Little32(&wav[4])} + 8;
}

bool ParseWavInfo(std::span<const unsigned char> wav, WavInfo& info)
{
    info = WavInfo{};
    Chunks chunks;
    if (!ReadChunks(wav, chunks))
        return false;
    const Format& f = chunks.format;
    info.nFormatTag = f.nTag;
    info.nSampleRate = f.nSampleRate;
    info.nChannels = f.nChannels;
    info.nBitsPerSample = f.nBitsPerSample;
    switch (f.nTag) {
    case WAVE_FORMAT_PCM: info.strFormat = "PCM"; break;
    case WAVE_FORMAT_MULAW: info.strFormat = "mu-law"; break;
    case WAVE_FORMAT_ALAW: info.strFormat = "A-law"; break;
    case WAVE_FORMAT_IMA_ADPCM: info.strFormat = "IMA ADPCM"; break;
    default: info.strFormat = FormatText("format 0x%04X", f.nTag); break;
    }
    if (IsSoundFormat(f) && CanDecode(f)) {
        info.dSeconds = static_cast<double>(Frames(f, chunks.data.size())) / f.nSampleRate;
    } else if (chunks.bFact && f.nSampleRate > 0) {
        info.dSeconds = static_cast<double>(chunks.nFactSamples) / f.nSampleRate;
    } else if (f.nByteRate > 0) {
        info.dSeconds = static_cast<double>(chunks.data.size()) / f.nByteRate;
    }
    info.strExifVersion = ExifText(chunks.exif, "ever");
    info.strRelatedImage = ExifText(chunks.exif, "erel");
    info.strTimeCreated = ExifText(chunks.exif, "etim");
    info.strMake = ExifText(chunks.exif, "ecor");
    info.strModel = ExifText(chunks.exif, "emdl");
    info.strUserComment = ExifText(chunks.exif, "eucm");
    return true;
}

namespace {

CString Trimmed(const CString& text)
{
    const size_t first = text.find_first_not_of(CString(" \0", 2));
    return first == CString::npos ? CString() : text.substr(first, text.find_last_not_of(CString(" \0", 2)) - first + 1);
}

std::vector<CString> Words(const CString& text, const char* separators)
{
    std::vector<CString> words;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find_first_of(separators, at), text.size());
        if (end > at) {
            CString word = text.substr(at, end - at);
            std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::toupper(c); });
            words.push_back(std::move(word));
        }
        at = end + 1;
    }
    return words;
}

} // namespace

CString JoinCamera(const CString& make, const CString& model)
{
    const CString maker = Trimmed(make), name = Trimmed(model);
    return maker.empty() || name.empty() ? maker + name : maker + " " + name;
}

CString CameraName(const CString& make, const CString& model)
{
    const CString maker = Trimmed(make), name = Trimmed(model);
    const std::vector<CString> makerWords = Words(maker, " -,.");
    const std::vector<CString> nameWords = Words(name, " -");
    if (makerWords.empty() || nameWords.empty())
        return JoinCamera(maker, name);
    // A maker's initials count as its name: "HP" for Hewlett-Packard.
    CString initials;
    for (const CString& word : makerWords)
        initials += word.front();
    const bool named = nameWords.front() == initials
                    || std::find(makerWords.begin(), makerWords.end(), nameWords.front()) != makerWords.end();
    return named ? name : JoinCamera(maker, name);
}

std::vector<WavePeak> WavePeaks(std::span<const unsigned char> wav, size_t columns)
{
    Chunks chunks;
    if (columns == 0 || !ReadChunks(wav, chunks) || !IsSoundFormat(chunks.format) || !CanDecode(chunks.format))
        return {};
    const Format& f = chunks.format;
    const size_t frames = Frames(f, chunks.data.size());
    if (frames == 0 || uint64_t{frames} * f.nChannels * 2 > MAX_MEMO_BYTES * uint64_t{4})
        return {};
    // Decoded straight into samples: the decoder stores them little-endian,
    // as this machine holds them.
    static_assert(std::endian::native == std::endian::little);
    std::vector<int16_t> samples(frames * f.nChannels);
    Decode(f, chunks.data, reinterpret_cast<unsigned char*>(samples.data()));
    std::vector<WavePeak> peaks(columns);
    for (size_t column = 0; column < columns; ++column) {
        const size_t first = std::min(frames, frames * column / columns) * f.nChannels;
        const size_t end = std::min(frames, std::max(frames * column / columns + 1, frames * (column + 1) / columns))
                         * f.nChannels;
        int low = 0, high = 0;
        const int16_t* sample = samples.data();
        for (size_t i = first; i < end; ++i) {
            low = sample[i] < low ? sample[i] : low;
            high = sample[i] > high ? sample[i] : high;
        }
        peaks[column] = {static_cast<int16_t>(low), static_cast<int16_t>(high)};
    }
    return peaks;
}

PcmConversion ConvertToPcm16(std::span<const unsigned char> wav, std::vector<unsigned char>& pcm)
{
    pcm.clear();
    Chunks chunks;
    if (!ReadChunks(wav, chunks) || !IsSoundFormat(chunks.format))
        return PcmConversion::Malformed;
    const Format& f = chunks.format;
    if (!CanDecode(f))
        return PcmConversion::Unsupported;

    // Counted in 64 bits: a small IMA ADPCM memo can claim four times its
    // size in samples, and a size that wrapped would leave the decoder
    // writing past the buffer.
    const uint64_t dataBytes = uint64_t{Frames(f, chunks.data.size())} * f.nChannels * 2;
    const uint64_t exifBytes = chunks.exif.empty() ? 0 : 12 + uint64_t{chunks.exif.size()} + (chunks.exif.size() & 1);
    if (36 + exifBytes + dataBytes > UINT32_MAX)
        return PcmConversion::TooLarge;
    pcm.reserve(44 + exifBytes + dataBytes);
    PutId(pcm, "RIFF");
    Put32(pcm, static_cast<uint32_t>(36 + exifBytes + dataBytes));
    PutId(pcm, "WAVE");
    PutId(pcm, "fmt ");
    Put32(pcm, 16);
    Put16(pcm, WAVE_FORMAT_PCM);
    Put16(pcm, f.nChannels);
    Put32(pcm, f.nSampleRate);
    Put32(pcm, f.nSampleRate * 2u * f.nChannels);
    Put16(pcm, 2u * f.nChannels);
    Put16(pcm, 16);
    if (exifBytes) {
        PutId(pcm, "LIST");
        Put32(pcm, static_cast<uint32_t>(4 + chunks.exif.size()));
        PutId(pcm, "exif");
        pcm.insert(pcm.end(), chunks.exif.begin(), chunks.exif.end());
        if (chunks.exif.size() & 1)
            pcm.push_back(0);
    }
    PutId(pcm, "data");
    Put32(pcm, static_cast<uint32_t>(dataBytes));
    const size_t at = pcm.size();
    pcm.resize(at + dataBytes);
    Decode(f, chunks.data, pcm.data() + at);
    return PcmConversion::Converted;
}
