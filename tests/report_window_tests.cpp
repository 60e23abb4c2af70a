// "Export list…": the rows shown, in the order shown, saved as the same CSV that vocaline-extract writes, only
// where the save dialog says.

#include <clocale>

#include "guikit.h"

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

    std::optional<CString> answer;
    CString offered;
    CString filters;
};

TEST_F(ExportWindow, CtrlESavesTheRowsShownAsTheCommandLinesCsv)
{
    // The C library's numbers and error texts in German ("5,997"), as the window's locale may set them, from a
    // locale made for the test.
    const TempDir locales;
    std::system(("localedef -i de_DE -f UTF-8 " + Quote(locales / "de_DE.UTF-8") + " >/dev/null 2>&1").c_str());
    setenv("LOCPATH", locales.path().c_str(), 1);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || !std::setlocale(LC_MESSAGES, "de_DE.UTF-8"))
        std::fprintf(stderr, "note: no German locale could be made; checked in the C locale only\n");
    Camera("a.jpg");
    CopySample(dir / "b,\"c\".jpg", "IM000102.JPG");
    WriteText(dir / "z.jpg", "not a picture");
    std::filesystem::create_symlink("/proc/self/mem", dir / "y.jpg"); // every read fails
    shown.Search(dir.path());
    shown.List(IDC_RESULTS)->sortByColumn(0, Qt::DescendingOrder);

    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(offered, dir / "vocaline.csv");
    EXPECT_EQ(filters, "CSV files (*.csv)");
    EXPECT_FALSE(Exists(dir / "vocaline.csv"));

    answer = dir / "list.csv";
    ::umask(022);
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    shown.WaitForExtraction();
    const Bytes list = ReadFile(dir / "list.csv");
    EXPECT_EQ(Mode(dir / "list.csv"), 0644u); // as any file the user makes
    EXPECT_EQ(std::string(list.begin(), list.end()), Shell(VOCALINE_EXTRACT " --check --format=csv " + Quote(dir / "z.jpg") + " " + Quote(dir / "y.jpg") + " "
                                                               + Quote(dir / "b,\"c\".jpg") + " " + Quote(dir / "a.jpg"), true));
    EXPECT_TRUE(services.boxes.empty());
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_MESSAGES, "C");

    // A folder that is gone: told, and nothing half-written anywhere.
    answer = dir / "gone/list.csv";
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    shown.WaitForExtraction();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0], "Could not write the list\n" + dir / "gone/list.csv" + "\nNo such file or directory");

    // A long list is written in the background; Escape stops it before anything is written, and says nothing.
    for (int i = 0; i < 4000; ++i)
        ASSERT_EQ(::link((dir / "a.jpg").c_str(), (dir / ("m" + std::to_string(i) + ".jpg")).c_str()), 0);
    shown.Search(dir.path());
    answer = dir / "long.csv";
    QTest::keyClick(&dlg, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(dlg.IsExporting());
    EXPECT_FALSE(shown.Button(IDC_EXTRACT)->isEnabled() || shown.Button(IDC_EXTRACTTO)->isEnabled());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    shown.WaitForExtraction();
    EXPECT_FALSE(Exists(dir / "long.csv"));
    EXPECT_EQ(services.boxes.size(), 1u);
}

} // namespace
