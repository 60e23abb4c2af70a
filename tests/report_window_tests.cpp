// "Export list…": the rows shown, in the order shown, saved as the same CSV
// that vocaline-extract writes, only where the save dialog says.
#include <QMenu>

#include "guikit.h"
#include "platform/qt/services.h"

namespace {

class ExportWindow : public WindowTest {
protected:
    ExportWindow()
    {
        services::SetSaveFilePicker([this](QWidget*, const CString&, const CString& start, const CString& filter) {
            offered = start;
            filters = filter;
            return answer;
        });
    }
    ~ExportWindow() override { services::SetSaveFilePicker(nullptr); }

    TempDir dir;
    std::optional<CString> answer;
    CString offered;
    CString filters;
};

std::string Text(const std::string& path)
{
    const Bytes bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

TEST_F(ExportWindow, CtrlESavesTheRowsShownAsTheCommandLinesCsv)
{
    WriteFile(dir / "a.jpg", ReadFile(DataPath("IM000101.JPG")));
    WriteFile(dir / "b,\"c\".jpg", ReadFile(DataPath("IM000102.JPG")));
    WriteText(dir / "z.jpg", "not a picture");
    shown.Search(dir.path());
    shown.List(IDC_RESULTS)->sortByColumn(0, Qt::DescendingOrder);

    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(offered, dir / "vocaline.csv");
    EXPECT_EQ(filters, "CSV files (*.csv)");
    EXPECT_FALSE(Exists(dir / "vocaline.csv"));

    answer = dir / "list.csv";
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    const std::string cli = dir / "cli.csv";
    const std::string command = std::string(VOCALINE_EXTRACT) + " --check --format=csv '" + dir / "z.jpg" + "' '"
        + dir / "b,\"c\".jpg" + "' '" + dir / "a.jpg" + "' > " + cli;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Text(dir / "list.csv"), Text(cli));
    EXPECT_TRUE(services.boxes.empty());

    // A folder that is gone: told, and nothing half-written anywhere.
    answer = dir / "gone/list.csv";
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "Could not write the list\n" + dir / "gone/list.csv" + "\nNo such file or directory");
}

TEST_F(ExportWindow, TheRowMenuOffersIt)
{
    WriteFile(dir / "a.jpg", ReadFile(DataPath("IM000101.JPG")));
    shown.Search(dir.path());
    answer = dir / "list.csv";
    CListView* view = shown.List(IDC_RESULTS);
    view->setCurrentIndex(view->model()->index(0, 0));
    Soon([] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == QString::fromUtf8("E&xport list\u2026"))
                menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent press(QContextMenuEvent::Keyboard, QPoint(), view->mapToGlobal(QPoint()));
    QApplication::sendEvent(view->viewport(), &press);
    EXPECT_EQ(Text(dir / "list.csv").rfind("path,", 0), 0u);
}

} // namespace
