// The grid of thumbnails in the window: the switch, and the same rows, selection and handlers as the list.
#include <QMimeData>
#include <QToolTip>

#include "guikit.h"
#include "platform/qt/text.h"
#include "ui/thumbgrid.h"

namespace {

QString AccessibleName(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

// The switch's buttons by their accessible names; the keys switch; the choice is remembered and shown at the
// next start.
TEST(ThumbGridSwitch, NamesKeysAndRemembered)
{
    RecordedServices services;
    CWindowMemory memory;
    {
        ShownDialog shown;
        std::map<QString, QToolButton*> buttons;
        for (QToolButton* button : shown.dlg.findChildren<QToolButton*>())
            buttons[AccessibleName(button)] = button;
        ASSERT_TRUE(buttons.count("List") && buttons.count("Thumbnails"));
        auto* grid = shown.dlg.findChild<CThumbGrid*>();
        EXPECT_EQ(AccessibleName(grid), "Thumbnails");
        CListView* list = shown.List(IDC_RESULTS);
        EXPECT_TRUE(list->isVisible() && !grid->isVisible() && buttons["List"]->isChecked());

        list->setFocus();
        QTest::keyClick(&shown.dlg, Qt::Key_2, Qt::ControlModifier);
        EXPECT_TRUE(grid->isVisible() && !list->isVisible() && buttons["Thumbnails"]->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), grid);
        QTest::keyClick(&shown.dlg, Qt::Key_1, Qt::ControlModifier);
        EXPECT_TRUE(list->isVisible() && !grid->isVisible());
        shown.Edit(IDC_FILEMASK)->setFocus();
        QTest::keyClick(&shown.dlg, Qt::Key_2, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), shown.Edit(IDC_FILEMASK)); // the keyboard stays where the user typed
        QTest::mouseClick(buttons["Thumbnails"], Qt::LeftButton);
        EXPECT_TRUE((memory = shown.dlg.GetWindowMemory()).bThumbnails);
    }
    CMainDlg dlg;
    dlg.RestoreWindow(memory);
    dlg.Create();
    dlg.show();
    EXPECT_TRUE(dlg.findChild<CThumbGrid*>()->isVisible());
}

// The grid has the list's rows, order, selection and (after a search) the keyboard; Ctrl+C, Enter, a
// double-click, the row menu and Space reach the list's handlers, rows drag out as files; a memo's badge has
// the Sound tooltip.
TEST_F(WindowTest, ThumbGridSharesRowsSelectionAndHandlers)
{
    const std::string memo = Camera("b.jpg");
    QImage plain(320, 240, QImage::Format_RGB32);
    plain.fill(Qt::darkGreen);
    for (const char* name : {"a.jpg", "c.jpg"})
        ASSERT_TRUE(QImageWriter(QString::fromStdString(dir / name), "jpeg").write(plain));
    shown.Button(IDC_CHECKSOUND)->setChecked(true);
    QTest::keyClick(&dlg, Qt::Key_2, Qt::ControlModifier);
    shown.Search(dir.path());
    ASSERT_EQ(shown.Rows(), 3);
    auto* grid = dlg.findChild<CThumbGrid*>();
    EXPECT_EQ(QApplication::focusWidget(), grid); // the search hands the keyboard to the rows shown
    CListView* list = shown.List(IDC_RESULTS);
    list->sortByColumn(0, Qt::DescendingOrder);
    QApplication::processEvents();

    const auto tile = [&](int shownRow) { return grid->visualRect(grid->model()->index(shownRow, 0)).center(); };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, tile(0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, tile(2));
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), dir / "c.jpg\n" + dir / "a.jpg");
    const std::unique_ptr<QMimeData> dragged(grid->model()->mimeData(grid->selectionModel()->selectedIndexes()));
    EXPECT_EQ(dragged->urls().size(), 2);

    QTest::keyClick(grid, Qt::Key_Return);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, tile(1));
    ChooseSoon("&Open");
    QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(services.opened, (std::vector<std::string>{dir / "a.jpg", memo, memo}));

    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->VisibleDone(); }, 10000));
    const QImage tiles = grid->viewport()->grab().toImage();
    const QColor green = tiles.pixelColor(tile(0));
    EXPECT_TRUE(std::abs(green.green() - 128) < 8 && green.red() < 8) << green.name().toStdString();
    EXPECT_EQ(tiles.pixelColor(tile(2)), green); // the last tile too
    QHelpEvent hover(QEvent::ToolTip, tile(1), grid->viewport()->mapToGlobal(tile(1)));
    QApplication::sendEvent(grid->viewport(), &hover);
    const QString described = ToDisplay(DescribeMemo(memo));
    ASSERT_FALSE(described.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == described; }, 5000)) << QToolTip::text().toStdString();
    QTest::keyClick(grid, Qt::Key_Space); // the memo's tile is the current one
    EXPECT_TRUE(QTest::qWaitFor([&] { return !services.playedData.empty(); }));
    // Pictures made anew at the same paths are shown anew after the next search.
    plain.fill(Qt::darkRed);
    for (const char* name : {"a.jpg", "c.jpg"}) {
        ASSERT_TRUE(QImageWriter(QString::fromStdString(dir / name), "jpeg").write(plain));
        SetModified(dir / name, 1051268400);
    }
    shown.Search(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->VisibleDone(); }, 10000));
    EXPECT_GT(grid->viewport()->grab().toImage().pixelColor(tile(0)).red(), 100);
}

