// Memos from every source: generated phone trailers and Exif-named WAVs, and damaged trailers and compound
// files (the real camera files are held against exiftool and sox by the report tests).

#include "audio/beside.h"
#include "audio/extract.h"
#include "audio/memo.h"
#include "bench/memogen.h"
#include "runkit.h"
#include "testkit.h"

namespace {

using memogen::TrailerBlock;

// Pictures built the way phones and Exif cameras write them.
struct Generated {
    const char* name;
    Bytes picture;
    const char* besideName; // a WAV written beside the picture under this name
    bool memo;
    MemoSource source;
    const char* place;
    const char* missing = ""; // the memo the picture names that is gone
};

TEST(Memos, GeneratedTrailersAndRelatedSoundFiles)
{
    using namespace memogen;
    const Bytes wav = PhoneWav(4410);
    const Bytes plain = JpegWithApp1(Bytes(40, 0));
    const TrailerBlock memoBlock{0x0100, "SoundShot_000", wav};
    const TrailerBlock metaBlock{0x0800, "SoundShot_Meta_Info", Bytes(29, 'm')};
    const auto related = [](const std::string& name, bool big = true) {
        return JpegWithApp1(ExifWithRelatedSoundFile(name, big));
    };
    const Generated cases[] = {
        {"trailer.jpg", WithTrailer(plain, {memoBlock, metaBlock}), "", true, MemoSource::SoundShotTrailer, "in the phone's trailer"},
        {"trailer_only.jpg", WithTrailer(plain, {memoBlock}), "", true, MemoSource::SoundShotTrailer, "in the phone's trailer"},
        {"meta_only.jpg", WithTrailer(plain, {metaBlock}), "", false, {}, ""},
        {"related.jpg", related("PICT0057.WAV"), "PICT0057.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0057.WAV"},
        {"related_intel.jpg", related("PICT0058.WAV", false), "PICT0058.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0058.WAV"},
        {"related_missing.jpg", related("PICT0059.WAV"), "", false, {}, "", "PICT0059.WAV"},
        // Minolta's tag as libexif writes it, in the Exif and the Interoperability IFD, behind JFIF's APP0 too.
        {"minolta.jpg", PictureNamingSound("PICT0069.WAV"), "", false, {}, "", "PICT0069.WAV"},
        {"interop.jpg", PictureNamingSound("PICT0062.WAV", true), "PICT0062.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0062.WAV"},
        {"interop_gone.jpg", PictureNamingSound("PICT0063.WAV", true), "", false, {}, "", "PICT0063.WAV"},
        {"jfif.jpg", PictureNamingSound("PICT0064.WAV", false, true), "PICT0064.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0064.WAV"},
        {"jfif_gone.jpg", PictureNamingSound("PICT0065.WAV", false, true), "", false, {}, "", "PICT0065.WAV"},
        {"padded.jpg", PictureNamingSound("  PICT0066.WAV   "), "PICT0066.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0066.WAV"},
        {"padded_gone.jpg", PictureNamingSound("PICT0067.WAV    "), "", false, {}, "", "PICT0067.WAV"},
        {"lower.jpg", PictureNamingSound("pict0068.wav"), "PICT0068.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0068.WAV"},
        // What cameras write when they recorded nothing names no memo.
        {"blank.jpg", PictureNamingSound(""), "", false, {}, ""},
        {"spaces.jpg", PictureNamingSound("            "), "", false, {}, ""},
        {"nuls.jpg", PictureNamingSound(std::string(12, '\0')), "", false, {}, ""},
        {"placeholder.jpg", PictureNamingSound("RelatedSound"), "", false, {}, ""},
        {"placeholder2.jpg", PictureNamingSound("RELATEDSOUNDFILE"), "", false, {}, ""},
        {"mp3.jpg", PictureNamingSound("memo.mp3"), "MEMO.MP3", false, {}, ""}, // there, though no WAV
        {"related_up.jpg", related("../up.wav"), "", false, {}, ""},
        {"related_sub.jpg", related("sub/x.wav"), "", false, {}, ""},
        {"related_empty.jpg", related(""), "", false, {}, ""},
        {"Base.jpg", plain, "Base.Wav", true, MemoSource::BesideThePicture, "beside it: Base.Wav"},
        // A folder named like the picture's WAV leaves the Exif-named one to count.
        {"named.jpg", related("PICT0060.WAV"), "PICT0060.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0060.WAV"},
        // A picture named like a WAV is not its own memo.
        {"self.wav", related("PICT0061.WAV"), "PICT0061.WAV", true, MemoSource::BesideThePicture, "beside it: PICT0061.WAV"},
        {"base2.jpg", plain, "Base2.wav", false, {}, ""}, // the base name must match exactly
        {"notes.txt", Bytes{'h', 'i'}, "notes.wav", false, {}, ""}, // a text file has no memo beside it
        {"nowave.jpg", plain, "nowave.wav.txt", false, {}, ""},
    };
    TempDir dir;
    MakeDir(dir / "sub");
    MakeDir(dir / "named.wav");
    WriteFile(dir / "sub/x.wav", wav);
    WriteFile(dir / "up.wav", wav);
    for (const Generated& one : cases) {
        SCOPED_TRACE(one.name);
        const std::string path = dir / one.name;
        WriteFile(path, one.picture);
        if (*one.besideName)
            WriteFile(dir / one.besideName, wav);
        std::vector<CMemo> memos;
        ASSERT_EQ(ReadMemos(path, memos), one.memo ? SoundCheck::Yes : SoundCheck::No);
        EXPECT_EQ(CheckSound(path), one.memo ? SoundCheck::Yes : SoundCheck::No);
        EXPECT_EQ(FindMissingMemo(path), one.missing);
        if (!one.memo)
            continue;
        EXPECT_EQ(memos[0].source, one.source);
        EXPECT_EQ(memos[0].bytes, wav);
        EXPECT_TRUE(memos[0].bComplete);
        EXPECT_EQ(DescribeMemoPlace(memos[0]), one.place);
        // A source left out is not looked at.
        EXPECT_EQ(CheckSound(path, nullptr, {}, ALL_MEMO_SOURCES & ~SourceBit(one.source)), SoundCheck::No);
        if (one.source == MemoSource::SoundShotTrailer && Have("exiftool")) {
            EXPECT_EQ(Shell("exiftool -b -EmbeddedAudioFile " + Quote(path), true), std::string(wav.begin(), wav.end()));
        }
    }
    // A RIFF file that is no WAVE (a video) beside the picture is no memo.
    WriteFile(dir / "clip.jpg", plain);
    WriteFile(dir / "clip.wav", Concat({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, Bytes(40, 0)));
    EXPECT_EQ(CheckSound(dir / "clip.jpg"), SoundCheck::No);
    // One cut short is no whole memo.
    WriteFile(dir / "clip.wav", Bytes(wav.begin(), wav.end() - 100));
    std::vector<CMemo> memos;
    ASSERT_EQ(ReadMemos(dir / "clip.jpg", memos), SoundCheck::Yes);
    EXPECT_FALSE(memos[0].bComplete);
}

// A sidecar is read only from the picture's folder and never through a link, and when root reads, only one of
// the picture's owner or of root; the WAV gets no permission the sidecar does not have.
TEST(Memos, SidecarsOfTheirOwnFolderAndOwnerOnly)
{
    using namespace memogen;
    const Bytes wav = PhoneWav(441);
    TempDir dir, other;
    WriteFile(other / "secret.wav", wav);
    ASSERT_EQ(::chmod((other / "secret.wav").c_str(), 0600), 0);
    WriteFile(dir / "pic.jpg", JpegWithApp1(Bytes(40, 0)));
    ASSERT_EQ(::symlink((other / "secret.wav").c_str(), (dir / "pic.wav").c_str()), 0);
    WriteFile(dir / "rel.jpg", JpegWithApp1(ExifWithRelatedSoundFile("LINK.WAV")));
    ASSERT_EQ(::symlink((other / "secret.wav").c_str(), (dir / "LINK.WAV").c_str()), 0);
    for (const char* linked : {"pic.jpg", "rel.jpg"}) {
        std::vector<CMemo> memos;
        EXPECT_EQ(ReadMemos(dir / linked, memos), SoundCheck::No) << linked;
        EXPECT_EQ(CheckSound(dir / linked), SoundCheck::No) << linked;
    }

    WriteFile(dir / "own.jpg", JpegWithApp1(Bytes(40, 0)));
    WriteFile(dir / "own.wav", wav);
    ASSERT_EQ(::chmod((dir / "own.jpg").c_str(), 0604), 0);
    ASSERT_EQ(::chmod((dir / "own.wav").c_str(), 0640), 0);
    const mode_t mask = ::umask(0);
    Extract({dir / "own.jpg"});
    ::umask(mask);
    EXPECT_EQ(Mode(dir / "own.jpg.wav"), 0600u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "the owner check applies to root only, and only root can give files to others";
    // The folder and picture of nobody (65534): a sidecar of a third user is not read, nobody's own and root's
    // are.
    for (const std::string& path : {dir.path(), dir / "own.jpg"})
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    for (const auto& [owner, memo] : {std::pair{12345u, false}, {65534u, true}, {0u, true}}) {
        ASSERT_EQ(::chown((dir / "own.wav").c_str(), owner, owner), 0);
        EXPECT_EQ(CheckSound(dir / "own.jpg"), memo ? SoundCheck::Yes : SoundCheck::No) << owner;
    }
}

// A memo over 256 MB, from any source, is proven by its first bytes and never read: the extraction says so and
// writes nothing.
TEST(Memos, OverTheBudgetProvenNotRead)
{
    TempDir dir;
    memogen::WriteSparseTrailerMemo(dir / "phone.jpg", uint64_t{1} << 30);
    WriteFile(dir / "cam.jpg", memogen::JpegWithApp1(Bytes(40, 0)));
    WriteFile(dir / "cam.wav", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    ASSERT_EQ(::truncate((dir / "cam.wav").c_str(), off_t{300} << 20), 0);
    for (const std::string& picture : {dir / "phone.jpg", dir / "cam.jpg"}) {
        std::vector<CMemo> memos;
        ASSERT_EQ(ReadMemos(picture, memos), SoundCheck::Yes);
        EXPECT_TRUE(memos[0].bTooLarge && memos[0].bytes.empty());
        EXPECT_EQ(CheckSound(picture), SoundCheck::Yes);
        EXPECT_EQ(Extract({picture}), (std::vector<std::string>{"row:" + picture,
                                                                "box:Error sound data larger than 256 MB\n" + picture,
                                                                "row:Error sound data larger than 256 MB, no output file written"}));
        EXPECT_FALSE(Exists(picture + ".wav"));
    }
}

// Each file, written under name, gives no memo to either reader.
void ExpectNoMemo(const std::vector<std::pair<const char*, Bytes>>& cases, const std::string& name)
{
    TempDir dir;
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        WriteFile(dir / name, bytes);
        std::vector<CMemo> memos;
        EXPECT_EQ(ReadMemos(dir / name, memos), SoundCheck::No);
        EXPECT_EQ(CheckSound(dir / name), SoundCheck::No);
    }
}

// Damaged trailers never give a memo, whatever their sizes say.
TEST(Memos, DamagedTrailersGiveNone)
{
    using namespace memogen;
    const Bytes jpeg = JpegWithApp1(Bytes(40, 0));
    const TrailerBlock block{0x0100, "SoundShot_000", PhoneWav(100)};
    const uint32_t size = static_cast<uint32_t>(8 + block.name.size() + block.payload.size());
    const auto lengthField = [](Bytes file, uint32_t length) {
        std::memcpy(&file[file.size() - 8], &length, 4);
        return file;
    };
    const Bytes good = WithTrailer(jpeg, {block});
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"directory longer than the file", lengthField(good, static_cast<uint32_t>(good.size()))},
        {"directory length too small", lengthField(good, 4)},
        {"block before the file's start", WithTrailer(jpeg, {block}, {{0x0100, static_cast<uint32_t>(good.size()), size}})},
        {"block larger than its offset", WithTrailer(jpeg, {block}, {{0x0100, size, size + 1}})},
        {"directory pointing into the JPEG", WithTrailer(jpeg, {block}, {{0x0100, size + 20, size}})},
        {"count beyond the directory", [&] { Bytes b = good; b[b.size() - 8 - 12 - 4] = 9; return b; }()},
        {"payload that is no WAV", WithTrailer(jpeg, {{0x0100, "SoundShot_000", Bytes(64, 'x')}})},
        {"a WAV in a block that is not sound", WithTrailer(jpeg, {{0x0800, "SoundShot_000", PhoneWav(100)}})},
        {"an entry whose block says otherwise", WithTrailer(jpeg, {{0x0800, "SoundShot_000", PhoneWav(100)}}, {{0x0100, size, size}})},
        {"name longer than the block", WithTrailer(jpeg, {{0x0100, std::string(300, 'n'), {}}}, {{0x0100, size, size}})},
        {"only the tail", Bytes{0, 0, 0, 0, 'S', 'E', 'F', 'T'}},
    };
    ExpectNoMemo(cases, "p.jpg");
}

// The real compound file with its memo stream's sector chain damaged: the reader neither hangs nor reads past
// what the file holds.
TEST(Memos, DamagedCompoundFilesGiveNoMemo)
{
    const Bytes fpx = ReadFile(DataPath("real/kodak-dc260/P0004795.FPX"));
    const auto u32 = [&](size_t i) { return fpx[i] | fpx[i + 1] << 8 | fpx[i + 2] << 16 | uint32_t{fpx[i + 3]} << 24; };
    const size_t sector = size_t{1} << (fpx[0x1E] | fpx[0x1F] << 8);
    const auto sectorAt = [&](uint32_t n) { return (n + 1) * sector; };
    // Find the memo stream's directory entry, then its first FAT entry.
    const char16_t* name = u"Audio Stream 000000";
    size_t entry = 0;
    for (size_t at = 0; at + 128 <= fpx.size() && !entry; at += 128)
        if (std::memcmp(&fpx[at], name, 38) == 0)
            entry = at;
    ASSERT_NE(entry, 0u);
    const uint32_t start = u32(entry + 0x74);
    const uint32_t perFatSector = static_cast<uint32_t>(sector / 4);
    const size_t fatEntry = sectorAt(u32(0x4C + 4 * (start / perFatSector))) + 4 * (start % perFatSector);
    const auto chainTo = [&](uint32_t next) {
        Bytes b = fpx;
        std::memcpy(&b[fatEntry], &next, 4);
        return b;
    };
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"the memo stream under another name", [&] { Bytes b = fpx; b[entry + 12] = 'X'; return b; }()},
        {"cyclic chain", chainTo(start)},
        {"chain cut after one sector", chainTo(0xFFFFFFFE)},
        {"file cut inside the stream", Bytes(fpx.begin(), fpx.begin() + static_cast<long>(sectorAt(start) + 100))},
    };
    ExpectNoMemo(cases, "p.fpx");
}

