#include <sys/mman.h>

#include <numeric>

#include "audio/wav.h"
#include "testkit.h"

namespace {

using namespace fpxrgen;

WavParams Params(uint16_t tag, uint16_t channels, uint16_t bits, uint16_t blockAlign, const Bytes& data)
{
    return {.nFormatTag = tag, .nChannels = channels, .nBitsPerSample = bits, .nBlockAlign = blockAlign, .data = data};
}

Bytes AllByteValues(size_t times)
{
    Bytes bytes(256 * times);
    std::iota(bytes.begin(), bytes.end(), static_cast<unsigned char>(0)); // wraps after 255
    return bytes;
}

// Every encoding decoded, with its odd corners: random IMA codes and block heads (step indexes past the table),
// a short last block, every byte value.
TEST(PcmCopy, SamplesEqualWhatSoxDecodes)
{
    const struct {
        const char* what;
        Bytes wav;
    } cases[] = {
        {"the sample memo", ReadFile(DataPath("expected/IM000101.JPG.wav"))},
        {"IMA ADPCM mono, short last block", MakeWav(Params(0x11, 1, 4, 256, Noise(256 * 7 + 77, 1)))},
        {"IMA ADPCM stereo, short last block", MakeWav(Params(0x11, 2, 4, 512, Noise(512 * 5 + 200, 2)))},
        {"IMA ADPCM stereo, last block shorter than its heads", MakeWav(Params(0x11, 2, 4, 512, Noise(512 * 2 + 5, 7)))},
        {"mu-law", MakeWav(Params(7, 1, 8, 1, AllByteValues(2)))},
        {"A-law stereo", MakeWav(Params(6, 2, 8, 2, AllByteValues(2)))},
        {"8-bit PCM", MakeWav(Params(1, 1, 8, 1, AllByteValues(1)))},
        {"16-bit PCM stereo", MakeWav(Params(1, 2, 16, 4, Noise(4000, 3)))},
    };
    if (!Have("sox"))
        GTEST_SKIP() << "sox is not installed";
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir / "in.wav", c.wav);
        ASSERT_EQ(std::system(("sox -D '" + dir / "in.wav" + "' -e signed -b 16 -t raw '" + dir / "out.raw" + "' 2>/dev/null").c_str()), 0)
            << c.what;
        Bytes pcm;
        EXPECT_EQ(ConvertToPcm16(c.wav, pcm), PcmConversion::Converted) << c.what;
        // The samples follow the "data" chunk's head, which comes after the format and any Exif chunk, whose
        // texts hold no "data".
        const char* tag = "data";
        EXPECT_EQ(Bytes(std::search(pcm.begin(), pcm.end(), tag, tag + 4) + 8, pcm.end()), ReadFile(dir / "out.raw"))
            << c.what;
        EXPECT_FALSE(ReadFile(dir / "out.raw").empty()) << c.what;
        WavInfo in, out;
        ASSERT_TRUE(ParseWavInfo(c.wav, in));
        ASSERT_TRUE(ParseWavInfo(pcm, out));
        EXPECT_EQ(out.strFormat + std::to_string(out.nBitsPerSample), "PCM16");
        EXPECT_EQ(out.nSampleRate, in.nSampleRate);
        // The header's byte rate and block size, which players trust.
        const uint32_t byteRate = pcm[28] | pcm[29] << 8 | pcm[30] << 16 | uint32_t{pcm[31]} << 24;
        EXPECT_EQ(byteRate, in.nSampleRate * 2 * in.nChannels) << c.what;
        EXPECT_EQ(pcm[32] | pcm[33] << 8, 2 * in.nChannels) << c.what; // block size
        EXPECT_DOUBLE_EQ(out.dSeconds, in.dSeconds) << c.what;
    }
}

TEST(PcmCopy, OtherEncodingsAreKeptAsStored)
{
    const Bytes noData = MakeWav(Params(1, 1, 16, 2, {}));
    const struct {
        const char* what;
        Bytes wav;
        PcmConversion result;
    } cases[] = {
        {"ADPCM of format 2", MakeWav(Params(0x02, 1, 4, 256, Noise(512, 4))), PcmConversion::Unsupported},
        {"24-bit PCM", MakeWav(Params(1, 1, 24, 3, Noise(300, 5))), PcmConversion::Unsupported},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, PcmConversion::Malformed},
        {"no channels", MakeWav(Params(1, 0, 16, 2, Noise(300, 5))), PcmConversion::Malformed},
        {"no data chunk", Bytes(noData.begin(), noData.begin() + 36), PcmConversion::Malformed},
    };
    for (const auto& c : cases) {
        Bytes pcm{1};
        EXPECT_EQ(ConvertToPcm16(c.wav, pcm), c.result) << c.what;
        EXPECT_TRUE(pcm.empty()) << c.what;
    }
}

