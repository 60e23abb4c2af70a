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

std::string Quote(const std::string& arg)
{
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

Result RunCli(const std::vector<std::string>& args, const TempDir& scratch, const std::string& outPath = "")
{
    std::string command = VOCALINE_EXTRACT;
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    const std::string errPath = scratch / ".stderr";
    command += " 2>" + Quote(errPath);
    if (!outPath.empty())
        command += " >" + Quote(outPath);
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const Bytes err = ReadFile(errPath);
    result.err.assign(err.begin(), err.end());
    ::unlink(errPath.c_str());
    return result;
}

class Cli : public ::testing::Test {
protected:
    TempDir dir;
    TempDir scratch;
    Result Call(const std::vector<std::string>& args) { return RunCli(args, scratch); }
};

TEST_F(Cli, ExtractsInArgumentOrderWithTheWindowsRows)
{
    const std::string pic = dir / "IM000101.JPG";
    WriteFile(pic, ReadFile(DataPath("IM000101.JPG")));
    const std::string text = dir / "notes.jpg";
    WriteText(text, "plain text");
    const std::string gone = dir / "gone.jpg";

    const Result r = Call({text, gone, pic});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, text + "\nError File is not a jpg........................................\n" + gone + "\n" + pic
                         + "\nOutput file: " + pic + ".wav Done\n");
    EXPECT_EQ(r.err, "vocaline-extract: Error could not open file: " + gone + ": No such file or directory\n");
    EXPECT_EQ(Call({pic}).status, 0);
}