// Directories libgsf would recurse through until the stack ran out, or sort for seconds, are refused before it
// sees them, also under a JPEG's name, and so is what libgsf refuses. The largest directory allowed is read, as
// is a file of 4,096-byte sectors.
TEST(Memos, HostileCompoundDirectoriesAreNoFlashPixFiles)
{
    using memogen::CompoundFile;
    const auto looped = [] {
        Bytes b = CompoundFile(3, true);
        b[512 * 2 + 3 * 128 + 0x48] = 1; // the last entry's right sibling: the first
        return b;
    };
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"a sibling chain of 40,000 entries", CompoundFile(40000, true)},
        {"20,000 storages", CompoundFile(20000, false)},
        {"4,097 entries", CompoundFile(4096, false)},
        {"a chain of 600", CompoundFile(600, true)},
        {"a loop", looped()},
        {"small sectors larger than the sectors", [] { Bytes b = CompoundFile(3, false); b[0x20] = 10; return b; }()},
    };
    ExpectNoMemo(cases, "IMG_0002.JPG");
    TempDir dir;
    std::vector<CString> files;
    for (const auto& [what, bytes] : cases) {
        files.push_back(dir / what);
        WriteFile(files.back(), bytes);
    }
    files.push_back(dir / "4,096 entries");
    WriteFile(files.back(), CompoundFile(4095, false));
    files.push_back(dir / "4,096-byte sectors");
    WriteFile(files.back(), CompoundFile(3, false, 12));
    Recorder recorder;
    RunExtraction(files, recorder);
    std::vector<std::string> reasons(std::size(cases), "not a FlashPix file");
    reasons.insert(reasons.end(), 2, "not a JPEG file");
    EXPECT_EQ(recorder.reasons, reasons);
}

} // namespace
