// The Search button from the window: the form read once, list modes, row texts, status line and the live,
// cancellable search.

#include <map>

#include "guikit.h"
#include "res/icons.h"

namespace {

class SearchWindow : public WindowTest {
protected:
    void File(const std::string& name, size_t size = 1) { WriteFile(dir / name, Bytes(size, 0x55)); }
};

// The list modes: Replace starts afresh, Add keeps listed hits single, Remove takes away only the rows of hits;
// the status line counts hits. On Linux Pic.jpg and pic.jpg are two files, and each mode tells them apart.
TEST_F(SearchWindow, ListModesTellNamesApartByCase)
{
    const struct {
        std::vector<std::string> create, remove;
        int mode;
        std::vector<std::string> rows;
        const char* status;
    } steps[] = {
        {{"Pic.jpg"}, {}, 0, {dir / "Pic.jpg"}, "1 items found"},
        {{"pic.jpg"}, {}, 1, {dir / "Pic.jpg", dir / "pic.jpg"}, "2 items found"},
        {{"PIC.JPG"}, {"Pic.jpg"}, 1, {dir / "PIC.JPG", dir / "Pic.jpg", dir / "pic.jpg"}, "2 items found"},
        {{}, {"pic.jpg"}, 2, {dir / "Pic.jpg", dir / "pic.jpg"}, "1 items found"},
        {{}, {}, 0, {dir / "PIC.JPG"}, "1 items found"},
    };
    for (const auto& step : steps) {
        for (const std::string& name : step.create)
            File(name);
        for (const std::string& name : step.remove)
            ::remove((dir / name).c_str());
        shown.Search(dir.path(), step.mode);
        EXPECT_EQ(shown.SortedRowPaths(), step.rows) << step.mode;
        EXPECT_EQ(shown.Text(IDC_STATUS), step.status) << step.mode;
    }
}

// "Look in" as a shell user types it or the folder picker gives it; a folder that is not there is said so.
TEST_F(SearchWindow, LookInIsExpandedAndChecked)
{
    File("a.jpg");
    const std::string saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", dir.path().c_str(), 1);
    shown.Search("~");
    EXPECT_EQ(shown.Text(IDC_LOOKIN), dir.path());
    EXPECT_EQ(shown.Rows(), 1);
    ::setenv("HOME", saved.c_str(), 1);
    // The folder picker opens there; cancelled, it keeps "Look in".
    shown.Click(IDC_BROWSE);
    EXPECT_EQ(services.folderStart, dir.path());
    EXPECT_EQ(shown.Text(IDC_LOOKIN), dir.path());

    // A folder whose name is not UTF-8 is searched by its very bytes.
    const std::string odd = dir / "pics\xff\x9b";
    MakeDir(odd);
    WriteFile(odd + "/b.jpg", Bytes(10));
    dlg.SetLookIn(odd);
    shown.Click(IDOK);
    EXPECT_EQ(shown.RowPath(0), odd + "/b.jpg");
    shown.Search(dir.path());

    for (const std::string& missing : {dir / "gone", dir / "a.jpg"}) {
        services.boxes.clear();
        shown.Search(missing);
        EXPECT_EQ(services.boxes, (std::vector<std::string>{"The folder to look in does not exist:\n" + missing}));
        EXPECT_EQ(shown.Rows(), 1);
    }
}

// Sizes in kilobytes of 1024 bytes, bounds inclusive. A field that holds no integer gives one message, keeps
// the focus and searches nothing (an Add would list more); a range that leaves nothing says so.
TEST_F(SearchWindow, SizeFields)
{
    for (const auto& [name, size] :
         {std::pair{"under.jpg", 10239}, {"low.jpg", 10240}, {"high.jpg", 20480}, {"over.jpg", 20481}})
        File(name, size);
    shown.Click(IDC_SIZERANGE);
    const struct {
        const char* min;
        const char* max;
        int mode;
        std::vector<std::string> rows;
        bool refused;
        const char* status;
    } cases[] = {
        {"10", "20", 0, {dir / "high.jpg", dir / "low.jpg"}, false, "2 items found"},
        {"10", "", 1, {dir / "high.jpg", dir / "low.jpg"}, true, "2 items found"},
        {"10", "99999999999", 1, {dir / "high.jpg", dir / "low.jpg"}, true, "2 items found"},
        {" 0 ", " 20 ", 0, {dir / "high.jpg", dir / "low.jpg", dir / "under.jpg"}, false, "3 items found"},
        {"30", "40", 0, {}, false, "0 items found, 4 files outside the size range"},
    };
    for (const auto& c : cases) {
        services.boxes.clear();
        shown.SetText(IDC_SIZEMIN, c.min);
        shown.SetText(IDC_SIZEMAX, c.max);
        shown.Search(dir.path(), c.mode);
        EXPECT_EQ(shown.SortedRowPaths(), c.rows) << c.max;
        EXPECT_EQ(shown.Text(IDC_STATUS), c.status) << c.max;
        EXPECT_EQ(services.boxes, c.refused ? std::vector<std::string>{"Please enter an integer."}
                                            : std::vector<std::string>{}) << c.max;
        EXPECT_EQ(shown.Edit(IDC_SIZEMAX)->hasFocus(), c.refused) << c.max;
    }
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
    std::vector<std::string> sources = shown.LogRows();
    std::erase_if(sources, [&](const std::string& row) { return row.rfind(dir.path(), 0) != 0; });
    EXPECT_EQ(sources, expected);
}

// The rows' texts; the speaker and the tooltip say which files hold a memo, what it is and where, for every
// source the mask's patterns take.
TEST_F(SearchWindow, RowTexts)
{
    for (const size_t size : {0, 10239, 10240, 11263})
        File("b" + std::to_string(size) + ".jpg", size);
    MakeDir(dir / "folder.jpg");
    Camera("IM000101.JPG");
    const std::string olympus = DataPath("real/olympus-c3000/");
    WriteFile(dir / "P1010006.JPG", ReadFile(olympus + "P1010006.JPG"));
    WriteFile(dir / "P1010006.WAV", ReadFile(olympus + "P1010006.WAV"));
    Camera("P0004795.FPX", "real/kodak-dc260/P0004795.FPX");
    SetModified(dir / "b0.jpg", 1051312140); // 2003-04-25 23:09 UTC
    shown.SetText(IDC_FILEMASK, "*.jpg; *.FPX");
    shown.Search(dir.path()); // without the sound check: column 4 stays empty
    EXPECT_EQ(shown.Row(0)[4], "");
    // "Only list files with sound" ticks "Check for sound" and stays alone when it goes; "Check for sound"
    // takes it along when that goes.
    shown.Click(IDC_ONLYWITHSOUND);
    EXPECT_TRUE(shown.Button(IDC_CHECKSOUND)->isChecked());
    shown.Search(dir.path());
    EXPECT_EQ(shown.SortedRowPaths(),
              (std::vector<std::string>{dir / "IM000101.JPG", dir / "P0004795.FPX", dir / "P1010006.JPG"}));
    EXPECT_EQ(shown.Text(IDC_STATUS), "8 items found, 3 with sound");
    shown.Click(IDC_ONLYWITHSOUND);
    EXPECT_TRUE(shown.Button(IDC_CHECKSOUND)->isChecked());
    shown.Search(dir.path());

    std::map<std::string, std::vector<std::string>> rows;
    for (int i = 0; i < shown.Rows(); ++i)
        rows[shown.RowPath(i)] = shown.Row(i);
    for (const auto& [size, text] : {std::pair{10239, "10239 B"}, {10240, "10 KB"}, {11263, "10 KB"}})
        EXPECT_EQ(rows[dir / ("b" + std::to_string(size) + ".jpg")][2], text) << size;
    EXPECT_EQ(rows[dir / "b0.jpg"], (std::vector<std::string>{"b0.jpg", dir.path(), "0 B", "25-04-2003 11:09 PM", "No"}));
    const std::map<std::string, std::string> memos = {
        {"IM000101.JPG", "Voice memo, 6 seconds\nHP PhotoSmart 618\ninside the picture\nIMA ADPCM, 8,000 Hz, mono"},
        {"P1010006.JPG", "Voice memo, 4 seconds\nOLYMPUS OPTICAL CO.,LTD SX353\nbeside it: P1010006.WAV\nPCM, 8,000 Hz, mono"},
        {"P0004795.FPX", "Voice memo, 5 seconds\nin the FlashPix file\nIMA ADPCM, 11,025 Hz, mono"}};
    CListView* view = shown.List(IDC_RESULTS);
    for (int i = 0; i < shown.Rows(); ++i) {
        const std::string name = shown.Row(i)[0];
        const bool yes = memos.contains(name);
        EXPECT_EQ(shown.Row(i)[4], yes ? "Yes" : "No") << name;
        const QIcon icon = view->model()->index(i, 0).data(Qt::DecorationRole).value<QIcon>();
        EXPECT_EQ(icon.pixmap(16).toImage() == res::LoadIconResource(IDI_SPEAKER).pixmap(16).toImage(), yes) << name;
        // Read in the background: the cell's text until then.
        const auto tip = [&] { return view->model()->index(i, 4).data(Qt::ToolTipRole).toString().toStdString(); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return tip() != "Yes"; }));
        EXPECT_EQ(tip(), yes ? memos.at(name) : std::string("No"));
        // The WAV beside it rewritten in place, taken away, put back: the tooltip tells the memo there is now.
        if (name == "P1010006.JPG") {
            WriteFile(dir / "P1010006.WAV", fpxrgen::MakeWav({.nFormatTag = 1, .nBitsPerSample = 8, .nBlockAlign = 1,
                                                              .data = Bytes(16000, 0x80)}));
            EXPECT_TRUE(QTest::qWaitFor([&] { return tip().rfind("Voice memo, 2 seconds", 0) == 0; }));
            std::filesystem::remove(dir / "P1010006.WAV");
            EXPECT_TRUE(QTest::qWaitFor([&] { return tip() == "No"; }));
            WriteFile(dir / "P1010006.WAV", ReadFile(olympus + "P1010006.WAV"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return tip() == memos.at(name); }));
        }
    }
    // A folder hit: no name, its own path as folder, nothing readable.
    EXPECT_EQ(rows[dir / "folder.jpg/"], (std::vector<std::string>{"", dir / "folder.jpg/", "0 B", "", "No"}));

    shown.Click(IDC_ONLYWITHSOUND);
    shown.Click(IDC_CHECKSOUND);
    EXPECT_FALSE(shown.Button(IDC_ONLYWITHSOUND)->isChecked());
}

