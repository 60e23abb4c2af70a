// The Search button from the window: rows, list modes, status line and the
// live, cancellable search with everything else working inside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "guikit.h"

namespace {

class SearchWindow : public WindowTest {
protected:
    TempDir dir;
    void File(const std::string& name, size_t size = 1) { WriteFile(dir / name, Bytes(size, 0x55)); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < shown.Rows(); ++i)
            names.push_back(dlg.GetRowPath(i));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(SearchWindow, ListModesReplaceAddAndRemove)
{
    File("a.jpg");
    File("b.jpg");
    shown.Search(dir.path(), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{dir / "a.jpg", dir / "b.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found");

    // Add: the listed hits stay single; the count is of all hits.
    File("c.jpg");
    shown.Search(dir.path(), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{dir / "a.jpg", dir / "b.jpg", dir / "c.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "3 items found");

    // Remove: only the rows of hits go, the count is of hits.
    TempDir other;
    WriteText(other / "z.jpg", "z");
    shown.Search(other.path(), 1);
    ASSERT_EQ(shown.Rows(), 4);
    ::remove((dir / "a.jpg").c_str());
    WriteText(other / "y.jpg", "y"); // a hit that has no row
    shown.Search(other.path(), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{dir / "a.jpg", dir / "b.jpg", dir / "c.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found");

    // Replace starts afresh; one hit reads "1 items found".
    shown.Search(other.path(), 0);
    EXPECT_EQ(shown.Rows(), 2);
    ::remove((other / "y.jpg").c_str());
    shown.Search(other.path(), 0);
    EXPECT_EQ(shown.Text(IDC_STATUS), "1 items found");

    // Add and Remove over an empty list.
    dlg.m_listResults.DeleteAllItems();
    shown.Search(other.path(), 2);
    EXPECT_EQ(shown.Rows(), 0);
}

TEST_F(SearchWindow, HitListedUnderAnotherCaseIsNotAddedTwice)
{
    File("PIC.JPG");
    shown.Search(dir.path(), 0);
    ASSERT_EQ(shown.Rows(), 1);
    ASSERT_EQ(::rename((dir / "PIC.JPG").c_str(), (dir / "pic.jpg").c_str()), 0);
    shown.Search(dir.path(), 1);
    EXPECT_EQ(shown.Rows(), 1);
    EXPECT_EQ(dlg.FindInList((dir / "pic.jpg").c_str()), 0);
    EXPECT_EQ(dlg.FindInList((dir / "Pic.Jpg").c_str()), 0);
    EXPECT_EQ(dlg.FindInList((dir / "pic.jpeg").c_str()), -1);
}

TEST_F(SearchWindow, FindInListAnswersAsTheScanWouldAfterDeletions)
{
    // Rows: É.jpg, x.jpg, é.jpg again under another case, then deletions.
    WriteText(dir / "\xC3\x89.jpg", "1");
    File("x.jpg");
    shown.Search(dir.path(), 0);
    TempDir second;
    WriteText(second / "\xC3\xA9.jpg", "2");
    shown.Search(second.path(), 1);
    ASSERT_EQ(shown.Rows(), 3);
    const std::string accented = dir / "\xC3\xA9.JPG";
    for (int round = 0; round < 3; ++round) {
        int expected = -1;
        for (int i = 0; i < shown.Rows() && expected < 0; ++i) {
            if (dlg.GetRowPath(i) == dir / "\xC3\x89.jpg")
                expected = i;
        }
        EXPECT_EQ(dlg.FindInList(accented.c_str()), expected) << round;
        if (shown.Rows() > 0)
            dlg.m_listResults.DeleteItem(0), shown.Search(dir.path(), 2);
    }
}

TEST_F(SearchWindow, SizeBoundsInKilobytesAreInclusive)
{
    File("under.jpg", 10239);
    File("low.jpg", 10240);
    File("high.jpg", 20480);
    File("over.jpg", 20481);
    shown.Click(IDC_SIZERANGE);
    shown.SetText(IDC_SIZEMIN, "10");
    shown.SetText(IDC_SIZEMAX, "20");
    shown.Search(dir.path());
    EXPECT_EQ(Names(), (std::vector<std::string>{dir / "high.jpg", dir / "low.jpg"}));
}

TEST_F(SearchWindow, EmptyMaskStaysEmptyAndContainingTextChangesNothing)
{
    File("a.jpg");
    shown.SetText(IDC_FILEMASK, "");
    shown.Search(dir.path());
    EXPECT_EQ(shown.Text(IDC_STATUS), "0 items found");

    shown.SetText(IDC_FILEMASK, "*.jpg");
    shown.SetText(IDC_CONTAINING, "no such text");
    shown.Search(dir.path());
    EXPECT_EQ(Names(), (std::vector<std::string>{dir / "a.jpg"}));
}

TEST_F(SearchWindow, RowTexts)
{
    File("b10239.jpg", 10239);
    File("b10240.jpg", 10240);
    File("b11263.jpg", 11263);
    File("b0.jpg", 0);
    MakeDir(dir / "folder.jpg");
    // 2003-04-25 23:09 UTC
    const struct timespec times[2] = {{1051312140, 0}, {1051312140, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "b0.jpg").c_str(), times, 0), 0);
    shown.Click(IDC_CHECKSOUND);
    shown.Search(dir.path());

    std::map<std::string, std::vector<std::string>> rows;
    for (int i = 0; i < shown.Rows(); ++i)
        rows[dlg.GetRowPath(i)] = shown.Row(i);
    EXPECT_EQ(rows[dir / "b10239.jpg"][2], "10239 B");
    EXPECT_EQ(rows[dir / "b10240.jpg"][2], "10 KB");
    EXPECT_EQ(rows[dir / "b11263.jpg"][2], "10 KB");
    EXPECT_EQ(rows[dir / "b0.jpg"],
              (std::vector<std::string>{"b0.jpg", dir.path(), "0 B", "25-04-2003 11:09 PM", "No"}));
    // A folder hit: no name, its own path as folder, nothing readable.
    EXPECT_EQ(rows[dir / "folder.jpg/"], (std::vector<std::string>{"", dir / "folder.jpg/", "0 B", "", "No"}));
}

TEST_F(SearchWindow, SoundColumnAndFilter)
{
    WriteFile(dir / "IM000101.JPG", ReadFile(DataPath("IM000101.JPG")));
    WriteFile(dir / "IM000102.JPG", ReadFile(DataPath("IM000102.JPG")));

    shown.Search(dir.path()); // no sound check: column 4 stays empty
    ASSERT_EQ(shown.Rows(), 2);
    EXPECT_EQ(shown.Row(0)[4], "");

    shown.Click(IDC_CHECKSOUND);
    shown.Search(dir.path());
    std::map<std::string, std::string> sound;
    for (int i = 0; i < shown.Rows(); ++i)
        sound[shown.Row(i)[0]] = shown.Row(i)[4];
    EXPECT_EQ(sound, (std::map<std::string, std::string>{{"IM000101.JPG", "Yes"}, {"IM000102.JPG", "No"}}));

    shown.Click(IDC_ONLYWITHSOUND);
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), 1);
    EXPECT_EQ(shown.Row(0)[0], "IM000101.JPG");
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found");
}

TEST_F(SearchWindow, SamplesFolderWithCheckForSound)
{
    shown.Click(IDC_CHECKSOUND);
    shown.Search(DataPath(""));
    std::map<std::string, std::string> sound;
    for (int i = 0; i < shown.Rows(); ++i)
        sound[shown.Row(i)[0]] = shown.Row(i)[4];
    EXPECT_EQ(sound["IM000101.JPG"], "Yes");
    EXPECT_EQ(sound["IM000102.JPG"], "No");
}

TEST_F(SearchWindow, CancelFromInsideThePumpStopsAndKeepsTheRows)
{
    for (int i = 0; i < 50; ++i)
        File("f" + std::to_string(i) + ".jpg");
    std::string captionDuringSearch;
    bool searchingWhenClicked = false;
    // Press the button as soon as a few rows are listed.
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (shown.Rows() < 3)
            return;
        presser.stop();
        captionDuringSearch = shown.Text(1);
        searchingWhenClicked = dlg.m_bSearching;
        shown.Click(1); // "Cancel"; a second search never starts from here
    });
    presser.start(0);
    shown.Search(dir.path());
    EXPECT_TRUE(searchingWhenClicked);
    EXPECT_EQ(captionDuringSearch, "Cancel");
    EXPECT_EQ(shown.Text(1), "Search");
    EXPECT_FALSE(dlg.m_bSearching);
    EXPECT_GE(shown.Rows(), 3);
    EXPECT_LT(shown.Rows(), 50);
    EXPECT_EQ(shown.Text(IDC_STATUS), std::to_string(dlg.m_finder.GetFileCount()) + " items found");
    EXPECT_EQ(shown.Rows(), dlg.m_finder.GetFileCount());
}

TEST_F(SearchWindow, CommandsRunInsideTheSearchButClosingIsRefused)
{
    for (int i = 0; i < 5; ++i)
        File("f" + std::to_string(i) + ".jpg");
    bool visibleAfterClose = false;
    bool keysIgnored = false;
    services.folderAnswer = "/picked";
    Soon([&] {
        dlg.close();
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Escape);
        visibleAfterClose = dlg.isVisible();
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return); // no second search, no stop
        keysIgnored = dlg.m_bSearching;
        shown.Click(IDC_BROWSE);
        shown.Click(IDC_EXTRACT); // nothing selected: its box shows from inside the search
    });
    shown.Search(dir.path());
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(keysIgnored);
    EXPECT_EQ(shown.Rows(), 5);
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/picked");
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error No items were selected!"}));
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SearchWindow, EachPressEmptiesTheLog)
{
    dlg.AppendLogRow("old row");
    shown.Search(dir.path());
    EXPECT_TRUE(shown.LogRows().empty());
}

TEST_F(SearchWindow, DoubleClickOpensTheRowWithTheSelectionMark)
{
    File("a.jpg");
    File("b.jpg");
    // A name that is not valid UTF-8 still names its file.
    const std::string odd = "odd\xFF\xFE.jpg";
    File(odd);
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), 3);

    auto* view = dlg.m_listResults.View();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 3));
    EXPECT_TRUE(services.opened.empty()); // no mark yet, nothing opens

    for (int row = 0; row < 3; ++row) {
        dlg.m_listResults.SetSelectionMark(row);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 3));
        ASSERT_EQ(services.opened.size(), static_cast<size_t>(row + 1));
        EXPECT_EQ(services.opened.back(), dlg.GetRowPath(row));
        EXPECT_TRUE(Exists(services.opened.back()));
    }
    EXPECT_EQ(std::count(services.opened.begin(), services.opened.end(), dir / odd), 1);
}

} // namespace
