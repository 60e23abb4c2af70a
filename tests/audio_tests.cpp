#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "audio/extract.h"
#include "audio/jpegaudio.h"
#include "testkit.h"

namespace {

// Records what a run tells the user, in order: "row:" for a log row,
// "box:" for a message box.
struct Recorder : IExtractReport {
    std::vector<std::string> events;
    void WriteLogRow(const CString& text) override { events.push_back("row:" + text); }
    void ShowMessage(const CString& text) override { events.push_back("box:" + text); }
};

std::vector<std::string> Extract(const std::vector<CString>& sources)
{
    Recorder recorder;
    RunExtraction(sources, recorder);
    return recorder.events;
}

const std::string kNotJpeg = "row:Error File is not a jpg........................................";
const std::string kNoAudio = "row:No Audio in file....................................................";

std::string Done(const std::string& source)
{
    return "row:Output file: " + source + ".wav Done";
}

// The walk of the worked example: APP1 (L 254), four APP2 of L 32, the
// fifth APP2 of L 500 at 394, a sixth of L 100 at 896, DQT at 998.
Bytes WorkedExample()
{
    JpegBuilder jpeg;
    jpeg.Segment(0xE1, Bytes(252, 0x11));
    for (int i = 0; i < 4; ++i)
        jpeg.Segment(0xE2, Bytes(30, 0x22));
    jpeg.AudioFirst(SoundBytes(457, 1)).AudioNext(SoundBytes(85, 2)).Dqt();
    return jpeg.bytes();
}

class Extraction : public ::testing::Test {
protected:
    TempDir dir;
    std::string Save(const std::string& name, const Bytes& bytes)
    {
        WriteFile(dir / name, bytes);
        return dir / name;
    }
};

TEST_F(Extraction, WorkedExampleByteForByte)
{
    const Bytes file = WorkedExample();
    ASSERT_EQ(file[394], 0xFF);
    ASSERT_EQ(file[395], 0xE2);
    ASSERT_EQ(file[998], 0xFF);
    ASSERT_EQ(file[999], 0xDB);
    const std::string src = Save("pic.jpg", file);

    EXPECT_TRUE(HasSound(dir.path(), "pic.jpg"));
    EXPECT_EQ(Extract({src}), (std::vector<std::string>{"row:" + src, Done(src)}));
    const Bytes expected = Concat(Bytes(file.begin() + 439, file.begin() + 896), Bytes(file.begin() + 913, file.begin() + 998));
    ASSERT_EQ(expected.size(), 542u);
    EXPECT_EQ(ReadFile(src + ".wav"), expected);
}

TEST_F(Extraction, SampleCameraFilesGiveTheExpectedWav)
{
    const std::string with = Save("IM000101.JPG", ReadFile(DataPath("IM000101.JPG")));
    const std::string without = Save("IM000102.JPG", ReadFile(DataPath("IM000102.JPG")));
    EXPECT_TRUE(HasSound(dir.path(), "IM000101.JPG"));
    EXPECT_FALSE(HasSound(dir.path(), "IM000102.JPG"));

    EXPECT_EQ(Extract({with, without}),
              (std::vector<std::string>{"row:" + with, Done(with), "row:" + without, kNoAudio}));
    EXPECT_EQ(ReadFile(with + ".wav"), ReadFile(DataPath("expected/IM000101.JPG.wav")));
    EXPECT_FALSE(Exists(without + ".wav"));
}

TEST_F(Extraction, CopiesTheAudioRunAndStopsAtTheFirstOtherSegment)
{
    const Bytes first = SoundBytes(200, 1);
    const Bytes second = SoundBytes(70, 2);
    const Bytes third = SoundBytes(33, 3);

    const std::string five = Save("five.jpg", CameraFile(first));
    const std::string seven = Save("seven.jpg", CameraFile(first, {second, third}));
    JpegBuilder beyond;
    beyond.App1().App2().App2().App2().App2().AudioFirst(first).Dqt().AudioNext(second).AudioNext(second).AudioNext(second);
    const std::string late = Save("late.jpg", beyond.bytes());
    JpegBuilder mixed; // APP1 segments between the APP2s are stepped over
    mixed.App1().App2().App1().App2().App2().App1().App2().AudioFirst(first).App1().AudioNext(second).Dqt();
    const std::string app1s = Save("mixed.jpg", mixed.bytes());
    JpegBuilder open; // the run reaches the end of the file
    open.App1().App2().App2().App2().App2().AudioFirst(first).AudioNext(second);
    const std::string toEnd = Save("open.jpg", open.bytes());

    EXPECT_EQ(Extract({five, seven, late, app1s, toEnd}),
              (std::vector<std::string>{"row:" + five, Done(five), "row:" + seven, Done(seven), "row:" + late,
                                        Done(late), "row:" + app1s, Done(app1s), "row:" + toEnd, Done(toEnd)}));
    EXPECT_EQ(ReadFile(five + ".wav"), first);
    EXPECT_EQ(ReadFile(seven + ".wav"), Concat(Concat(first, second), third));
    EXPECT_EQ(ReadFile(late + ".wav"), first);
    EXPECT_EQ(ReadFile(app1s + ".wav"), Concat(first, second));
    EXPECT_EQ(ReadFile(toEnd + ".wav"), Concat(first, second));
}

TEST_F(Extraction, FilesThatAreNotCameraFilesEndOnlyThemselves)
{
    const std::string text = Save("notes.jpg", Bytes{'h', 'e', 'l', 'l', 'o'});
    const std::string tiny = Save("tiny.jpg", Bytes{0xFF, 0xD8, 0xFF});
    const std::string noApp1 = Save("dqt.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0, 0});
    JpegBuilder three;
    three.App1().App2().App2().App2().Dqt().App2().App2();
    const std::string fewer = Save("fewer.jpg", three.bytes());
    WriteText(fewer + ".wav", "old wav");

    EXPECT_EQ(Extract({text, tiny, noApp1, fewer}),
              (std::vector<std::string>{"row:" + text, kNotJpeg, "row:" + tiny, kNotJpeg, "row:" + noApp1,
                                        "row:Error File missing APP1 0xe1ff marker", "row:" + fewer, kNoAudio}));
    EXPECT_EQ(ReadFile(fewer + ".wav"), Bytes({'o', 'l', 'd', ' ', 'w', 'a', 'v'}));
    EXPECT_FALSE(Exists(text + ".wav"));
}

TEST_F(Extraction, NothingSelected)
{
    EXPECT_EQ(Extract({}), (std::vector<std::string>{"box:Error No items were selected!"}));
}

TEST_F(Extraction, UnopenableSourcesGoOnWithTheNextRow)
{
    const std::string good = Save("good.jpg", CameraFile(SoundBytes(100)));
    const std::string vanished = dir / "vanished.jpg";
    MakeDir(dir / "folder.jpg");
    ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);

    EXPECT_EQ(Extract({vanished, dir / "folder.jpg", dir / "fifo.jpg", good}),
              (std::vector<std::string>{"row:" + vanished, "box:Error could not open file\n\n" + vanished,
                                        "row:" + dir / "folder.jpg",
                                        "box:Error could not open file\n\n" + dir / "folder.jpg",
                                        "row:" + dir / "fifo.jpg",
                                        "box:Error could not open file\n\n" + dir / "fifo.jpg", "row:" + good,
                                        Done(good)}));
}

TEST_F(Extraction, ReadErrorOnTheFirstHeaderGoesOn)
{
    // Reading this process's own memory at address 0 fails with an I/O error.
    const std::string good = Save("good.jpg", CameraFile(SoundBytes(100)));
    EXPECT_EQ(Extract({"/proc/self/mem", good}),
              (std::vector<std::string>{"row:/proc/self/mem", "box:Error reading first two charactes fromfile",
                                        "row:" + good, Done(good)}));
}

TEST_F(Extraction, OutputThatCannotBeCreatedEndsTheRun)
{
    const std::string first = Save("a.jpg", CameraFile(SoundBytes(100)));
    const std::string blocked = Save("b.jpg", CameraFile(SoundBytes(100)));
    const std::string later = Save("c.jpg", CameraFile(SoundBytes(100)));
    MakeDir(blocked + ".wav/inside"); // a folder where the WAV would go

    EXPECT_EQ(Extract({first, blocked, later}),
              (std::vector<std::string>{"row:" + first, Done(first), "row:" + blocked,
                                        "box:Error cant open/create output file\n" + blocked + ".wav",
                                        "row:Error cant open/create output file", "row:" + blocked + ".wav"}));
    EXPECT_FALSE(Exists(later + ".wav"));
}

TEST_F(Extraction, FailedWriteIsAnErrorNotDone)
{
    const std::string big = Save("big.jpg", CameraFile(SoundBytes(4000), {SoundBytes(4000, 2)}));
    const std::string later = Save("later.jpg", CameraFile(SoundBytes(100)));
    // A file-size limit makes the write fail the way a full disk would.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto events = Extract({big, later});
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(events, (std::vector<std::string>{"row:" + big, "box:Error writing output file\n" + big + ".wav",
                                                "row:Error writing output file", "row:" + big + ".wav"}));
    EXPECT_FALSE(Exists(later + ".wav"));
}

TEST_F(Extraction, ExtractingTwiceReplacesTheWav)
{
    const Bytes sound = SoundBytes(300);
    const std::string src = Save("pic.jpg", CameraFile(sound, {SoundBytes(40, 5)}));
    WriteFile(src + ".wav", SoundBytes(5000, 9));
    Extract({src});
    Extract({src});
    EXPECT_EQ(ReadFile(src + ".wav"), Concat(sound, SoundBytes(40, 5)));
}

TEST_F(Extraction, SegmentsTooShortForTheirHeadAddNothing)
{
    // The fifth APP2 claims L 20 (< 43), a later one L 10 (< 15): neither adds
    // bytes, but the fifth still replaces an old WAV.
    JpegBuilder jpeg;
    jpeg.App1().App2().App2().App2().App2().Segment(0xE2, Bytes(18, 0x41)).Segment(0xE2, Bytes(8, 0x13));
    jpeg.AudioNext(SoundBytes(50, 3)).Dqt();
    const std::string src = Save("short.jpg", jpeg.bytes());
    WriteText(src + ".wav", "an old wav that must not survive");

    EXPECT_EQ(Extract({src}), (std::vector<std::string>{"row:" + src, Done(src)}));
    EXPECT_EQ(ReadFile(src + ".wav"), SoundBytes(50, 3));
}

TEST_F(Extraction, SoundPastTheEndWritesOnlyWhatWasRead)
{
    JpegBuilder jpeg;
    jpeg.App1().App2().App2().App2().App2().SegmentWithLength(0xE2, 1000, Concat(Bytes(41, 0x41), SoundBytes(60)));
    const std::string src = Save("cut.jpg", jpeg.bytes());
    EXPECT_EQ(Extract({src}), (std::vector<std::string>{"row:" + src, Done(src)}));
    EXPECT_EQ(ReadFile(src + ".wav"), SoundBytes(60));
}

TEST_F(Extraction, PresenceTestAndExtractionDisagreeAsDesigned)
{
    // 1. A DQT before the fifth APP2: the test still counts it, extraction stops.
    JpegBuilder behind;
    behind.App1().App2().App2().App2().App2().Dqt().AudioFirst(SoundBytes(100));
    const std::string dqt = Save("behind.jpg", behind.bytes());
    EXPECT_TRUE(HasSound(dir.path(), "behind.jpg"));
    EXPECT_EQ(Extract({dqt}), (std::vector<std::string>{"row:" + dqt, kNoAudio}));

    // 2. No "RIFF" at o + 45: no sound for the test, extraction copies anyway.
    const std::string rifx = Save("rifx.jpg", CameraFile(SoundBytes(100, 1, false)));
    EXPECT_FALSE(HasSound(dir.path(), "rifx.jpg"));
    EXPECT_EQ(Extract({rifx}), (std::vector<std::string>{"row:" + rifx, Done(rifx)}));
    EXPECT_EQ(ReadFile(rifx + ".wav"), SoundBytes(100, 1, false));

    // 3. A fifth segment shorter than 49 bytes: the four bytes at o + 45 are
    //    read from the next segment.
    JpegBuilder reach;
    reach.App1().App2().App2().App2().App2().Segment(0xE2, Bytes(41, 0x41));
    reach.Raw({'R', 'I', 'F', 'F'});
    Save("reach.jpg", reach.bytes());
    EXPECT_TRUE(HasSound(dir.path(), "reach.jpg"));
}

TEST_F(Extraction, PresenceTestLooksAtContentOnly)
{
    Save("tiny.jpg", Bytes{0xFF, 0xD8, 0xFF});
    Save("dqt.jpg", CameraFile(SoundBytes(100)));
    Bytes noApp1 = CameraFile(SoundBytes(100));
    noApp1[3] = 0xDB;
    Save("noapp1.jpg", noApp1);
    JpegBuilder four;
    four.App1().App2().App2().App2().App2().Dqt().Raw(Bytes(500, 0));
    Save("four.jpg", four.bytes());
    Save("pic.bin", CameraFile(SoundBytes(100)));
    // Length fields 0 and 1 step 2 and 3 bytes on, into the header's own
    // length bytes: APP2 (L 0) at 26, "00 00 00 02" at 28, APP2 (L 1) at 32,
    // "01 00 00 03" at 35, then APP2 nos. 3 to 5 from 40 on.
    JpegBuilder zero;
    zero.App1().Raw({0xFF, 0xE2, 0x00, 0x00, 0x00, 0x02, 0xFF, 0xE2, 0x00, 0x01, 0x00, 0x00, 0x03, 0x00});
    zero.App2().App2();
    zero.AudioFirst(SoundBytes(60));
    Save("zero.jpg", zero.bytes());

    EXPECT_FALSE(HasSound(dir.path(), "tiny.jpg"));
    EXPECT_TRUE(HasSound(dir.path(), "dqt.jpg"));
    EXPECT_FALSE(HasSound(dir.path(), "noapp1.jpg"));
    EXPECT_FALSE(HasSound(dir.path(), "four.jpg"));
    EXPECT_TRUE(HasSound(dir.path(), "pic.bin"));
    EXPECT_TRUE(HasSound(dir.path(), "zero.jpg"));
    EXPECT_FALSE(HasSound(dir.path(), "missing.jpg"));
    // Folder and name are joined as they stand.
    EXPECT_TRUE(HasSound(dir / "dq", "t.jpg"));
}

TEST_F(Extraction, FifoAnswersNoAtOnceAndNothingStaysOpen)
{
    ASSERT_EQ(::mkfifo((dir / "x.jpg").c_str(), 0644), 0);
    const std::string good = Save("good.jpg", CameraFile(SoundBytes(100), {SoundBytes(20)}));
    MakeDir(dir / "bad.jpg.wav");
    Save("bad.jpg", CameraFile(SoundBytes(100)));
    const auto before = OpenDescriptors();

    EXPECT_FALSE(HasSound(dir.path(), "x.jpg"));
    EXPECT_FALSE(HasSound(dir.path(), "missing.jpg"));
    EXPECT_TRUE(HasSound(dir.path(), "good.jpg"));
    Extract({good, dir / "x.jpg", dir / "missing.jpg", "/proc/self/mem", dir / "bad.jpg"});
    EXPECT_EQ(OpenDescriptors(), before);
}

} // namespace