// "Missing" for a memo the camera named that is gone, "?" for a picture that cannot be read, each with its
// reason as tooltip and read out; sorted Yes, Missing, No, ?; "Only list files with sound" lists neither.
TEST_F(SearchWindow, MissingAndUnknownSound)
{
    Camera("1.jpg");
    WriteFile(dir / "2.jpg", PictureNamingSound("PICT0057.WAV"));
    File("3.jpg");
    // A picture whose every read fails, for root as for anyone: the process's own memory, read at address 0.
    std::filesystem::create_symlink("/proc/self/mem", dir / "4.jpg");
    const std::string words[] = {"Yes", "Missing", "No", "?"};
    const std::string tips[] = {"", "The camera recorded PICT0057.WAV; it is not beside the picture", "No",
                                "Input/output error"};
    shown.Click(IDC_CHECKSOUND);
    shown.Search(dir.path());
    CListView* view = shown.List(IDC_RESULTS);
    view->sortByColumn(4, Qt::AscendingOrder);
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(view)->tableInterface();
    for (int v = 0; v < 4; ++v) {
        const QModelIndex sound = view->model()->index(v, 4);
        EXPECT_EQ(view->model()->index(v, 0).data().toString().toStdString(), std::to_string(v + 1) + ".jpg");
        EXPECT_EQ(table->cellAt(v, 4)->text(QAccessible::Name).toStdString(), words[v]);
        EXPECT_EQ(sound.data().toString().toStdString(), words[v]);
        EXPECT_TRUE(v == 0 || sound.data(Qt::ToolTipRole).toString().toStdString() == tips[v]) << v;
    }
    // Removing a row takes its tooltip only; a new search forgets them all.
    const auto tip = [&](const std::string& name) {
        for (int v = 0; v < shown.Rows(); ++v)
            if (view->model()->index(v, 0).data().toString().toStdString() == name)
                return view->model()->index(v, 4).data(Qt::ToolTipRole).toString().toStdString();
        return std::string("not listed");
    };
    shown.SetText(IDC_FILEMASK, "1.jpg");
    shown.Search(dir.path(), 2);
    EXPECT_EQ(tip("2.jpg"), tips[1]);
    WriteText(dir / "2.jpg", "names no memo now");
    shown.SetText(IDC_FILEMASK, "*.jpg");
    shown.Search(dir.path());
    EXPECT_EQ(tip("2.jpg"), "No");
    shown.Click(IDC_ONLYWITHSOUND);
    shown.Search(dir.path());
    EXPECT_EQ(shown.Text(IDC_STATUS), "4 items found, 1 with sound");
}

