
#include "audio/extract.h"
#include "audio/flashpix.h"
#include "audio/jpegaudio.h"
#include "platform/file.h"
#include "runkit.h"
#include "testkit.h"

namespace {

using namespace fpxrgen;

struct Found {
    Bytes bytes;
    bool bComplete;
    bool operator==(const Found&) const = default;
};

// Reads the file both ways and checks they agree on whether it has a memo.
std::vector<Found> Read(const std::string& path)
{
    CSourceFile file;
    EXPECT_TRUE(file.Open(path));
    file.SetReadAhead(4096);
    std::vector<FpxrMemo> memos;
    EXPECT_TRUE(ReadFlashPixMemos(file, memos));
    EXPECT_EQ(HasFlashPixMemo(file), !memos.empty()) << path;
    std::vector<Found> found;
    for (const FpxrMemo& memo : memos)
        found.push_back({memo.bytes, memo.bComplete});
    return found;
}

Bytes Memo(size_t size, unsigned seed)
{
    return MakeWav({.data = Noise(size, seed), .bExifChunk = true});
}

using Layouts = ::testing::TestWithParam<Layout>;

// Every memo is read and written (the first as .wav, then .2.wav), the presence test says Yes exactly when one
// is, and an independent reader of the format sees the same bytes.
TEST_P(Layouts, GiveEveryMemoAndAgreeWithExiftool)
{
    const Sample sample = MakeSample(GetParam(), Memo(9000, 1), Memo(3001, 2));
    const TempDir dir;
    const std::string path = dir / "pic.jpg";
    WriteFile(path, sample.file);
    std::vector<Found> found;
    for (const Bytes& memo : sample.memos)
        found.push_back({memo, true});
    EXPECT_EQ(Read(path), found);
    EXPECT_EQ(HasSound("", path), !sample.memos.empty());

    Recorder rows;
    EXPECT_EQ(RunExtraction({path}, rows).size(), sample.memos.size());
    std::vector<std::string> expected{"row:" + path};
    for (size_t i = 0; i < sample.memos.size(); ++i) {
        const CString out = OutputPathFor(path, static_cast<int>(i) + 1);
        expected.push_back("row:Output file: " + out + " Done");
        EXPECT_EQ(ReadFile(out), sample.memos[i]);
    }
    if (sample.memos.empty())
        expected.push_back("row:No Audio in file....................................................");
    EXPECT_EQ(rows.events, expected);

    if (!Have("exiftool"))
        GTEST_SKIP() << "exiftool is not installed";
    // It lists two memos in its own order.
    std::string all, reversed;
    for (const Bytes& memo : sample.memos) {
        all += std::string(memo.begin(), memo.end());
        reversed = std::string(memo.begin(), memo.end()) + reversed;
    }
    const std::string theirs = Shell("exiftool -a -b -AudioStream " + Quote(path), true);
    EXPECT_TRUE(theirs == all || theirs == reversed);
}

INSTANTIATE_TEST_SUITE_P(FlashPix, Layouts, ::testing::ValuesIn(AllLayouts()),
                         [](const auto& info) { return MakeSample(info.param, {}).name; });

// A file of SOI, Exif, the given FlashPix APP2 data and the picture.
Bytes FileWith(const std::vector<Bytes>& segments, const Bytes& tail = PictureTail())
{
    Bytes file = Concat(StartOfImage(), ExifApp1());
    for (const Bytes& data : segments)
        file = Concat(file, Segment(0xE2, data));
    return Concat(file, tail);
}

Bytes Slice(const Bytes& bytes, size_t from, size_t to)
{
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(std::min(to, bytes.size())));
}