// A memo that is missing and a picture that cannot be read have marks of their own where a tile without a memo
// has none, and over them the tooltip of the Sound column.
TEST_F(WindowTest, ThumbGridMarksMissingAndUnknownSound)
{
    WriteFile(dir / "1.jpg", Bytes(1, 0x55));
    WriteFile(dir / "2.jpg", PictureNamingSound("PICT0057.WAV"));
    std::filesystem::create_symlink("/proc/self/mem", dir / "3.jpg"); // every read fails, also for root
    WriteFile(dir / "4.jpg", PictureNamingSound("PICT0058.WAV")); // the same picture, its memo there
    CopySample(dir / "PICT0058.WAV", "real/olympus-c3000/P1010006.WAV");
    const std::string tips[] = {"1.jpg", "The camera recorded PICT0057.WAV; it is not beside the picture",
                                "Input/output error"};
    shown.Button(IDC_CHECKSOUND)->setChecked(true);
    QTest::keyClick(&dlg, Qt::Key_2, Qt::ControlModifier);
    shown.Search(dir.path());
    auto* grid = dlg.findChild<CThumbGrid*>();
    grid->selectionModel()->clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->VisibleDone(); }, 10000));
    const QImage tiles = grid->viewport()->grab().toImage();
    const auto mark = [&](const QImage& tiles, int v) { // a tile above its name
        const QRect tile = grid->visualRect(grid->model()->index(v, 0));
        return tiles.copy(tile.adjusted(0, 0, 0, -2 * grid->fontMetrics().height()));
    };
    std::vector<QImage> marks;
    for (int v = 0; v < 4; ++v) {
        marks.push_back(mark(tiles, v));
        const QPoint centre = grid->visualRect(grid->model()->index(v, 0)).center();
        QHelpEvent hover(QEvent::ToolTip, centre, grid->viewport()->mapToGlobal(centre));
        QApplication::sendEvent(grid->viewport(), &hover);
        EXPECT_TRUE(v == 3 || QToolTip::text().toStdString() == tips[v]) << v;
    }
    EXPECT_NE(marks[1], marks[0]);
    EXPECT_NE(marks[2], marks[1]);
    EXPECT_NE(marks[2], marks[0]);
    const auto colours = [](const QImage& tile) { // how many pixels are in colour rather than grey
        int count = 0;
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x)
                count += QColor(tile.pixel(x, y)).hsvSaturation() > 100;
        return count;
    };
    EXPECT_GT(colours(marks[3]), colours(marks[1])); // a memo there in colour, one gone in grey
    // Not checked: no mark at all.
    shown.Button(IDC_CHECKSOUND)->setChecked(false);
    shown.Search(dir.path());
    grid->selectionModel()->clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->VisibleDone(); }, 10000));
    EXPECT_EQ(mark(grid->viewport()->grab().toImage(), 0), marks[0]);
}

} // namespace