// What the user may do while a search runs, one after the other on the same window, each from inside a live
// search.
TEST_F(BigTree, ActionsDuringALiveSearch)
{
    // Cancel stops the search and keeps the rows it listed.
    std::string caption;
    DuringSearch(3, [&] { caption = shown.Text(IDOK); shown.Click(IDOK); });
    shown.Search(tree->path());
    EXPECT_EQ(caption, "Cancel");
    EXPECT_EQ(shown.Text(IDOK), "Search");
    EXPECT_GE(shown.Rows(), 3);
    EXPECT_LT(shown.Rows(), kMany);
    EXPECT_EQ(shown.Text(IDC_STATUS), "Search cancelled, " + std::to_string(shown.Rows()) + " items found");

    // Options changed meanwhile wait for the next search, which removes all.
    DuringSearch(3, [&] { shown.Click(IDC_CHECKSOUND); shown.Click(IDC_REMOVE); });
    shown.Search(tree->path());
    ASSERT_EQ(shown.Rows(), kMany);
    EXPECT_EQ(shown.Text(IDC_STATUS).find("cancelled"), std::string::npos); // this one ran to its end
    for (int row = 0; row < kMany; ++row)
        ASSERT_EQ(shown.Row(row)[4], "") << row;
    shown.Click(IDOK);
    EXPECT_EQ(shown.Rows(), 0);

    // Commands run inside the search; Enter starts no second search and stops nothing; closing waits for the
    // search, which it cancels.
    shown.Click(IDC_CHECKSOUND);
    shown.Search(tree->path());
    shown.Select({0});
    shown.Click(IDC_EXTRACT);
    ASSERT_FALSE(shown.LogRows().empty());
    bool stillSearching = false, visibleAfterClose = false;
    services.folderAnswer = "/picked";
    DuringSearch(3, [&] {
        QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return);
        stillSearching = shown.Text(IDOK) == "Cancel";
        shown.Click(IDC_BROWSE);
        dlg.close();
        visibleAfterClose = dlg.isVisible();
    });
    shown.Search(tree->path());
    EXPECT_TRUE(shown.LogRows().empty()); // each press empties the log
    EXPECT_TRUE(stillSearching);
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/picked");
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_LT(shown.Rows(), kMany);
    EXPECT_FALSE(dlg.isVisible());
}

