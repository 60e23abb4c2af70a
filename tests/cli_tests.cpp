// The command-line companion, run as a user would run it.
#include <sys/wait.h>

#include "testkit.h"

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

class Cli : public ::testing::Test {
protected:
    TempDir dir, scratch;
    // Runs vocaline-extract; its standard output goes to outPath when given.
    Result Call(const std::vector<std::string>& args, const std::string& outPath = "")
    {
        std::string command = VOCALINE_EXTRACT;
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        const std::string out = scratch / ".stdout", err = scratch / ".stderr";
        const int raw = std::system((command + " >" + Quote(outPath.empty() ? out : outPath) + " 2>" + Quote(err)).c_str());
        const Bytes outBytes = outPath.empty() ? ReadFile(out) : Bytes(), errBytes = ReadFile(err);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, {outBytes.begin(), outBytes.end()},
                {errBytes.begin(), errBytes.end()}};
    }
};

// Arguments -> exit status, standard output (exact) and standard error (contains), in order: a case sees what
// the ones before it wrote.
TEST_F(Cli, ArgumentsGiveStatusRowsAndReasons)
{
    const std::string pic = CopySample(dir / "sub/IM000101.JPG");
    const std::string silent = CopySample(dir / "IM000102.JPG", "IM000102.JPG");
    const std::string text = dir / "notes.txt";
    WriteText(text, "plain text");
    const std::string gone = dir / "gone.jpg";
    const TempDir other, empty;
    const std::string fifo = other / "fifo.jpg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // What a file name holds cannot forge or split a row: control characters and backslashes are escaped, or
    // rows end in NUL with -0.
    const std::string odd = CopySample(other / "a\nOutput file: x Done\tb\\n.jpg");
    const std::string shown = other / "a\\nOutput file: x Done\\tb\\\\n.jpg";
    const std::string usage = "Usage: vocaline-extract [--check] [-r] [--mask PATTERN] [-o DIR] [--keep-going] [-0] "
                              "[--pcm] [--keep-partial] [--format=json|csv] [--] PATH...\n";
    // A WAV name taken by a folder: that file cannot be written.
    const std::string blocked = CopySample(other / "blocked.jpg");
    MakeDir(blocked + ".wav/in");
    const std::string blockedRows = blocked + "\nError cant open/create output file\n" + blocked + ".wav\n";
    const std::string blockedError = "vocaline-extract: Error cant open/create output file: " + blocked + ".wav: ";
    const std::string hint = " is a folder; use -r to search it\n";
    // A path that starts with '-' is given relative to here.
    CopySample(other / "-p.jpg", "IM000102.JPG");
    ASSERT_EQ(::symlink("/nonexistent/x", (other / "dangling").c_str()), 0); // no output folder can be made there
    ASSERT_EQ(::chdir(other.path().c_str()), 0);
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
        {{pic, "-o", ""}, 2, "", "vocaline-extract: empty folder name\n"},
        {{"-r", empty.path()}, 0, "", ""},
        {{"--check", "-r", empty.path()}, 0, "", ""},
        {{text, gone, pic}, 1,
         text + "\nError File is not a jpg........................................\n" + gone + "\n" + pic
             + "\nOutput file: " + pic + ".wav Done\n",
         "vocaline-extract: Error could not open file: " + gone + ": No such file or directory\n"},
        {{odd}, 0, shown + "\nOutput file: " + shown + ".wav Done\n", ""},
        // Options after the paths; "--" ends the options.
        {{"-r", dir.path(), "--mask", "*.TXT", "--check"}, 0, text + "\tNo\n", ""},
        {{"--check", "--", "-p.jpg"}, 0, "-p.jpg\tNo\n", ""},
        {{"--check", "-p.jpg"}, 2, "", "unknown or incomplete option '-p'"},
        {{"--check", "-o", empty.path(), pic}, 2, "", "-o does not apply"},
        // A folder without -r: a usage error when it is all there was.
        {{dir.path(), empty.path()}, 2, "", "vocaline-extract: " + dir.path() + hint},
        {{"--check", dir / "sub", pic}, 1, dir / "sub\tUnreadable\n" + pic + "\tYes\n", dir / "sub" + hint},
        {{dir / "sub", pic}, 1, dir / "sub\n" + pic + "\nOutput file: " + pic + ".wav Done\n", dir / "sub" + hint},
        // An output file that cannot be made ends the run, unless asked to go on.
        {{blocked, pic}, 1, blockedRows, blockedError},
        {{blocked, "--keep-going", pic}, 1, blockedRows + pic + "\nOutput file: " + pic + ".wav Done\n", blockedError},
        // Files named keep their places below their common folder (a folder among them is no file), in an
        // output folder made with its parents.
        {{"-o", "o4/new", dir.path(), pic}, 1, dir.path() + "\n" + pic + "\nOutput file: o4/new/IM000101.JPG.wav Done\n",
         dir.path() + hint},
        {{"-o", "dangling/out", pic}, 1, pic + "\nError cant open/create output file\ndangling/out/IM000101.JPG.wav\n",
         "dangling/out/IM000101.JPG.wav: File exists\n"},
    };
    for (const auto& c : cases) {
        const Result r = Call(c.args);
        const std::string args = c.args.empty() ? "(none)" : c.args[0] + " ...";
        EXPECT_EQ(r.status, c.status) << args;
        EXPECT_EQ(r.out, c.out) << args;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << args << ": " << r.err;
        EXPECT_EQ(r.err.empty(), c.err.empty()) << args << ": " << r.err;
    }
    // Two folders searched into one output folder keep their trees apart.
    MakeDir(other / "more");
    WriteFile(other / "more/IM000101.JPG", ReadFile(pic));
    Call({"-r", dir / "sub", other / "more", "-o", "o5"});
    EXPECT_EQ(Shell("find o5 -name IM000101.JPG.wav | wc -l"), "2");
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_TRUE(Exists(odd + ".wav"));
    EXPECT_FALSE(Exists(silent + ".wav"));

    // Bytes that are not printable UTF-8 (C1 controls, direction overrides) as \xHH.
    for (const auto& [name, escaped] : std::vector<std::pair<std::string, std::string>>{
             {"\x9b", "\\x9b"}, {"\xff\xfe", "\\xff\\xfe"}, {"\xc2\x85", "\\xc2\\x85"}, {"\x7f\x1b", "\\x7f\\x1b"},
             {"\xe2\x80\xae", "\\xe2\\x80\\xae"}, {"\xc3", "\\xc3"}, {"\xca\n", "\\xca\\n"}, {"\xc3\xbc\\", "\xc3\xbc\\\\"}})
        EXPECT_EQ(Call({"--check", dir / name}).out, dir / escaped + "\tUnreadable\n");
}

