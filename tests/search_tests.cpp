#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "audio/jpegaudio.h"
#include "search/filesearch.h"
#include "testkit.h"

namespace {

// Records every report as "found:<path>", "discarded" or "folder:<folder>".
struct Log {
    std::vector<std::string> reports;

    static void Callback(CFileSearch* finder, int code, void* user)
    {
        auto* log = static_cast<Log*>(user);
        std::string report;
        if (code == SEARCH_FOUND)
            report = "found:" + std::string(finder->GetFilePath(finder->GetFileCount() - 1).GetFullPath());
        else if (code == SEARCH_DISCARDED)
            report = "discarded";
        else
            report = "folder:" + std::string(finder->GetCurrentFolder());
        log->reports.push_back(report);
    }
};

class Finder : public ::testing::Test {
protected:
    TempDir dir;
    CFileSearch finder;
    Log log;

    void SetUp() override { finder.SetCallback(&Log::Callback, &log); }

    int Search(const std::string& base, bool subfolders, const std::string& mask = "*.jpg")
    {
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = base;
        options.strFileMask = mask;
        options.bSubfolders = subfolders;
        return finder.FindFiles(options);
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
    const std::string base = dir.path().substr(0, dir.path().size() - 1); // no trailing '/'

    CSearchOptions options;
    options.Reset();
    options.strBaseFolder = base;
    options.bSubfolders = 1;
    EXPECT_EQ(finder.FindFiles(options), 3);
    EXPECT_EQ(options.strBaseFolder, dir.path());
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "a/c/", "found:" + dir / "a/c/deep.jpg",
                                                     "folder:" + dir / "a/", "found:" + dir / "a/mid.JPG",
                                                     "folder:" + dir.path(), "found:" + dir / "top.jpg"}));
}

TEST_F(Finder, SiblingFoldersEachCompleteBeforeTheNext)
{
    MakeDir(dir / "a");
    MakeDir(dir / "b");
    File("a/1.jpg");
    File("b/2.jpg");
    Search(dir.path(), true);
    ASSERT_EQ(log.reports.size(), 5u);
    // Whichever sibling comes first, its hit follows its own folder report.
    for (int i : {0, 2}) {
        const std::string folder = log.reports[i].substr(7);
        EXPECT_EQ(log.reports[i + 1].rfind("found:" + folder, 0), 0u) << log.reports[i + 1];
    }
    EXPECT_EQ(log.reports[4], "folder:" + dir.path());
}

TEST_F(Finder, WithoutSubfoldersOneFolderReport)
{
    MakeDir(dir / "sub");
    File("sub/in.jpg");
    File("here.jpg");
    EXPECT_EQ(Search(dir.path(), false), 1);
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir.path(), "found:" + dir / "here.jpg"}));
}

TEST_F(Finder, MissingFolderReportsItselfOnly)
{
    File("here.jpg");
    Search(dir.path(), false);
    log.reports.clear();
    EXPECT_EQ(Search(dir / "missing", true), 1); // the earlier hit stays counted
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "missing/"}));
    finder.RemoveAll();
    EXPECT_EQ(finder.GetFileCount(), 0);
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
    std::vector<std::string> hits;
    for (int i = 0; i < finder.GetFileCount(); ++i)
        hits.push_back(finder.GetFilePath(i).GetFullPath());
    // The folder's own hit comes first; the link to a folder is not entered.
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front(), dir / "x.jpg/inner.jpg");
    std::sort(hits.begin(), hits.end());
    EXPECT_EQ(hits, (std::vector<std::string>{dir / ".hidden.jpg", dir / "IM000959.JPG", dir / "a[1].jpg",
                                              dir / "x.jpg/", dir / "x.jpg/inner.jpg"}));
    EXPECT_EQ(CPathParts((dir / "x.jpg/").c_str()).GetFileName(), "");
}

