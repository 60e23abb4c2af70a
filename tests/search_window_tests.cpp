// The Search button from the window: the form read once, list modes, row
// texts, status line and the live, cancellable search.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTimer>
#include <cstdio>
#include <map>

#include "guikit.h"

namespace {

class SearchWindow : public WindowTest {
protected:
    // Enough files for a search to take several of the window's event passes.
    static constexpr int kMany = 3000;
    TempDir dir;
    void File(const std::string& name, size_t size = 1) { WriteFile(dir / name, Bytes(size, 0x55)); }
    void Files(int count)
    {
        for (int i = 0; i < count; ++i)
            File("f" + std::to_string(i) + ".jpg");
    }
    // Runs action from inside the search, as soon as `rows` rows are listed.
    void DuringSearch(int rows, std::function<void()> action)
    {
        auto* poll = new QTimer(&dlg);
        QObject::connect(poll, &QTimer::timeout, [this, poll, rows, action] {
            if (shown.Text(IDOK) != "Cancel" || shown.Rows() < rows)
                return;
            poll->deleteLater();
            poll->stop();
            action();
        });
        poll->start(0);
    }
};

TEST_F(SearchWindow, ListModesReplaceAddAndRemove)
{
    File("a.jpg");
    File("b.jpg");
    shown.Search(dir.path(), 0);
    EXPECT_EQ(shown.SortedRowPaths(), (std::vector<std::string>{dir / "a.jpg", dir / "b.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found");

    // Add: listed hits stay single, also under another case; the count is of hits.
    ASSERT_EQ(::rename((dir / "a.jpg").c_str(), (dir / "A.JPG").c_str()), 0);
    File("c.jpg");
    shown.Search(dir.path(), 1);
    EXPECT_EQ(shown.SortedRowPaths(), (std::vector<std::string>{dir / "a.jpg", dir / "b.jpg", dir / "c.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "3 items found");

    // Remove: only the rows of hits go; a hit without a row changes nothing.
    TempDir other;
    WriteText(other / "z.jpg", "z");
    shown.Search(other.path(), 1);
    ASSERT_EQ(shown.Rows(), 4);
    WriteText(other / "y.jpg", "y");
    shown.Search(other.path(), 2);
    EXPECT_EQ(shown.Rows(), 3);
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found");

    // Replace starts afresh; one hit reads "1 items found".
    ::remove((other / "y.jpg").c_str());
    shown.Search(other.path(), 0);
    EXPECT_EQ(shown.SortedRowPaths(), (std::vector<std::string>{other / "z.jpg"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "1 items found");
}

TEST_F(SearchWindow, InvalidSizeFieldGivesOneMessageAndNoSearch)
{
    File("a.jpg");
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), 1);
    TempDir other;
    Files(3);
    shown.Click(IDC_SIZERANGE);
    for (const char* text : {"", "99999999999"}) {
        services.boxes.clear();
        shown.SetText(IDC_SIZEMAX, text);
        shown.Search(other.path(), 1);
        EXPECT_EQ(services.boxes, (std::vector<std::string>{"Please enter an integer."})) << text;
        EXPECT_TRUE(shown.Edit(IDC_SIZEMAX)->hasFocus());
        EXPECT_EQ(shown.Rows(), 1);
        EXPECT_EQ(shown.Text(IDC_STATUS), "1 items found");
    }
    shown.SetText(IDC_SIZEMAX, " 1 ");
    shown.Search(dir.path(), 0);
    EXPECT_EQ(shown.Rows(), 4);
}

TEST_F(SearchWindow, OptionsChangedDuringASearchWaitForTheNext)
{
    Files(kMany);
    DuringSearch(3, [&] {
        shown.Click(IDC_CHECKSOUND);
        shown.Click(IDC_REMOVE);
    });
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), kMany);
    for (int row = 0; row < kMany; ++row)
        ASSERT_EQ(shown.Row(row)[4], "") << row;
    // The next search reads them: every row removed.
    shown.Click(IDOK);
    EXPECT_EQ(shown.Rows(), 0);
}

TEST_F(SearchWindow, SelectionSurvivesABatchedRemoval)
{
    for (int i = 0; i < 20; ++i) {
        File("keep" + std::to_string(i) + ".jpg");
        File("drop" + std::to_string(i) + ".jpg");
    }
    shown.Search(dir.path());
    std::vector<int> selected;
    std::vector<std::string> expected;
    for (int row = 0; row < shown.Rows(); row += 3) {
        selected.push_back(row);
        if (shown.Row(row)[0].rfind("keep", 0) == 0)
            expected.push_back(shown.RowPath(row));
    }
    shown.Select(selected);
    shown.SetText(IDC_FILEMASK, "drop*");
    shown.Search(dir.path(), 2);
    ASSERT_EQ(shown.Rows(), 20);
    // What the program takes as selected: the kept rows of the selection.
    shown.Click(IDC_EXTRACT);
    std::vector<std::string> sources;
    for (const std::string& row : shown.LogRows()) {
        if (row.rfind(dir.path(), 0) == 0)
            sources.push_back(row);
    }
    EXPECT_EQ(sources, expected);
}

TEST_F(SearchWindow, RowTexts)
{
    File("b10239.jpg", 10239);
    File("b10240.jpg", 10240);
    File("b11263.jpg", 11263);
    File("b0.jpg", 0);
    MakeDir(dir / "folder.jpg");
    WriteFile(dir / "IM000101.JPG", ReadFile(DataPath("IM000101.JPG")));
    // 2003-04-25 23:09 UTC
    const struct timespec times[2] = {{1051312140, 0}, {1051312140, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "b0.jpg").c_str(), times, 0), 0);
    shown.Search(dir.path()); // without the sound check: column 4 stays empty
    EXPECT_EQ(shown.Row(0)[4], "");
    shown.Click(IDC_CHECKSOUND);
    shown.Search(dir.path());

    std::map<std::string, std::vector<std::string>> rows;
    for (int i = 0; i < shown.Rows(); ++i)
        rows[shown.RowPath(i)] = shown.Row(i);
    EXPECT_EQ(rows[dir / "b10239.jpg"][2], "10239 B");
    EXPECT_EQ(rows[dir / "b10240.jpg"][2], "10 KB");
    EXPECT_EQ(rows[dir / "b11263.jpg"][2], "10 KB");
    EXPECT_EQ(rows[dir / "b0.jpg"], (std::vector<std::string>{"b0.jpg", dir.path(), "0 B", "25-04-2003 11:09 PM", "No"}));
    EXPECT_EQ(rows[dir / "IM000101.JPG"][4], "Yes");
    // A folder hit: no name, its own path as folder, nothing readable.
    EXPECT_EQ(rows[dir / "folder.jpg/"], (std::vector<std::string>{"", dir / "folder.jpg/", "0 B", "", "No"}));

    shown.Click(IDC_ONLYWITHSOUND);
    shown.Search(dir.path());
    EXPECT_EQ(shown.SortedRowPaths(), (std::vector<std::string>{dir / "IM000101.JPG"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "6 items found");
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
    EXPECT_EQ(shown.SortedRowPaths(), (std::vector<std::string>{dir / "high.jpg", dir / "low.jpg"}));
}

TEST_F(SearchWindow, CancelFromInsideThePumpStopsAndKeepsTheRows)
{
    Files(kMany);
    std::string caption;
    DuringSearch(3, [&] {
        caption = shown.Text(IDOK);
        shown.Click(IDOK);
    });
    shown.Search(dir.path());
    EXPECT_EQ(caption, "Cancel");
    EXPECT_EQ(shown.Text(IDOK), "Search");
    EXPECT_GE(shown.Rows(), 3);
    EXPECT_LT(shown.Rows(), kMany);
    EXPECT_EQ(shown.Text(IDC_STATUS), std::to_string(shown.Rows()) + " items found");
}

TEST_F(SearchWindow, CommandsRunInsideTheSearchButClosingIsRefused)
{
    Files(kMany);
    shown.Search(dir.path());
    shown.Select({0});
    shown.Click(IDC_EXTRACT);
    ASSERT_FALSE(shown.LogRows().empty());

    bool visibleAfterClose = false;
    bool stillSearching = false;
    services.folderAnswer = "/picked";
    DuringSearch(1, [&] {
        dlg.close();
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Escape);
        visibleAfterClose = dlg.isVisible();
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return); // no second search, no stop
        stillSearching = shown.Text(IDOK) == "Cancel";
        shown.Click(IDC_BROWSE);
    });
    shown.Search(dir.path());
    EXPECT_TRUE(shown.LogRows().empty()); // each press empties the log
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(stillSearching);
    EXPECT_EQ(shown.Rows(), kMany);
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/picked");
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SearchWindow, DoubleClickOpensTheRowWithTheSelectionMark)
{
    File("a.jpg");
    // A name that is not valid UTF-8 still names its file.
    File("odd\xFF\xFE.jpg");
    shown.Search(dir.path());
    CListView* view = shown.List(IDC_RESULTS);
    const QPoint below(5, view->viewport()->height() - 3);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(services.opened.empty()); // no mark yet, nothing opens

    for (int row = 0; row < 2; ++row) {
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0), QItemSelectionModel::NoUpdate);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);
        ASSERT_EQ(services.opened.size(), static_cast<size_t>(row + 1));
        EXPECT_EQ(services.opened.back(), shown.RowPath(row));
        EXPECT_TRUE(Exists(services.opened.back()));
    }
}

} // namespace
