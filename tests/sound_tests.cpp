// Real playback through SDL: the disk driver writes what the device plays.
#include <signal.h>

#include <QDialog>

#include "guikit.h"
#include "platform/qt/soundplayer.h"
#include "audio/wav.h"
#include "ui/memopanel.h"
#include "ui/waveform.h"

namespace {

size_t FirstNonZeroSample(const Bytes& samples)
{
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] != 0 || samples[i + 1] != 0)
            return i;
    }
    return samples.size();
}

// Each suite runs in a process of its own (see the build): SDL picks its driver once.
TEST(Playback, DiskDriverWritesTheSamplesSoxDecodes)
{
    TempDir dir;
    const std::string played = dir / "played.raw", reference = dir / "sox.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1); // a buffer every 5 ms: far faster than real time
    const std::string wav = DataPath("expected/IM000101.JPG.wav");
    ASSERT_EQ(std::system(("sox '" + wav + "' -t raw -e signed -b 16 '" + reference + "'").c_str()), 0);
    const Bytes expected = ReadFile(reference);
    ASSERT_GT(expected.size(), 10000u);

    CSoundPlayer player;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.Play(wav));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)); // returns at once
    // It says it plays until the sound has gone out, then closes the device: nothing more is written.
    double position = 0, length = 0;
    EXPECT_TRUE(player.State(position, length));
    EXPECT_GT(length, 1.0);
    for (int i = 0; i < 400 && player.State(position, length); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(player.State(position, length));
    const Bytes written = ReadFile(played);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ReadFile(played).size(), written.size());

    // Silence may come before and after the sound, nothing else.
    ASSERT_GE(FirstNonZeroSample(written), FirstNonZeroSample(expected));
    const size_t lead = FirstNonZeroSample(written) - FirstNonZeroSample(expected);
    ASSERT_LE(lead + expected.size(), written.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), written.begin() + static_cast<long>(lead)));
    for (size_t i = lead + expected.size(); i < written.size(); ++i)
        ASSERT_EQ(written[i], 0) << "at " << i;

    // The sound system has taken no signals: SIGTERM and SIGINT still end the process.
    for (const int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(::sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }

    // A file that is missing or no WAV is refused at once.
    EXPECT_FALSE(player.Play(dir / "missing.wav"));
    EXPECT_FALSE(player.Play(DataPath("IM000101.JPG")));
}

// A FIFO named like a WAV, a WAV file over 256 MB and a memo of an absurd rate are refused at once; the rates
// that play leave a device that closes at once.
TEST(DummyDriver, NothingHoldsPlayOrStop)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "memo.wav").c_str(), 0644), 0);
    const Bytes wav = ReadFile(DataPath("expected/IM000101.JPG.wav"));
    const auto withRate = [&](uint32_t rate) {
        Bytes bytes = wav;
        std::memcpy(&bytes[24], &rate, sizeof rate);
        return bytes;
    };
    CSoundPlayer player;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(player.Play(dir / "memo.wav"));
    WriteFile(dir / "huge.wav", wav);
    std::filesystem::resize_file(dir / "huge.wav", (256 << 20) + 1);
    EXPECT_FALSE(player.Play(dir / "huge.wav"));
    EXPECT_EQ(player.LastError(), dir / "huge.wav" + " is larger than 256 MB");
    for (const auto& [rate, plays] : {std::pair{1u, false}, {999u, false}, {384001u, false}, {1000u, true},
                                      {8000u, true}, {384000u, true}})
        EXPECT_EQ(player.PlayData(withRate(rate)), plays) << rate;
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// The window with the real player: SDL starts its driver, set by the test, at the first Play.
class PlayingWindow : public WindowTest {
protected:
    CSoundPlayer player;
    const CSoundServices installed{player};
};