TEST_F(Cli, RecursiveCheckListsTheFindersHits)
{
    MakeDir(dir / "sub");
    WriteFile(dir / "sub/IM000101.JPG", ReadFile(DataPath("IM000101.JPG")));
    WriteFile(dir / "IM000102.JPG", ReadFile(DataPath("IM000102.JPG")));
    WriteText(dir / "memo.txt", "x");

    Result r = Call({"--check", "-r", dir.path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, dir / "sub/IM000101.JPG\tYes\n" + dir / "IM000102.JPG\tNo\n");
    EXPECT_FALSE(Exists(dir / "sub/IM000101.JPG.wav"));

    r = Call({"--check", "--recursive", "--mask", "*.TXT", dir.path()});
    EXPECT_EQ(r.out, dir / "memo.txt\tNo\n");

    r = Call({"-r", dir.path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(Exists(dir / "sub/IM000101.JPG.wav"));
}

TEST_F(Cli, UsageErrorsTouchNothing)
{
    const std::string pic = dir / "IM000101.JPG";
    WriteFile(pic, ReadFile(DataPath("IM000101.JPG")));
    for (const auto& args :
         std::vector<std::vector<std::string>>{{}, {"--bogus", pic}, {"--mask"}, {"--mask", "*", pic}, {"-r", ""}}) {
        const Result r = Call(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage: vocaline-extract"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(Exists(pic + ".wav"));
    EXPECT_EQ(Call({"-r", dir.path(), ""}).err.rfind("vocaline-extract: empty folder name\n", 0), 0u);
    EXPECT_EQ(Call({"--version"}).out, "vocaline-extract 1.0.0.3\n");
    EXPECT_EQ(Call({"--help"}).status, 0);
}

// What a file name holds cannot forge or split rows: control characters are
// escaped, or rows end in NUL with -0.
TEST_F(Cli, NamesCannotForgeRows)
{
    const std::string odd = dir / "a\nOutput file: x Done\tb.jpg";
    WriteFile(odd, ReadFile(DataPath("IM000101.JPG")));
    const std::string shown = dir / "a\\nOutput file: x Done\\tb.jpg";

    Result r = Call({"--check", odd});
    EXPECT_EQ(r.out, shown + "\tYes\n");
    r = Call({"-0", "--check", odd});
    EXPECT_EQ(r.out, odd + "\tYes" + std::string(1, '\0'));
    r = Call({odd});
    EXPECT_EQ(r.out, shown + "\nOutput file: " + shown + ".wav Done\n");
    EXPECT_TRUE(Exists(odd + ".wav"));

    // Bytes that are not printable UTF-8 (C1 controls, direction overrides) as \xHH.
    for (const auto& [name, escaped] : std::vector<std::pair<std::string, std::string>>{
             {"\x9b", "\\x9b"}, {"\xff\xfe", "\\xff\\xfe"}, {"\xc2\x85", "\\xc2\\x85"}, {"\x7f\x1b", "\\x7f\\x1b"},
             {"\xe2\x80\xae", "\\xe2\\x80\\xae"}, {"\xc3", "\\xc3"}, {"\xca\n", "\\xca\\n"}, {"\xc3\xbc\\", "\xc3\xbc\\\\"}})
        EXPECT_EQ(Call({"--check", dir / name}).out, dir / escaped + "\tUnreadable\n");
}

// Every failure is told with its reason and gives a non-zero status.
TEST_F(Cli, FailuresSayWhyAndExitOne)
{
    const std::string pic = dir / "IM000101.JPG";
    WriteFile(pic, ReadFile(DataPath("IM000101.JPG")));
    ASSERT_EQ(::mkfifo((dir / "fifo.jpg").c_str(), 0644), 0);

    Result r = Call({"--check", pic, dir / "fifo.jpg"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, pic + "\tYes\n" + dir / "fifo.jpg\tUnreadable\n");
    EXPECT_EQ(r.err, "vocaline-extract: cannot read " + dir / "fifo.jpg: Not a regular file\n");

    // A folder -r cannot read: its path is longer than the system takes.
    const std::string level(200, 'd');
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    for (int i = 0; i < 22; ++i) {
        ASSERT_EQ(::mkdir(level.c_str(), 0755), 0);
        ASSERT_EQ(::chdir(level.c_str()), 0);
    }
    ASSERT_EQ(::chdir("/"), 0);
    r = Call({"--check", "-r", dir.path()});
    // rm walks the tree by descriptors; a path-based removal cannot.
    EXPECT_EQ(std::system(("rm -rf " + Quote(dir / level)).c_str()), 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot read folder"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("File name too long"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(pic + "\tYes\n"), std::string::npos);

    const Result full = RunCli({"--check", pic}, scratch, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write standard output: No space left on device"), std::string::npos);

    // A folder without hits is no error, in either mode.
    TempDir empty;
    for (const auto& args : std::vector<std::vector<std::string>>{{"-r", empty.path()}, {"--check", "-r", empty.path()}}) {
        r = Call(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out + r.err, "");
    }

    r = Call({"-r.jpg", dir.path()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("vocaline-extract: unknown or incomplete option '-.'\n", 0), 0u) << r.err;
}

// Several patterns in one mask; folders that match it are no rows and no
// error; a relative folder prints as the plain absolute path; the memo beside
// a picture and the native FlashPix file are extracted like any other.
TEST_F(Cli, MasksFoldersAndEverySource)
{
    MakeDir(dir / "sub");
    MakeDir(dir / "folder.jpg");
    const std::string olympus = DataPath("real/olympus-c3000/");
    WriteFile(dir / "sub/P1010006.JPG", ReadFile(olympus + "P1010006.JPG"));
    WriteFile(dir / "sub/P1010006.WAV", ReadFile(olympus + "P1010006.WAV"));
    WriteFile(dir / "sub/P0004795.FPX", ReadFile(DataPath("real/kodak-dc260/P0004795.FPX")));
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    Result r = Call({"--check", "-r", "--mask", " *.jpg ;; *.fpx", "."});
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string jpg = dir / "sub/P1010006.JPG\tYes\n", fpx = dir / "sub/P0004795.FPX\tYes\n";
    EXPECT_TRUE(r.out == jpg + fpx || r.out == fpx + jpg) << r.out;

    r = Call({"-r", "--mask", "*.jpg;*.fpx", dir / "sub"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "sub/P1010006.JPG.wav"), ReadFile(olympus + "P1010006.WAV"));
    EXPECT_TRUE(Exists(dir / "sub/P0004795.FPX.wav"));
}

} // namespace