// Clicking a heading sorts by that column, Size by number and Modified by time, and rows that a search brings
// later take their places.
TEST_F(BigTree, SortingHoldsWhileASearchAddsRows)
{
    CListView* view = shown.List(IDC_RESULTS);
    const auto viewColumn = [&](int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            texts.push_back(view->model()->index(row, column).data().toString().toStdString());
        return texts;
    };
    const auto heading = [&](int column) {
        const QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    DuringSearch(3, [&] { heading(2); });
    shown.Search(tree->path());
    ASSERT_EQ(view->model()->rowCount(), kMany);
    std::vector<std::string> sizes = viewColumn(2);
    EXPECT_EQ(std::vector<std::string>(sizes.end() - 4, sizes.end()),
              (std::vector<std::string>{"9 B", "10100 B", "10 KB", "20 KB"}));
    heading(3); // 11:00 AM to 02:00 PM on one day, the filler files later
    const std::vector<std::string> times = viewColumn(3);
    EXPECT_EQ(std::vector<std::string>(times.begin(), times.begin() + 4),
              (std::vector<std::string>{"25-04-2003 11:00 AM", "25-04-2003 12:00 PM", "25-04-2003 01:00 PM",
                                        "25-04-2003 02:00 PM"}));
    heading(3);
    EXPECT_EQ(viewColumn(3).back(), "25-04-2003 11:00 AM");
    // The program's rows keep their order; the selection follows the view.
    view->selectRow(view->model()->rowCount() - 1);
    shown.Click(IDC_EXTRACT);
    EXPECT_EQ(shown.LogRows().front(), *tree / "big.jpg");
}

// "Containing text" reads every file: Cancel ends a search at once, also inside a file far too large to read.
TEST_F(SearchWindow, CancelStopsContainingTextInsideAFile)
{
    shown.SetText(IDC_CONTAINING, "voice");
    // 64 GB of holes: reading it through would take minutes.
    File("huge.jpg", 0);
    ASSERT_EQ(::truncate((dir / "huge.jpg").c_str(), int64_t{64} << 30), 0);
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (shown.Text(IDOK) == "Cancel")
            shown.Click(IDOK);
    });
    cancel.start(100);
    QElapsedTimer clock;
    clock.start();
    shown.Search(dir.path());
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(shown.Text(IDC_STATUS), "Search cancelled, 0 items found");
}

// A double-click opens the row under the pointer and Enter the current row; empty space and the right button
// open nothing.
TEST_F(SearchWindow, DoubleClickAndEnterOpenTheRowMeant)
{
    File("a.jpg");
    // A name that is not valid UTF-8 still names its file.
    File("odd\xFF\xFE.jpg");
    shown.Search(dir.path());
    CListView* view = shown.List(IDC_RESULTS);
    const QPoint below(5, view->viewport()->height() - 3);
    view->selectRow(0);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(view->viewport(), Qt::RightButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_TRUE(services.opened.empty());

    for (int row = 0; row < 2; ++row) {
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
        ASSERT_EQ(services.opened.size(), static_cast<size_t>(row + 1));
        EXPECT_EQ(services.opened.back(), shown.RowPath(row));
        EXPECT_TRUE(Exists(services.opened.back()));
    }
    view->setFocus();
    view->selectRow(0);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(services.opened.back(), shown.RowPath(0));
    EXPECT_EQ(shown.Text(IDC_STATUS), "2 items found"); // no new search
}

} // namespace
