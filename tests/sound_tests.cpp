// Real playback through SDL: the disk driver writes what the device plays.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "guikit.h"
#include "platform/qt/services.h"
#include "platform/qt/soundplayer.h"

namespace {

size_t FirstNonZeroSample(const Bytes& samples)
{
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] != 0 || samples[i + 1] != 0)
            return i;
    }
    return samples.size();
}

// Each suite runs in a process of its own (see the build): SDL picks its
// driver once.
TEST(Playback, DiskDriverWritesTheSamplesSoxDecodes)
{
    TempDir dir;
    const std::string played = dir / "played.raw";
    const std::string reference = dir / "sox.raw";
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
    // It says it plays until the sound has gone out, then closes the
    // device: nothing more is written.
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
    const size_t lead = FirstNonZeroSample(written) - FirstNonZeroSample(expected);
    ASSERT_LE(lead + expected.size(), written.size());
    EXPECT_EQ(FirstNonZeroSample(written) - lead, FirstNonZeroSample(expected));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), written.begin() + static_cast<long>(lead)));
    for (size_t i = lead + expected.size(); i < written.size(); ++i)
        ASSERT_EQ(written[i], 0) << "at " << i;

    // The sound system has taken no signals: SIGTERM and SIGINT still end
    // the process (a forked copy inherits the handlers as they stand).
    for (const int signal : {SIGTERM, SIGINT}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::raise(signal);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    }

    // A file that is missing or no WAV is refused at once.
    EXPECT_FALSE(player.Play(dir / "missing.wav"));
    EXPECT_FALSE(player.Play(DataPath("IM000101.JPG")));
}

// A FIFO named like a WAV and a memo of an absurd rate are refused at once;
// the rates that play leave a device that closes at once.
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
    for (const auto& [rate, plays] : {std::pair{1u, false}, {999u, false}, {384001u, false}, {1000u, true},
                                      {8000u, true}, {384000u, true}})
        EXPECT_EQ(player.PlayData(withRate(rate)), plays) << rate;
    player.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(NoDevice, WindowSaysItCouldNotPlay)
{
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    TempDir dir;
    RecordedServices services;
    CSoundPlayer player;
    services::SetPlaySound([&player](const CString& path) { return player.Play(path); });
    ShownDialog shown;
    WriteFile(dir / "pic.jpg", ReadFile(DataPath("IM000101.JPG")));
    shown.Search(dir.path());
    shown.Select({0});
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Could not play the sound"}));
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{dir / "pic.jpg", "Output file: " + dir / "pic.jpg.wav Done",
                                                         "1 memos written, 0 without a memo, 0 failed"}));
}

} // namespace
