// The command-line companion, run as a user would run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

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

Result RunCli(const std::vector<std::string>& args, const TempDir& scratch)
{
    std::string command = VOCALINE_EXTRACT;
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    const std::string errPath = scratch / ".stderr";
    command += " 2>" + Quote(errPath);
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
    EXPECT_EQ(r.err, "vocaline-extract: Error could not open file\n\n" + gone + "\n");
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
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"--bogus", pic}, {"--mask"}, {"--mask", "*", pic}}) {
        const Result r = Call(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage: vocaline-extract"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(Exists(pic + ".wav"));
    EXPECT_EQ(Call({"--version"}).out, "vocaline-extract 1.0.0.2\n");
    EXPECT_EQ(Call({"--help"}).status, 0);
}

TEST_F(Cli, EmptyFolderIsTheNothingSelectedCase)
{
    const Result r = Call({"-r", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vocaline-extract: Error No items were selected!\n");
}

} // namespace
