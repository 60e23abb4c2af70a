

#include "search/filesearch.h"
#include "testkit.h"

namespace {

// Records every report as "found:<path>", "discarded" or "folder:<folder>"; can stop the search at its first
// hit.
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
    CSearchOptions options; // the last search's, as it left them
    std::string text;       // "Containing text", when not empty

    int Search(const std::string& base, bool subfolders, const std::string& mask = "*.jpg",
               uint32_t optionBits = 0, int64_t min = 0, int64_t max = 0)
    {
        log.reports.clear();
        options = {.strBaseFolder = base, .strFileMask = mask, .strFindText = text, .bSubfolders = subfolders,
                   .dwOptions = optionBits, .nMinSize = min, .nMaxSize = max, .arrSkipFolders = {}};
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
    void Files(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            File(name);
    }
};

TEST_F(Finder, ReportsFoldersInPostOrderWithTheirOwnHits)
{
    MakeDir(dir / "a/c");
    Files({"a/c/deep.jpg", "a/mid.JPG", "top.jpg", "other.txt"});
    EXPECT_EQ(Search(dir.path().substr(0, dir.path().size() - 1), true), 3); // no trailing '/'
    EXPECT_EQ(options.strBaseFolder, dir.path());
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "a/c/", "found:" + dir / "a/c/deep.jpg",
                                                     "folder:" + dir / "a/", "found:" + dir / "a/mid.JPG",
                                                     "folder:" + dir.path(), "found:" + dir / "top.jpg"}));

    // Without subfolders: one folder report; a second search counts on.
    EXPECT_EQ(Search(dir.path(), false), 4);
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir.path(), "found:" + dir / "top.jpg"}));
    EXPECT_EQ(Search(dir / "missing", true), 4);
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "missing/"}));
}

TEST_F(Finder, MaskIgnoresCaseTakesHiddenEntriesAndFolders)
{
    MakeDir(dir / "x.jpg");
    Files({"IM000959.JPG", ".hidden.jpg", "a[1].jpg", "a1.jpg", "notes.txt", "x.jpg/inner.jpg"});
    ASSERT_EQ(::symlink(dir.path().c_str(), (dir / "loop").c_str()), 0);

    Search(dir.path(), true);
    // The folder's own hit comes first; the link to a folder is not entered.
    ASSERT_FALSE(log.reports.empty());
    EXPECT_EQ(log.reports[1], "found:" + dir / "x.jpg/inner.jpg");
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / ".hidden.jpg", dir / "IM000959.JPG", dir / "a1.jpg",
                                                 dir / "a[1].jpg", dir / "x.jpg/", dir / "x.jpg/inner.jpg"}));
    Search(dir.path(), false, "A[1].JPG"); // only '*' and '?' are wildcards
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "a[1].jpg"}));
    Search(dir.path(), false, "x.jpg/*.JPG"); // a mask with a folder part looks there
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "x.jpg/inner.jpg"}));
    Search(dir / "x.jpg", false, "*"); // "." and ".." are never reported
    EXPECT_EQ(log.reports, (std::vector<std::string>{"folder:" + dir / "x.jpg/", "found:" + dir / "x.jpg/inner.jpg"}));
}

// The size range is inclusive and a folder's size is 0. Only files whose bytes hold the text are hits, letters
// in either case, also where the text spans two reads; a folder holds no text.
TEST_F(Finder, SizeRangeAndContainingText)
{
    for (const auto& [name, size] : {std::pair{"nine.jpg", 9}, {"ten.jpg", 10}, {"eleven.jpg", 11}})
        File(name, size);
    MakeDir(dir / "folder.jpg");
    WriteFile(dir / "across.jpg", Concat(Bytes(256 * 1024 - 2, 0), {'V', 'o', 'i', 'C', 'e'}));
    WriteFile(dir / "near.jpg", Bytes{'v', 'o', 'i', 'c'});
    MakeDir(dir / "voice.jpg");

    Search(dir.path(), false, "*.jpg", OPT_SIZE, 10, 10);
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "ten.jpg"}));
    EXPECT_EQ(std::count(log.reports.begin(), log.reports.end(), "discarded"), 6);
    Search(dir.path(), false, "*.jpg", OPT_SIZE, 0, 0);
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "folder.jpg/", dir / "voice.jpg/"}));
    text = "voice";
    Search(dir.path(), false, "*.jpg", OPT_TEXT);
    EXPECT_EQ(Found(), (std::vector<std::string>{dir / "across.jpg"}));
}

// A stop at the first hit, deep down, unwinds past every sibling folder with folder reports only.
TEST_F(Finder, StopUnwindsPastSiblingsWithFolderReportsOnly)
{
    MakeDir(dir / "a/c");
    MakeDir(dir / "b");
    Files({"a/c/1.jpg", "a/c/2.jpg", "a/3.jpg", "b/5.jpg", "4.jpg"});
    log.stopAtFirstHit = &finder;
    EXPECT_EQ(Search(dir.path(), true), 1);
    const auto hit = std::find_if(log.reports.begin(), log.reports.end(),
                                  [](const std::string& report) { return report.rfind("found:", 0) == 0; });
    ASSERT_NE(hit, log.reports.end());
    for (auto after = hit + 1; after != log.reports.end(); ++after)
        EXPECT_EQ(after->rfind("folder:", 0), 0u) << *after;
    EXPECT_EQ(log.reports.back(), "folder:" + dir.path());

    // A stop requested before a search is forgotten by it.
    log.stopAtFirstHit = nullptr;
    finder.StopSearch();
    finder.RemoveAll();
    EXPECT_EQ(Search(dir.path(), true), 5);
}

} // namespace