TEST_F(Finder, MaskWithAFolderPartLooksThere)
{
    MakeDir(dir / "sub");
    File("sub/in.jpg");
    File("here.jpg");
    EXPECT_EQ(Search(dir.path(), false, "sub/*.JPG"), 1);
    EXPECT_STREQ(finder.GetFilePath(0).GetFullPath(), (dir / "sub/in.jpg").c_str());
}

TEST_F(Finder, DotsAreNeverReported)
{
    Search(dir.path(), true, "*");
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir.path()}));
}

TEST_F(Finder, SizeRangeIsInclusiveAndOnlyWithTheOption)
{
    File("nine.jpg", 9);
    File("ten.jpg", 10);
    File("eleven.jpg", 11);
    MakeDir(dir / "folder.jpg");

    auto hits = [&](uint32_t optionBits, int64_t min, int64_t max) {
        finder.RemoveAll();
        log.reports.clear();
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = dir.path();
        options.dwOptions = optionBits;
        options.nMinSize = min;
        options.nMaxSize = max;
        std::vector<std::string> found;
        for (int i = 0, n = finder.FindFiles(options); i < n; ++i)
            found.push_back(finder.GetFilePath(i).GetFileName() + "|" + finder.GetFilePath(i).GetLocation());
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(hits(OPT_SIZE, 10, 10), (std::vector<std::string>{"ten.jpg|" + dir.path()}));
    EXPECT_EQ(std::count(log.reports.begin(), log.reports.end(), "discarded"), 3);
    EXPECT_EQ(hits(OPT_SIZE, 10, 11).size(), 2u);
    EXPECT_EQ(hits(OPT_SIZE, 0, 0), (std::vector<std::string>{"|" + dir / "folder.jpg/"}));
    EXPECT_TRUE(hits(OPT_SIZE, 11, 9).empty());
    EXPECT_EQ(std::count(log.reports.begin(), log.reports.end(), "discarded"), 4);
    EXPECT_EQ(hits(OPT_ATTRIBUTES | OPT_TEXT, 100, 0).size(), 4u);
}

TEST_F(Finder, StopDuringADeepReportUnwindsWithFolderReportsOnly)
{
    MakeDir(dir / "a/c");
    File("a/c/1.jpg");
    File("a/c/2.jpg");
    File("a/3.jpg");
    File("4.jpg");
    finder.SetCallback(
        [](CFileSearch* f, int code, void* user) {
            Log::Callback(f, code, user);
            if (code == SEARCH_FOUND)
                f->StopSearch();
        },
        &log);
    EXPECT_EQ(Search(dir.path(), true), 1);
    ASSERT_EQ(log.reports.size(), 4u);
    EXPECT_EQ(log.reports[0], "folder:" + dir / "a/c/");
    EXPECT_EQ(log.reports[1].rfind("found:" + dir / "a/c/", 0), 0u);
    EXPECT_EQ(log.reports[2], "folder:" + dir / "a/");
    EXPECT_EQ(log.reports[3], "folder:" + dir.path());

    // A stop requested before a search is forgotten by it.
    finder.StopSearch();
    finder.SetCallback(nullptr, nullptr);
    finder.RemoveAll();
    EXPECT_EQ(Search(dir.path(), true), 4);
}

TEST_F(Finder, OutOfRangeIndexGivesEmptyParts)
{
    File("a.jpg");
    Search(dir.path(), false);
    for (int index : {-1, finder.GetFileCount()}) {
        CPathParts parts = finder.GetFilePath(index);
        EXPECT_STREQ(parts.GetFullPath(), "");
        EXPECT_EQ(parts.GetLocation(), "");
    }
}

TEST_F(Finder, FifoIsListedAndHasNoSound)
{
    ASSERT_EQ(::mkfifo((dir / "x.jpg").c_str(), 0644), 0);
    EXPECT_EQ(Search(dir.path(), true), 1);
    EXPECT_EQ(log.reports.back(), "found:" + dir / "x.jpg");
    CPathParts parts = finder.GetFilePath(0);
    EXPECT_FALSE(HasSound(parts.GetLocation(), parts.GetFileName()));
}

} // namespace