TEST(FlashPix, MalformedFilesGiveWhatTheyHoldAndNoMore)
{
    const Bytes memo = Memo(2000, 3);
    const Bytes stream = Concat(Bytes(28, 0), memo);
    const auto list = [](uint32_t size) { return ContentsList({{"/", 0}, {"/Audio Stream 000000", size}}); };
    const Bytes whole = list(static_cast<uint32_t>(stream.size()));
    const Bytes first = StreamPiece(1, 0, Slice(stream, 0, 1000));
    const Bytes rest = StreamPiece(1, 1000, Slice(stream, 1000, stream.size()));
    const Bytes afterHole = StreamPiece(1, 1500, Slice(stream, 1500, stream.size()));
    const Found full{memo, true};
    const Found upToHole{Slice(memo, 0, 1000 - 28), false};
    Bytes notRiff = stream;
    notRiff[28 + 3] = 'X';
    Bytes claimsMore = memo; // the RIFF header counts more than the list holds
    claimsMore[4] += 1;
    const Bytes longer = Concat(Bytes(28, 0), claimsMore);
    Bytes cut = FileWith({whole, first, rest}, {});
    cut.resize(cut.size() - 500);
    std::vector<Bytes> creeping{whole}; // pieces of 8 bytes, each a byte further
    for (size_t at = 0; at + 8 <= stream.size(); ++at)
        creeping.push_back(StreamPiece(1, static_cast<uint32_t>(at), Slice(stream, at, at + 8)));
    const Bytes across = Noise(1000, 3); // over the end of `first` and the start of `rest`
    Bytes mixed = memo;
    std::copy(across.begin() + 500, across.end(), mixed.begin() + 1000 - 28);

    const struct {
        const char* what;
        Bytes file;
        std::vector<Found> memos;
    } cases[] = {
        {"in order", FileWith({whole, first, rest}), {full}},
        {"the last piece first: it starts the stream", FileWith({rest, first, whole}), {}},
        {"a piece before the list", FileWith({first, whole, rest}), {full}},
        {"a hole: bytes behind it are dropped", FileWith({whole, first, afterHole}), {upToHole}},
        {"listed size below the pieces", FileWith({list(1500), first, rest}), {{Slice(memo, 0, 1500 - 28), false}}},
        {"listed size below the memo's head", FileWith({list(30), first, rest}), {}},
        {"listed size of 4 GB", FileWith({list(0xFFFFFFFE), first, rest}), {full}},
        {"a first piece claiming another offset", FileWith({whole, StreamPiece(1, 77, Slice(stream, 0, 1000)), rest}),
         {full}},
        {"a piece far past the size", FileWith({whole, first, rest, StreamPiece(1, 0xFFFFFF00, Noise(50, 1))}), {full}},
        {"a repeated piece with other bytes", FileWith({whole, first, StreamPiece(1, 0, Noise(1000, 2)), rest}),
         {full}},
        {"pieces each a byte further", FileWith(creeping), {full}},
        {"a piece across two: it fills only what the first left",
         FileWith({whole, first, StreamPiece(1, 500, across), rest}), {{mixed, true}}},
        {"a free segment", FileWith({whole, StreamPiece(255, 0, stream)}), {}},
        {"a piece of an unlisted stream", FileWith({whole, StreamPiece(9, 0, stream)}), {}},
        {"no RIFF", FileWith({whole, StreamPiece(1, 0, notRiff)}), {}},
        {"a storage named like a memo", FileWith({ContentsList({{"/Audio Stream 000000/", 0}}),
                                                  StreamPiece(0, 0, stream)}), {}},
        {"not six digits", FileWith({ContentsList({{"/Audio Stream 00000", 2028}, {"/Audio Stream 0000000", 2028}}),
                                     StreamPiece(0, 0, stream), StreamPiece(1, 0, stream)}), {}},
        {"a second contents list is ignored",
         FileWith({whole, ContentsList({{"/", 0}, {"/Thumb Data 000000", 2028}}), first, rest}), {full}},
        {"a broken first list lets the next count",
         FileWith({Slice(whole, 0, whole.size() - 3), whole, first, rest}), {full}},
        {"pieces behind the start of scan",
         Concat(FileWith({whole, first}, Segment(0xDA, {1, 1, 0, 0, 0x3F, 0})), Segment(0xE2, rest)),
         {{Slice(memo, 0, 1000 - 28), false}}},
        {"pieces behind the end of image", Concat(FileWith({whole, first}, {0xFF, 0xD9, 0, 2}), Segment(0xE2, rest)),
         {{Slice(memo, 0, 1000 - 28), false}}},
        {"file cut inside the last piece", cut, {{Slice(memo, 0, memo.size() - 500), false}}},
        {"a list entry cut short", FileWith({Slice(whole, 0, 20), first, rest}), {}},
        {"a RIFF size past the listed size", FileWith({list(static_cast<uint32_t>(longer.size())), StreamPiece(1, 0, longer)}),
         {{claimsMore, false}}},
        {"fill bytes across several reads before the pieces",
         Concat(FileWith({whole}, Bytes(10000, 0xFF)), Concat(Segment(0xE2, first), Segment(0xE2, rest))), {full}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir / "pic.jpg", c.file);
        EXPECT_EQ(Read(dir / "pic.jpg"), c.memos) << c.what;
        // Play and the memo's description take a whole memo only.
        std::vector<unsigned char> wav;
        EXPECT_EQ(ReadMemo(dir / "pic.jpg", wav), !c.memos.empty() && c.memos[0].bComplete) << c.what;
    }
}

} // namespace
