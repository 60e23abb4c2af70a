// The command-line companion, run as a user would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "testkit.h"

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs vocaline-extract; its standard output goes to outPath when given.
Result RunCli(const std::vector<std::string>& args, const TempDir& scratch, const std::string& outPath = "")
{
    std::string command = VOCALINE_EXTRACT;
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    const std::string out = scratch / ".stdout", err = scratch / ".stderr";
    const int raw = std::system((command + " >" + Quote(outPath.empty() ? out : outPath) + " 2>" + Quote(err)).c_str());
    const Bytes outBytes = outPath.empty() ? ReadFile(out) : Bytes(), errBytes = ReadFile(err);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {outBytes.begin(), outBytes.end()}, {errBytes.begin(), errBytes.end()}};
}

class Cli : public ::testing::Test {
protected:
    TempDir dir;
    TempDir scratch;
    Result Call(const std::vector<std::string>& args) { return RunCli(args, scratch); }
};

// Arguments -> exit status, standard output (exact) and standard error
// (contains), in order: a case sees what the ones before it wrote.
TEST_F(Cli, ArgumentsGiveStatusRowsAndReasons)
{
    MakeDir(dir / "sub");
    const std::string pic = dir / "sub/IM000101.JPG";
    WriteFile(pic, ReadFile(DataPath("IM000101.JPG")));
    const std::string silent = dir / "IM000102.JPG";
    WriteFile(silent, ReadFile(DataPath("IM000102.JPG")));
    const std::string text = dir / "notes.txt";
    WriteText(text, "plain text");
    const std::string gone = dir / "gone.jpg";
    const TempDir other, empty;
    const std::string fifo = other / "fifo.jpg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // What a file name holds cannot forge or split a row: control characters
    // and backslashes are escaped, or rows end in NUL with -0.
    const std::string odd = other / "a\nOutput file: x Done\tb\\n.jpg";
    WriteFile(odd, ReadFile(DataPath("IM000101.JPG")));
    const std::string shown = other / "a\\nOutput file: x Done\\tb\\\\n.jpg";
    const std::string usage = "Usage: vocaline-extract";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{"--check", "-r", dir.path()}, 0, pic + "\tYes\n" + silent + "\tNo\n", ""},
        {{"--check", odd, fifo}, 1, shown + "\tYes\n" + fifo + "\tUnreadable\n",
         "vocaline-extract: cannot read " + fifo + ": Not a regular file\n"},
        {{"--check", "--recursive", "--mask", "*.TXT", dir.path()}, 0, text + "\tNo\n", ""},
        {{"-0", "--check", odd}, 0, odd + "\tYes" + std::string(1, '\0'), ""},
        {{}, 2, "", usage},
        {{"--bogus", pic}, 2, "", usage},
        {{"--mask"}, 2, "", usage},
        {{"--mask", "*", pic}, 2, "", usage},
        {{"-r.jpg", dir.path()}, 2, "", "vocaline-extract: unknown or incomplete option '-.'\n"},
        {{"-r", ""}, 2, "", "vocaline-extract: empty folder name\n"},
        {{"-r", empty.path()}, 0, "", ""},
        {{"--check", "-r", empty.path()}, 0, "", ""},
        {{text, gone, pic}, 1,
         text + "\nError File is not a jpg........................................\n" + gone + "\n" + pic
             + "\nOutput file: " + pic + ".wav Done\n",
         "vocaline-extract: Error could not open file: " + gone + ": No such file or directory\n"},
        {{odd}, 0, shown + "\nOutput file: " + shown + ".wav Done\n", ""},
    };
    for (const auto& c : cases) {
        const Result r = Call(c.args);
        const std::string args = c.args.empty() ? "(none)" : c.args[0] + " ...";
        EXPECT_EQ(r.status, c.status) << args;
        EXPECT_EQ(r.out, c.out) << args;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << args << ": " << r.err;
        EXPECT_EQ(r.err.empty(), c.err.empty()) << args << ": " << r.err;
    }
    EXPECT_TRUE(Exists(odd + ".wav"));
    EXPECT_FALSE(Exists(silent + ".wav"));

    // Bytes that are not printable UTF-8 (C1 controls, direction overrides) as \xHH.
    for (const auto& [name, escaped] : std::vector<std::pair<std::string, std::string>>{
             {"\x9b", "\\x9b"}, {"\xff\xfe", "\\xff\\xfe"}, {"\xc2\x85", "\\xc2\\x85"}, {"\x7f\x1b", "\\x7f\\x1b"},
             {"\xe2\x80\xae", "\\xe2\\x80\\xae"}, {"\xc3", "\\xc3"}, {"\xca\n", "\\xca\\n"}, {"\xc3\xbc\\", "\xc3\xbc\\\\"}})
        EXPECT_EQ(Call({"--check", dir / name}).out, dir / escaped + "\tUnreadable\n");
}

// A folder that cannot be read is named with its reason, and so is an
// output that cannot be written; both give status 1.
TEST_F(Cli, UnreadableFoldersAndFullOutput)
{
    const std::string pic = dir / "IM000101.JPG";
    WriteFile(pic, ReadFile(DataPath("IM000101.JPG")));
    // Its path is longer than the system takes.
    const std::string level(200, 'd');
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    for (int i = 0; i < 22; ++i) {
        ASSERT_EQ(::mkdir(level.c_str(), 0755), 0);
        ASSERT_EQ(::chdir(level.c_str()), 0);
    }
    ASSERT_EQ(::chdir("/"), 0);
    const Result r = Call({"--check", "-r", dir.path()});
    // rm walks the tree by descriptors; a path-based removal cannot.
    EXPECT_EQ(std::system(("rm -rf " + Quote(dir / level)).c_str()), 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot read folder"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("File name too long"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(pic + "\tYes\n"), std::string::npos);

    const Result full = RunCli({"--check", pic}, scratch, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write standard output: No space left on device"), std::string::npos);
}

// Several patterns in one mask (by default both JPEG endings and FlashPix
// files); folders that match it are no rows and no error; a relative folder
// prints as the plain absolute path; each folder's files come in name order.
TEST_F(Cli, MasksFoldersAndEverySource)
{
    MakeDir(dir / "sub");
    MakeDir(dir / "folder.jpg");
    const std::string olympus = DataPath("real/olympus-c3000/");
    WriteFile(dir / "sub/P1010006.JPG", ReadFile(olympus + "P1010006.JPG"));
    WriteFile(dir / "sub/P1010006.WAV", ReadFile(olympus + "P1010006.WAV"));
    WriteFile(dir / "sub/P0004795.FPX", ReadFile(DataPath("real/kodak-dc260/P0004795.FPX")));
    WriteFile(dir / "sub/a.jpeg", ReadFile(DataPath("IM000102.JPG")));
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    const Result mask = Call({"--check", "-r", "--mask", " *.jpg ;; *.fpx", "."});
    const Result byDefault = Call({"--check", "-r", "."});
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(mask.status, 0) << mask.err;
    const std::string jpg = dir / "sub/P1010006.JPG\tYes\n", fpx = dir / "sub/P0004795.FPX\tYes\n";
    EXPECT_EQ(mask.out, fpx + jpg);
    EXPECT_EQ(byDefault.out, fpx + jpg + dir / "sub/a.jpeg\tNo\n");
}

} // namespace