// The memo panel with real playback (disk driver, faster than real time): Space plays and stops, Escape stops,
// and a click at three quarters of the waveform goes on from there.
TEST_F(PlayingWindow, SpaceEscapeAndAClickOnTheWaveform)
{
    const std::string played = dir / "played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "10", 1);
    Camera("pic.jpg");
    Camera("quiet.jpg", "IM000102.JPG");
    shown.Search(dir.path());
    CListView* list = shown.List(IDC_RESULTS);
    list->setCurrentIndex(list->ViewIndex(0));
    auto* pane = dlg.findChild<CPreviewPane*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Shows(dir / "pic.jpg"); }));
    const auto playing = [] { return services::GetSoundState().bPlaying; };
    for (const Qt::Key stop : {Qt::Key_Space, Qt::Key_Escape}) {
        QTest::keyClick(list, Qt::Key_Space);
        ASSERT_TRUE(QTest::qWaitFor(playing)) << stop;
        QTest::keyClick(list, stop);
        EXPECT_FALSE(playing()) << stop;
    }
    EXPECT_TRUE(dlg.isVisible());
    // While a memo plays (slowly here), a picture without one still offers Stop.
    setenv("SDL_DISKAUDIODELAY", "1000", 1);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor(playing));
    list->setCurrentIndex(list->ViewIndex(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Shows(dir / "quiet.jpg"); }));
    auto* stop = dlg.findChild<CMemoPanel*>()->findChild<QPushButton*>();
    EXPECT_TRUE(stop->isEnabled() && stop->accessibleName() == "Stop");
    list->selectionModel()->clear(); // and Space stops it with no row picked
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(playing());
    setenv("SDL_DISKAUDIODELAY", "10", 1);
    list->setCurrentIndex(list->ViewIndex(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Shows(dir / "pic.jpg"); }));

    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor(playing));
    const services::SoundState begun = services::GetSoundState();
    EXPECT_LT(begun.dPosition, begun.dLength / 2); // counted from the start
    auto* wave = dlg.findChild<CWaveform*>();
    const QPoint at(wave->width() * 3 / 4, wave->height() / 2);
    QTest::mouseClick(wave->Slider(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 20000));
    std::vector<unsigned char> pcm;
    ASSERT_EQ(ConvertToPcm16(ReadFile(DataPath("expected/IM000101.JPG.wav")), pcm), PcmConversion::Converted);
    const std::string tag = "data"; // the samples follow the data chunk's tag and size
    const Bytes expected(std::search(pcm.begin(), pcm.end(), tag.begin(), tag.end()) + 8, pcm.end());
    const size_t from = static_cast<size_t>(expected.size() * static_cast<double>(at.x()) / wave->width()) / 2 * 2;
    const Bytes written = ReadFile(played);
    const auto resumed = std::search(written.begin(), written.end(), expected.begin() + static_cast<long>(from),
                                     expected.begin() + static_cast<long>(from) + 2000);
    ASSERT_NE(resumed, written.end());
    EXPECT_LT(resumed - written.begin(), static_cast<long>(from)); // what lay between was skipped
    EXPECT_TRUE(std::equal(expected.begin() + static_cast<long>(from), expected.end(), resumed));
    // Played out, the line goes back to the start for the next Play; a click before Play (in the first second)
    // is where Play starts.
    EXPECT_TRUE(QTest::qWaitFor([&] { return wave->Position() == 0; }));
    const QPoint early(wave->width() / 10, wave->height() / 2);
    QTest::mouseClick(wave->Slider(), Qt::LeftButton, {}, early);
    EXPECT_EQ(wave->Slider()->value(), 0); // whole seconds gone by, for a screen reader
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor(playing));
    const services::SoundState later = services::GetSoundState();
    EXPECT_TRUE(!later.bPlaying || later.dLength > 5.9) << later.dLength; // the memo's whole length all the same
    ASSERT_TRUE(QTest::qWaitFor([&] { return !playing(); }, 20000));
    const size_t start = static_cast<size_t>(expected.size() * static_cast<double>(early.x()) / wave->width()) / 2 * 2;
    const Bytes again = ReadFile(played);
    const auto first = std::find_if(again.begin(), again.end(), [](unsigned char byte) { return byte != 0; });
    const size_t heard = std::search(expected.begin(), expected.end(), first, first + 64) - expected.begin();
    EXPECT_LT(heard, expected.size());
    EXPECT_GE(heard, start / 2);
}

TEST_F(PlayingWindow, WithoutADeviceSaysItCouldNotPlay)
{
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    Camera("pic.jpg");
    shown.ListAll(dir.path());
    shown.Click(IDC_EXTRACTPLAY);
    // Why, on a line of its own, in the sound system's words.
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].rfind("Could not play the sound\n", 0), 0u);
    EXPECT_NE(services.boxes[0].find("nosuchdriver"), std::string::npos) << services.boxes[0];
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{dir / "pic.jpg", "Output file: " + dir / "pic.jpg.wav Done",
                                                         "1 memos written, 0 without a memo, 0 failed"}));

    // A Play asked for while that box is up is dropped, not a second box behind it.
    services::SetMessageBox([&](QWidget* owner, const CString& text) {
        services.boxes.push_back(text);
        QDialog box(owner);
        QTimer::singleShot(0, &box, [&, first = services.boxes.size() == 2] {
            if (first) {
                QTest::keyClick(shown.List(IDC_RESULTS), Qt::Key_Space);
                QTest::qWait(300); // the memo read on its thread comes back while the box is up
            }
            box.accept();
        });
        box.exec();
    });
    QTest::keyClick(shown.List(IDC_RESULTS), Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return services.boxes.size() > 1; }));
    QTest::qWait(300);
    EXPECT_EQ(services.boxes.size(), 2u);
}

} // namespace
