#include <dlfcn.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/syscall.h>

#include <atomic>
#include <cstdarg>
#include <cerrno>
#include <functional>

#include "audio/extract.h"
#include "audio/jpegaudio.h"
#include "runkit.h"
#include "testkit.h"

// Injected read errors: this pread stands in front of the C library's for the code linked into the test
// program. A hook that returns an errno value fails the read with it.
namespace {
std::function<int(off_t offset)> g_readFault;
// Makes the creation of files in a folder fail; as root no permission bit stops a write, so this stands in for
// a folder that cannot be written.
std::function<int(int folder)> g_createFault;
} // namespace

extern "C" int openat(int at, const char* path, int flags, ...)
{
    using Openat = int (*)(int, const char*, int, ...);
    static const auto real = reinterpret_cast<Openat>(::dlsym(RTLD_NEXT, "openat"));
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
        if (g_createFault) {
            if (const int error = g_createFault(at)) {
                errno = error;
                return -1;
            }
        }
    }
    return real(at, path, flags, mode);
}

extern "C" ssize_t pread(int fd, void* buffer, size_t n, off_t offset)
{
    using Pread = ssize_t (*)(int, void*, size_t, off_t);
    static const auto real = reinterpret_cast<Pread>(::dlsym(RTLD_NEXT, "pread"));
    if (g_readFault) {
        if (const int error = g_readFault(offset)) {
            errno = error;
            return -1;
        }
    }
    return real(fd, buffer, n, offset);
}