// -o: every WAV below the output folder at its picture's place, the reports naming it; the read-only tree stays
// as it was (for root, who may write anyway, that is what is checked). A link planted as an output subfolder is
// not followed, and an output folder inside the tree is not searched.
TEST_F(Cli, OutputFolderMirrorsAReadOnlyTree)
{
    const std::string pics = dir / "pics/", out = dir / "out/", olympus = DataPath("real/olympus-c3000/");
    for (const std::string name : {"2003/may/IM000101.JPG", "2005/IM000101.JPG"})
        CopySample(pics + name);
    for (const std::string name : {"P1010006.JPG", "P1010006.WAV"})
        CopySample(pics + "2004/" + name, "real/olympus-c3000/" + name);
    const TempDir victim;
    MakeDir(out);
    ASSERT_EQ(::symlink(victim.path().c_str(), (out + "2005").c_str()), 0);
    const std::string find = "find . | sort", before = Shell("cd " + Quote(pics) + " && chmod -R a-w . && " + find);

    const Result r = Call({"--keep-going", "--format=json", "-o", out, "-r", pics});
    EXPECT_EQ(Shell("cd " + Quote(pics) + " && " + find), before);
    EXPECT_EQ(Shell("chmod -R u+w " + Quote(pics) + " && cd " + Quote(out) + " && find . -type f | sort"),
              "./2003/may/IM000101.JPG.wav\n./2004/P1010006.JPG.wav");
    EXPECT_EQ(ReadFile(out + "2003/may/IM000101.JPG.wav"), ReadFile(DataPath("expected/IM000101.JPG.wav")));
    EXPECT_EQ(ReadFile(out + "2004/P1010006.JPG.wav"), ReadFile(olympus + "P1010006.WAV"));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(out + "2003/may").permissions(), std::filesystem::perms(0777 & ~mask));
    EXPECT_EQ(r.status, 1);
    for (const char* wav : {"2003/may/IM000101.JPG.wav\",\"outcome\":\"done", "2005/IM000101.JPG.wav\",\"outcome\":\"failed"})
        EXPECT_NE(r.out.find("\"output\":\"" + out + wav), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(out + "2005/IM000101.JPG.wav: Not a directory"), std::string::npos) << r.err;
    EXPECT_EQ(Shell("ls -A " + Quote(victim.path())), "");

    // Inside the tree, every file a match: the output is not read back.
    Call({"-r", pics, "-o", pics + "wav", "--mask", "*"});
    const Result again = Call({"-r", pics, "-o", pics + "wav", "--mask", "*"});
    EXPECT_NE(again.out.find("Output file: " + pics + "wav/2003/may/IM000101.JPG.wav Done"), std::string::npos);
    EXPECT_EQ(("\n" + again.out).find("\n" + pics + "wav/"), std::string::npos) << again.out;
}

// A folder that cannot be read is named with its reason, and so is an output that cannot be written; both give
// status 1.
TEST_F(Cli, UnreadableFoldersAndFullOutput)
{
    const std::string pic = CopySample(dir / "IM000101.JPG");
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

    const Result full = Call({"--check", pic}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write standard output: No space left on device"), std::string::npos);
}

// Several patterns in one mask (by default both JPEG endings and FlashPix files); folders matching it are no
// rows and no error; a relative folder prints as the plain absolute path; files come in name order.
TEST_F(Cli, MasksFoldersAndEverySource)
{
    MakeDir(dir / "folder.jpg");
    for (const std::string name : {"P1010006.JPG", "P1010006.WAV"})
        CopySample(dir / ("sub/" + name), "real/olympus-c3000/" + name);
    CopySample(dir / "sub/P0004795.FPX", "real/kodak-dc260/P0004795.FPX");
    CopySample(dir / "sub/a.jpeg", "IM000102.JPG");
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    const Result mask = Call({"--check", "-r", "--mask", " *.jpg ;; *.fpx", "."}), byDefault = Call({"--check", "-r", "."});
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(mask.status, 0) << mask.err;
    const std::string jpg = dir / "sub/P1010006.JPG\tYes\n", fpx = dir / "sub/P0004795.FPX\tYes\n";
    EXPECT_EQ(mask.out, fpx + jpg);
    EXPECT_EQ(byDefault.out, fpx + jpg + dir / "sub/a.jpeg\tNo\n");
}

} // namespace
