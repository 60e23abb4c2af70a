#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "search/filesearch.h"
#include "testkit.h"

namespace {

// Records every report as "found:<path>", "discarded" or "folder:<folder>";
// can stop the search at its first hit.
struct Recorder : ISearchReport {
    CFileSearch* stopAtFirstHit = nullptr;
    std::vector<std::string> reports;
    void OnFound(const CString& path) override
    {
        reports.push_back("found:" + path);
        if (stopAtFirstHit)
            stopAtFirstHit->StopSearch();
    }
    void OnDiscarded() override { reports.push_back("discarded"); }
    void OnFolder(const CString& folder) override { reports.push_back("folder:" + folder); }
};

class Finder : public ::testing::Test {
protected:
    TempDir dir;
    CFileSearch finder;
    Recorder log;

    int Search(const std::string& base, bool subfolders, const std::string& mask = "*.jpg",
               uint32_t optionBits = 0, int64_t min = 0, int64_t max = 0)
    {
        log.reports.clear();
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = base;
        options.strFileMask = mask;
        options.bSubfolders = subfolders;
        options.dwOptions = optionBits;
        options.nMinSize = min;
        options.nMaxSize = max;
        return finder.FindFiles(options, &log);
    }
    std::vector<std::string> Found() const
    {
        std::vector<std::string> found;
        for (const std::string& report : log.reports) {
            if (report.rfind("found:", 0) == 0)
                found.push_back(report.substr(6));
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    void File(const std::string& name, size_t size = 1) { WriteFile(dir / name, Bytes(size, 0x55)); }
};

TEST_F(Finder, ReportsFoldersInPostOrderWithTheirOwnHits)
{
    MakeDir(dir / "a/c");
    File("a/c/deep.jpg");
    File("a/mid.JPG");
    File("top.jpg");
    File("other.txt");
    CSearchOptions options;
    options.Reset();
    options.strBaseFolder = dir.path().substr(0, dir.path().size() - 1); // no trailing '/'
    options.bSubfolders = 1;
    EXPECT_EQ(finder.FindFiles(options, &log), 3);
    EXPECT_EQ(options.strBaseFolder, dir.path());
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "a/c/", "found:" + dir / "a/c/deep.jpg",
                                                     "folder:" + dir / "a/", "found:" + dir / "a/mid.JPG",
                                                     "folder:" + dir.path(), "found:" + dir / "top.jpg"}));

    // Without subfolders: one folder report; a second search counts on.
    EXPECT_EQ(Search(dir.path(), false), 4);
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir.path(), "found:" + dir / "top.jpg"}));
    EXPECT_EQ(Search(dir / "missing", true), 4);
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "missing/"}));
    finder.RemoveAll();
    EXPECT_EQ(finder.GetFileCount(), 0);
    EXPECT_EQ(finder.GetFilePath(-1).GetPath(), "");
    EXPECT_EQ(finder.GetFilePath(0).GetPath(), "");
}

TEST_F(Finder, MaskIgnoresCaseTakesHiddenEntriesAndFolders)
{
    File("IM000959.JPG");
    File(".hidden.jpg");
    File("a[1].jpg");
    File("notes.txt");
    MakeDir(dir / "x.jpg");
    File("x.jpg/inner.jpg");
    ASSERT_EQ(::symlink(dir.path().c_str(), (dir / "loop").c_str()), 0);

    Search(dir.path(), true);
    // The folder's own hit comes first; the link to a folder is not entered.
    ASSERT_FALSE(log.reports.empty());
    EXPECT_EQ(log.reports[1], "found:" + dir / "x.jpg/inner.jpg");
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / ".hidden.jpg", dir / "IM000959.JPG", dir / "a[1].jpg",
                                                 dir / "x.jpg/", dir / "x.jpg/inner.jpg"}));
    Search(dir.path(), false, "x.jpg/*.JPG"); // a mask with a folder part looks there
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "x.jpg/inner.jpg"}));
    Search(dir / "x.jpg", false, "*"); // "." and ".." are never reported
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "x.jpg/", "found:" + dir / "x.jpg/inner.jpg"}));
}

TEST_F(Finder, SizeRangeIsInclusiveAndOnlyWithTheOption)
{
    File("nine.jpg", 9);
    File("ten.jpg", 10);
    File("eleven.jpg", 11);
    MakeDir(dir / "folder.jpg");
    const auto discarded = [&] { return std::count(log.reports.begin(), log.reports.end(), "discarded"); };

    Search(dir.path(), false, "*.jpg", OPT_SIZE, 10, 10);
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "ten.jpg"}));
    EXPECT_EQ(discarded(), 3);
    Search(dir.path(), false, "*.jpg", OPT_SIZE, 0, 0);
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "folder.jpg/"}));
    Search(dir.path(), false, "*.jpg", OPT_SIZE, 11, 9);
    EXPECT_EQ(discarded(), 4);
    Search(dir.path(), false, "*.jpg", OPT_TEXT, 100, 0);
    EXPECT_EQ(Found().size(), 4u);
}

TEST_F(Finder, StopDuringADeepReportUnwindsWithFolderReportsOnly)
{
    MakeDir(dir / "a/c");
    File("a/c/1.jpg");
    File("a/c/2.jpg");
    File("a/3.jpg");
    File("4.jpg");
    log.stopAtFirstHit = &finder;
    EXPECT_EQ(Search(dir.path(), true), 1);
    ASSERT_EQ(log.reports.size(), 4u);
    EXPECT_EQ(log.reports[0], "folder:" + dir / "a/c/");
    EXPECT_EQ(log.reports[1].rfind("found:" + dir / "a/c/", 0), 0u);
    EXPECT_EQ(log.reports[2], "folder:" + dir / "a/");
    EXPECT_EQ(log.reports[3], "folder:" + dir.path());

    // A stop requested before a search is forgotten by it.
    log.stopAtFirstHit = nullptr;
    finder.StopSearch();
    finder.RemoveAll();
    EXPECT_EQ(Search(dir.path(), true), 4);
}

} // namespace