// An IMA ADPCM memo of 32,769 full blocks decodes to more than a RIFF size can count: refused before anything
// is decoded. Only its header page is ever touched; the rest of the gigabyte is never made.
TEST(PcmCopy, CopyPastFourGigabytesIsRefused)
{
    const Bytes head = MakeWav(Params(0x11, 1, 4, 256, {})); // ends in an empty data chunk
    const size_t blocks = 32769, blockAlign = 32772, size = head.size() + blocks * blockAlign;
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(memory, MAP_FAILED);
    auto* wav = static_cast<unsigned char*>(memory);
    std::memcpy(wav, head.data(), head.size());
    const auto put = [&](size_t at, uint32_t value, size_t bytes) { std::memcpy(wav + at, &value, bytes); };
    put(4, static_cast<uint32_t>(size - 8), 4);
    put(32, blockAlign, 2);
    put(38, 65535, 2); // samples a block
    put(head.size() - 4, static_cast<uint32_t>(blocks * blockAlign), 4);
    Bytes pcm{1};
    EXPECT_EQ(ConvertToPcm16({wav, size}, pcm), PcmConversion::TooLarge);
    EXPECT_TRUE(pcm.empty());
    ::munmap(memory, size);
}

// The memo's length, format and rate are held in the window's tooltip tests.
TEST(WavInfo, ReadsTheExifAudioChunk)
{
    const Bytes wav = MakeWav({.nFormatTag = 7, .nChannels = 2, .nBitsPerSample = 8, .nBlockAlign = 2,
                               .data = Noise(22050 * 3, 6), .bExifChunk = true});
    WavInfo info;
    ASSERT_TRUE(ParseWavInfo(wav, info));
    EXPECT_EQ(info.strTimeCreated, "11:09:23.00");
    EXPECT_EQ(info.strMake, "HP  "); // as stored; the padding goes where a name is made
    EXPECT_EQ(JoinCamera(info.strMake, info.strModel), "HP HP 618");
    // A chunk of odd size is followed by its pad byte; an encoding not decoded here takes its length from the
    // fact chunk's 8,000 samples.
    const Bytes adpcm = MakeWav(Params(0x02, 1, 4, 256, Noise(512, 4)));
    Bytes odd(adpcm.begin(), adpcm.begin() + 12);
    odd.insert(odd.end(), {'j', 'u', 'n', 'k', 3, 0, 0, 0, 1, 2, 3, 0, 'f', 'a', 'c', 't', 4, 0, 0, 0, 0x40, 0x1F, 0, 0});
    odd.insert(odd.end(), adpcm.begin() + 12, adpcm.end());
    const uint32_t riff = static_cast<uint32_t>(odd.size() - 8);
    std::memcpy(&odd[4], &riff, 4);
    EXPECT_TRUE(ParseWavInfo(odd, info) && info.dSeconds == 1.0) << info.dSeconds;
    // The PCM copy keeps the chunk.
    Bytes pcm;
    ASSERT_EQ(ConvertToPcm16(wav, pcm), PcmConversion::Converted);
    ASSERT_TRUE(ParseWavInfo(pcm, info));
    EXPECT_EQ(info.strModel, "HP 618    ");
}

} // namespace

// The waveform's columns: flat over silence, tall over a tone, and none for what cannot be decoded. In stereo,
// the tone first, each column takes both channels of its own stretch.
TEST(WavePeaks, SilenceIsFlatAndAToneIsTall)
{
    for (const auto& [channels, toneFirst] : {std::pair<uint16_t, bool>{1, false}, {2, true}}) {
        Bytes samples;
        for (int i = 0; i < 8000 * channels; ++i) {
            const int frame = i / channels;
            const bool tone = (frame < 4000) == toneFirst;
            const int16_t value = tone ? static_cast<int16_t>(frame % 16 < 8 ? 20000 : -20000) : 0;
            samples.push_back(static_cast<unsigned char>(value & 0xFF));
            samples.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
        }
        const std::vector<WavePeak> peaks = WavePeaks(
            MakeWav({.nFormatTag = 1, .nChannels = channels, .nBitsPerSample = 16,
                     .nBlockAlign = static_cast<uint16_t>(2 * channels), .data = samples}), 100);
        ASSERT_EQ(peaks.size(), 100u) << channels;
        for (size_t column = 0; column < 100; ++column)
            EXPECT_EQ(peaks[column].nHigh - peaks[column].nLow, (column < 50) == toneFirst ? 40000 : 0) << column;
    }
    EXPECT_TRUE(WavePeaks(Bytes(100, 0), 100).empty());
}