namespace {

// What a run records, or a folder's names, in order.
using Texts = std::vector<std::string>;

// Names in a folder, to see that no temporary file stays behind.
Texts Listing(const std::string& folder)
{
    Texts names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes WithRiffSize(Bytes sound, uint32_t riffSize)
{
    for (int i = 0; i < 4; ++i)
        sound[4 + i] = static_cast<unsigned char>(riffSize >> (8 * i));
    return sound;
}

// The DQT segment that ends a camera file in these tests: 69 bytes.
constexpr size_t kDqt = 69;

const std::string kNotJpeg = "row:Error File is not a jpg........................................";
const std::string kNoAudio = "row:No Audio in file....................................................";

std::string Done(const std::string& source)
{
    return "row:Output file: " + source + ".wav Done";
}

class Extraction : public ::testing::Test {
protected:
    TempDir dir;
    // A memo, and two for the pictures that hold two.
    const Bytes sound = SoundBytes(300);
    const Bytes memo1 = fpxrgen::MakeWav({.data = fpxrgen::Noise(300, 1)});
    const Bytes memo2 = fpxrgen::MakeWav({.data = fpxrgen::Noise(300, 2)});
    // The file under dir, its folders made as needed; its path.
    std::string Save(const std::string& name, const Bytes& bytes)
    {
        MakeDir(std::filesystem::path(dir / name).parent_path());
        WriteFile(dir / name, bytes);
        return dir / name;
    }
};

// Every kind of file in one run: the presence test says Yes exactly when a memo is written; a file without one
// ends only itself, leaving an earlier WAV as it was. The fixed layout's memo runs from the fifth APP2 (after
// its 45-byte head, later ones' 17) to the first segment not APP1/APP2, or the end.
TEST_F(Extraction, FixedLayoutCopiesAndThePresenceTestAgrees)
{
    const Bytes first = SoundBytes(200, 1), second = SoundBytes(70, 2), third = SoundBytes(33, 3);
    JpegBuilder worked; // APP1 L 254, four APP2 L 32, the fifth L 500 at 394, a sixth L 100 at 896, DQT at 998
    worked.Segment(0xE1, Bytes(252, 0x11)).App2().App2().App2().App2();
    worked.AudioFirst(SoundBytes(457, 1)).AudioNext(SoundBytes(85, 2)).Dqt();
    const Bytes& w = worked.bytes();
    const auto fourApp2 = [] { JpegBuilder b; b.App1().App2().App2().App2().App2(); return b; };
    JpegBuilder mixed; // APP1 segments between the APP2s are stepped over
    mixed.App1().App2().App1().App2().App2().App1().App2().AudioFirst(first).App1().AudioNext(second).Dqt();
    JpegBuilder zero; // a length of 0 steps into the header's own length bytes
    zero.App1().Raw({0xFF, 0xE2, 0x00, 0x00}).App2().App2().App2().App2().AudioFirst(SoundBytes(60));
    const std::string missingApp1 = "row:Error File missing APP1 0xe1ff marker";
    const struct {
        const char* name;
        Bytes file;
        std::string row; // the row that ends a file without a memo; "" for Done
        Bytes wav = {};  // what the run writes for a memo
    } cases[] = {
        {"worked.jpg", w, "", Concat(Bytes(w.begin() + 439, w.begin() + 896), Bytes(w.begin() + 913, w.begin() + 998))},
        {"five.jpg", CameraFile(first), "", first},
        {"seven.jpg", CameraFile(first, {second, third}), "", Concat(Concat(first, second), third)},
        {"late.jpg", fourApp2().AudioFirst(first).Dqt().AudioNext(second).AudioNext(second).bytes(), "", first},
        {"mixed.jpg", mixed.bytes(), "", Concat(first, second)},
        // The run reaches the end of the file.
        {"open.jpg", fourApp2().AudioFirst(first).AudioNext(second).bytes(), "", Concat(first, second)},
        {"IM000102.JPG", ReadFile(DataPath("IM000102.JPG")), kNoAudio},
        {"notes.jpg", Bytes{'h', 'e', 'l', 'l', 'o'}, kNotJpeg},
        {"tiny.jpg", Bytes{0xFF, 0xD8, 0xFF}, kNotJpeg},
        {"dqt.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0, 0}, missingApp1},
        // The camera's run, but no APP1 in front of it.
        {"no1.jpg", JpegBuilder().App2().App2().App2().App2().AudioFirst(SoundBytes(100)).Dqt().bytes(), missingApp1},
        {"fewer.jpg", JpegBuilder().App1().App2().App2().App2().Dqt().App2().App2().bytes(), kNoAudio},
        // A DQT before the fifth APP2 ends the audio run.
        {"behind.jpg", fourApp2().Dqt().AudioFirst(SoundBytes(100)).bytes(), kNoAudio},
        // A fifth APP2 too short to hold its head and "RIFF".
        {"short.jpg", fourApp2().Segment(0xE2, Bytes(18, 0x41)).AudioNext(SoundBytes(50, 3)).Dqt().bytes(), kNoAudio},
        // "RIFF" only behind a fifth APP2 that holds its head alone.
        {"reach.jpg", fourApp2().Segment(0xE2, Bytes(41, 0x41)).Raw({'R', 'I', 'F', 'F'}).bytes(), kNoAudio},
        {"zero.jpg", zero.bytes(), kNoAudio},
        // Another maker's fifth APP2 (a thumbnail, a profile) is not a memo.
        {"rifx.jpg", CameraFile(SoundBytes(100, 1, false), {SoundBytes(50)}), kNoAudio},
    };
    std::vector<CString> sources;
    Texts rows;
    for (const auto& c : cases) {
        sources.push_back(Save(c.name, c.file));
        WriteText(sources.back() + ".wav", "old wav");
        EXPECT_EQ(HasSound(dir.path(), c.name), c.row.empty()) << c.name;
        rows.insert(rows.end(), {"row:" + sources.back(), c.row.empty() ? Done(sources.back()) : c.row});
    }
    EXPECT_EQ(Extract(sources), rows);
    for (const auto& c : cases)
        EXPECT_EQ(ReadFile(dir / c.name + ".wav"), (c.row.empty() ? c.wav : Bytes{'o', 'l', 'd', ' ', 'w', 'a', 'v'}))
            << c.name;
    // Folder and name are joined as they stand.
    EXPECT_TRUE(HasSound(dir / "fi", "ve.jpg"));
    EXPECT_EQ(CheckSound(dir / "missing.jpg"), SoundCheck::Unreadable);

    // Gigabytes of zeros behind the head end the walk at once.
    const std::string zeros = Save("zeros.jpg", JpegBuilder().App1().bytes());
    ASSERT_EQ(::truncate(zeros.c_str(), off_t{1} << 32), 0);
    EXPECT_FALSE(HasSound("", zeros));
}

// Sources that cannot be opened end only themselves. A FIFO (reached through a link, as a device would be) is
// refused by its type: a writer waiting on it is never released, and nothing stays open.
TEST_F(Extraction, UnopenableSourcesGoOnWithTheNextRow)
{
    const std::string good = Save("good.jpg", CameraFile(SoundBytes(100)));
    const std::string vanished = dir / "vanished.jpg", folder = dir / "folder.jpg", fifo = dir / "x.jpg";
    MakeDir(folder);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink((dir / "fifo").c_str(), fifo.c_str()), 0);
    std::atomic<bool> released{false};
    std::atomic<pid_t> writerId{0};
    std::thread writer([&] {
        writerId = ::gettid();
        const int fd = ::open((dir / "fifo").c_str(), O_WRONLY);
        released = true;
        ::close(fd);
    });
    // Only a writer already waiting inside open shows an open of the FIFO.
    while (writerId == 0)
        std::this_thread::yield();
    const std::string waiting = std::to_string(SYS_openat) + " ";
    const std::string syscall = "/proc/self/task/" + std::to_string(writerId) + "/syscall";
    for (int i = 0; i < 2000; ++i) {
        const Bytes now = ReadFile(syscall);
        if (std::string(now.begin(), now.end()).rfind(waiting, 0) == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto before = OpenDescriptors();

    // Reading this process's own memory at address 0 fails with an I/O error.
    EXPECT_EQ(Extract({vanished, folder, fifo, "/proc/self/mem", good}),
              (Texts{"row:" + vanished, "box:Error could not open file\n\n" + vanished,
                     "row:" + folder, "box:Error could not open file\n\n" + folder,
                     "row:" + fifo, "box:Error could not open file\n\n" + fifo,
                     "row:/proc/self/mem", "box:Error reading first two charactes fromfile",
                     "row:" + good, Done(good)}));
    EXPECT_EQ(CheckSound(fifo), SoundCheck::Unreadable);
    CFileInformation info;
    EXPECT_FALSE(GetFileInformation(fifo, info));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(released);
    EXPECT_EQ(OpenDescriptors(), before);

    const int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    writer.join();
    ::close(reader);
}

// Whatever ends a run early, an earlier WAV stays as it was and no temporary file is left in the folder.
TEST_F(Extraction, FailuresLeaveTheOldWavAndNoTemporaryFile)
{
    const auto descriptors = OpenDescriptors();
    const std::string first = Save("a.jpg", CameraFile(SoundBytes(100)));
    const std::string blocked = Save("b.jpg", CameraFile(SoundBytes(100)));
    const std::string later = Save("c.jpg", CameraFile(SoundBytes(100)));
    MakeDir(blocked + ".wav/inside"); // a folder where the WAV would go
    EXPECT_EQ(Extract({first, blocked, later}),
              (Texts{"row:" + first, Done(first), "row:" + blocked,
                     "box:Error cant open/create output file\n" + blocked + ".wav",
                     "row:Error cant open/create output file", "row:" + blocked + ".wav"}));

    // A full disk, as a file-size limit makes it.
    const std::string big = Save("big.jpg", CameraFile(SoundBytes(4000), {SoundBytes(4000, 2)}));
    WriteText(big + ".wav", "old wav");
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto events = Extract({big, later});
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(events, (Texts{"row:" + big, "box:Error writing output file\n" + big + ".wav",
                             "row:Error writing output file", "row:" + big + ".wav"}));
    EXPECT_EQ(ReadFile(big + ".wav"), Bytes({'o', 'l', 'd', ' ', 'w', 'a', 'v'}));

    // A read error while copying (the second piece lies beyond the first 64 KB read), with and without keeping
    // what survives.
    const Bytes piece1 = SoundBytes(60000, 1), piece2 = SoundBytes(60000, 2);
    const Bytes camera = CameraFile(WithRiffSize(piece1, 119992), {piece2});
    const std::string damaged = Save("damaged.jpg", camera);
    WriteText(damaged + ".wav", "old wav");
    const off_t secondPiece = static_cast<off_t>(camera.size() - kDqt - 60000);
    g_readFault = [&](off_t offset) { return offset == secondPiece ? EIO : 0; };
    const auto failed = Extract({damaged, later});
    CExtractOptions keep;
    keep.bKeepPartial = true;
    const auto kept = Extract({damaged, later}, keep);
    g_readFault = nullptr;
    const std::string readBox = "box:Error reading sound data from file\n" + damaged;
    EXPECT_EQ(failed, (Texts{"row:" + damaged, readBox}));
    EXPECT_EQ(kept, (Texts{"row:" + damaged, readBox, "row:Output file: " + damaged + ".wav Partial"}));
    EXPECT_EQ(ReadFile(damaged + ".wav"), WithRiffSize(piece1, 119992));

    EXPECT_FALSE(Exists(later + ".wav"));
    for (const std::string& name : Listing(dir.path()))
        EXPECT_EQ(name.find(".vocaline-"), std::string::npos) << name;
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

// A memo cut anywhere short of its RIFF length is an error, never "Done"; on request what survives is written
// and logged as partial.
TEST_F(Extraction, MemoCutShortAtAnySegmentBoundary)
{
    const Bytes first = WithRiffSize(SoundBytes(300, 1), 300 + 80 + 80 - 8);
    const Bytes whole = CameraFile(first, {SoundBytes(80, 2), SoundBytes(80, 3)});
    const size_t fifth = whole.size() - kDqt - (80 + 17) * 2 - (300 + 45); // offset of the fifth APP2
    const size_t cuts[] = {fifth + 45 + 4,      fifth + 45 + 100,     fifth + 45 + 300,
                           fifth + 45 + 300 + 2, fifth + 45 + 300 + 17, whole.size() - kDqt - 40};
    for (const size_t cut : cuts) {
        SCOPED_TRACE(cut);
        const std::string src = Save("cut.jpg", Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
        WriteFile(src + ".wav", SoundBytes(24000, 7));
        const std::string box = "box:Error sound data in file is cut short\n" + src;
        EXPECT_EQ(Extract({src}), (Texts{"row:" + src, box, "row:Error sound data cut short, no output file written"}));
        EXPECT_EQ(ReadFile(src + ".wav"), SoundBytes(24000, 7));

        CExtractOptions keep;
        keep.bKeepPartial = true;
        EXPECT_EQ(Extract({src}, keep), (Texts{"row:" + src, box, "row:Output file: " + src + ".wav Partial"}));
        const Bytes wav = ReadFile(src + ".wav");
        EXPECT_EQ(Bytes(wav.begin(), wav.begin() + std::min<long>(4, static_cast<long>(wav.size()))),
                  Bytes({'R', 'I', 'F', 'F'}));
    }
    // The whole file ends right behind its memo: done.
    const std::string src = Save("whole.jpg", Bytes(whole.begin(), whole.end() - kDqt));
    EXPECT_EQ(Extract({src}), (Texts{"row:" + src, Done(src)}));

    // What survives of a real memo is kept as stored, never decoded as if whole.
    const Bytes wav = ReadFile(DataPath("expected/IM000101.JPG.wav"));
    const Bytes camera = CameraFile(wav);
    const std::string half = Save("half.jpg", Bytes(camera.begin(), camera.end() - kDqt - 10000));
    CExtractOptions pcm;
    pcm.bKeepPartial = pcm.bPcm = true;
    EXPECT_EQ(Extract({half}, pcm), (Texts{"row:" + half, "box:Error sound data in file is cut short\n" + half,
                                           "row:Output file: " + half + ".wav Partial"}));
    EXPECT_EQ(ReadFile(half + ".wav"), Bytes(wav.begin(), wav.end() - 10000));
}

// The output never goes through a link, there before the run or swapped in while it reads the source; and it
// lands in the folder the picture was read from, whatever is swapped into that path.
TEST_F(Extraction, OutputGoesWhereThePictureWasReadNeverThroughALink)
{
    TempDir other;
    const std::string victim = other / "victim";
    const std::string before = Save("before.jpg", CameraFile(sound)), during = Save("during.jpg", CameraFile(sound));
    const std::string moved = Save("pics/a.jpg", CameraFile(sound));
    WriteText(victim, "precious");
    ASSERT_EQ(::symlink(victim.c_str(), (before + ".wav").c_str()), 0);

    Recorder recorder;
    std::string last;
    recorder.onRow = [&](const std::string& row) {
        if (row == during) {
            ASSERT_EQ(::symlink(victim.c_str(), (during + ".wav").c_str()), 0);
        }
        if (last == moved) { // between reading the picture and writing its WAV
            ASSERT_EQ(::rename((dir / "pics").c_str(), (dir / "moved").c_str()), 0);
            ASSERT_EQ(::symlink(other.path().c_str(), (dir / "pics").c_str()), 0);
        }
        last = row;
    };
    CExtractOptions pcm; // the sound is no format it decodes: a row between reading and writing
    pcm.bPcm = true;
    RunExtraction({before, during, moved}, recorder, pcm);
    EXPECT_EQ(recorder.events.back(), Done(moved));
    EXPECT_EQ(ReadFile(victim), Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    EXPECT_EQ(Listing(other.path()), Texts{"victim"});
    for (const std::string& wav : {before + ".wav", during + ".wav", dir / "moved/a.jpg.wav"}) {
        struct stat st {};
        ASSERT_EQ(::lstat(wav.c_str(), &st), 0) << wav;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << wav;
        EXPECT_EQ(ReadFile(wav), sound) << wav;
    }
}

// A new WAV is linked straight to its name: no temporary name exists that a kill could leave behind. Replacing
// one needs a temporary name.
TEST_F(Extraction, FirstExtractionNamesNoTemporaryFile)
{
    const std::string src = Save("a.jpg", CameraFile(SoundBytes(300)));
    const CUniqueFd watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    ASSERT_GE(::inotify_add_watch(watch.Get(), dir.path().c_str(), IN_CREATE | IN_MOVED_TO), 0);
    Extract({src});
    Extract({src});
    Texts named;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch.Get(), buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + n; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
            named.push_back(reinterpret_cast<inotify_event*>(at)->name);
    }
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[0], "a.jpg.wav");
    EXPECT_EQ(named[1].rfind(".vocaline-", 0), 0u);
    EXPECT_EQ(named[2], "a.jpg.wav");
}

// The WAV gets the picture's permission bits, limited by the umask, as cp gives them; a private picture never
// yields a readable memo.
TEST_F(Extraction, PermissionsFollowTheSourceUnderTheUmask)
{
    const struct {
        mode_t source, mask, wav;
    } cases[] = {{0600, 022, 0600}, {0644, 077, 0600}, {0640, 027, 0640}, {0664, 002, 0664}};
    for (const auto& c : cases) {
        const std::string src = Save("pic.jpg", CameraFile(SoundBytes(100)));
        WriteText(src + ".wav", "old, world-readable");
        ASSERT_EQ(::chmod(src.c_str(), c.source), 0);
        const mode_t old = ::umask(c.mask);
        Extract({src});
        ::umask(old);
        EXPECT_EQ(Mode(src + ".wav"), c.wav) << std::oct << c.source << " " << c.mask;
        EXPECT_EQ(ReadFile(src + ".wav"), SoundBytes(100)); // the old WAV replaced
    }
}

// pic.jpg's second memo and a picture named pic.jpg.2 both ask for pic.jpg.2.wav: whichever comes second in the
// run takes the next free index, and the rows name it.
TEST_F(Extraction, NoMemoOfARunReplacesAnother)
{
    const std::string two = Save("pic.jpg", fpxrgen::MakeSample(fpxrgen::Layout::TwoMemos, memo1, memo2).file);
    const std::string one = Save("pic.jpg.2", CameraFile(SoundBytes(200)));
    EXPECT_EQ(Extract({two, one}), (Texts{"row:" + two, Done(two), Done(two + ".2"), "row:" + one, Done(one + ".2")}));
    EXPECT_EQ(ReadFile(two + ".2.wav"), memo2);
    EXPECT_EQ(ReadFile(one + ".2.wav"), SoundBytes(200));
    EXPECT_EQ(Extract({one, two}), (Texts{"row:" + one, Done(one), "row:" + two, Done(two), Done(two + ".3")}));
    EXPECT_EQ(ReadFile(one + ".wav"), SoundBytes(200));
}

// With another output folder each WAV takes its picture's place in a tree mirrored below it, folders made as
// needed, rows naming what was written; a link planted where a folder goes is never followed (that file fails).
TEST_F(Extraction, OtherFolderMirrorsTheTreeNeverThroughALink)
{
    TempDir out, victim, elsewhere;
    const std::string a = Save("2003/may/a.jpg", CameraFile(sound));
    const std::string two = Save("2003/two.jpg", fpxrgen::MakeSample(fpxrgen::Layout::TwoMemos, memo1, memo2).file);
    const std::string b = Save("2004/b.jpg", CameraFile(sound));
    const std::string c = Save("c.jpg", CameraFile(sound));
    const std::string outside = elsewhere / "d.jpg";
    WriteFile(outside, CameraFile(sound));
    Recorder recorder;
    recorder.onRow = [&](const std::string& row) {
        if (row == b) {
            ASSERT_EQ(::symlink(victim.path().c_str(), (out / "2004").c_str()), 0);
        }
    };
    RunExtraction({a, two, b, c, outside}, recorder,
                  {.strOutputDir = out.path(), .strTreeRoot = dir.path(), .bKeepGoing = true});
    const auto done = [](const std::string& wav) { return "row:Output file: " + wav + " Done"; };
    EXPECT_EQ(recorder.events,
              (Texts{"row:" + a, done(out / "2003/may/a.jpg.wav"), "row:" + two, done(out / "2003/two.jpg.wav"),
                     done(out / "2003/two.jpg.2.wav"), "row:" + b,
                     "box:Error cant open/create output file\n" + out / "2004/b.jpg.wav",
                     "row:Error cant open/create output file", "row:" + out / "2004/b.jpg.wav",
                     "row:" + c, done(out / "c.jpg.wav"), "row:" + outside,
                     done(out / "d.jpg.wav")})); // outside the tree: by its name alone
    EXPECT_EQ(ReadFile(out / "2003/may/a.jpg.wav"), sound);
    EXPECT_EQ(ReadFile(out / "2003/two.jpg.2.wav"), memo2);
    EXPECT_TRUE(Listing(victim.path()).empty());

}

// A picture's folder that cannot be written: another folder is asked for once a run, naming the sources' common
// parent, and takes every later memo; without one the failure stands, ending the run unless told to go on.
TEST_F(Extraction, AnotherFolderIsAskedOnceWhenThePicturesCannotBeWritten)
{
    TempDir out;
    const std::string a = Save("a.jpg", CameraFile(sound));
    const std::string b = Save("sub/b.jpg", CameraFile(sound));
    struct Asking : Recorder {
        std::optional<CString> answer;
        Texts asked;
        std::optional<CString> OtherOutputFolder(const CString& folder, int error) override
        {
            asked.push_back(folder + ": " + DescribeError(error));
            return answer;
        }
    };
    int error = EACCES; // a folder without write permission, then a read-only medium
    g_createFault = [&](int folder) { // the pictures' folders, as a read-only medium
        const auto at = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(folder)).string() + "/";
        return at.rfind(dir.path(), 0) == 0 ? error : 0;
    };
    const std::string failed = "box:Error cant open/create output file\n";
    const struct {
        std::optional<CString> answer;
        bool keepGoing;
        Texts events;
    } cases[] = {
        {out.path(), false,
         {"row:" + a, "row:Output file: " + out / "a.jpg.wav Done", "row:" + b,
          "row:Output file: " + out / "sub/b.jpg.wav Done"}},
        {{}, false, {"row:" + a, failed + a + ".wav", "row:Error cant open/create output file", "row:" + a + ".wav"}},
        {{}, true,
         {"row:" + a, failed + a + ".wav", "row:Error cant open/create output file", "row:" + a + ".wav", "row:" + b,
          failed + b + ".wav", "row:Error cant open/create output file", "row:" + b + ".wav"}},
    };
    for (const auto& c : cases) {
        Asking asking;
        asking.answer = c.answer;
        CExtractOptions options;
        options.bKeepGoing = c.keepGoing;
        RunExtraction({a, b}, asking, options);
        EXPECT_EQ(asking.events, c.events);
        EXPECT_EQ(asking.asked, Texts{dir.path() + ": " + DescribeError(error)});
        error = EROFS;
    }
    g_createFault = nullptr;
    EXPECT_EQ(ReadFile(out / "sub/b.jpg.wav"), sound);
    EXPECT_EQ(Listing(dir / "sub"), Texts{"b.jpg"});
}

} // namespace
