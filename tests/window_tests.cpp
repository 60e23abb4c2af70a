// The main window itself: keys and what a screen reader hears, the form at start-up; the results rows' index.

#include "guikit.h"
#include "res/templates.h"
#include "ui/rowindex.h"

namespace {

using Window = WindowTest;

// What a screen reader and a keyboard user meet: every control has a name, Tab visits them in the order they
// stand (the radio group once), and Alt and a letter reach them.
TEST_F(Window, EveryControlHasANameAndTheKeyboardReachesIt)
{
    for (const ControlTemplate& control : res::MainDialogTemplate().controls) {
        QWidget* widget = dlg.GetDlgItem(control.id);
        if (!widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr) << control.id;
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control.id;
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(shown.Edit(IDC_LOOKIN))->text(QAccessible::Name), "Look in");

    shown.Click(IDC_SIZERANGE);
    shown.Edit(IDC_LOOKIN)->setFocus();
    std::vector<int> visited;
    for (int step = 0; step < 20; ++step) {
        for (const ControlTemplate& control : res::MainDialogTemplate().controls) {
            if (control.id != IDC_STATIC && dlg.GetDlgItem(control.id) == QApplication::focusWidget())
                visited.push_back(control.id);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<int> layout = {IDC_LOOKIN,    IDC_BROWSE,     IDOK,        IDC_FILEMASK,    IDC_CONTAINING,
                                     IDC_SUBFOLDERS, IDC_CHECKSOUND, IDC_ONLYWITHSOUND, IDC_SIZERANGE, IDC_SIZEMIN,
                                     IDC_SIZEMAX,   IDC_REPLACE,    IDC_RESULTS, IDC_EXTRACT,     IDC_EXTRACTTO,
                                     IDC_EXTRACTPLAY, IDC_ABOUT,   IDC_LOOKIN};
    EXPECT_EQ(visited, layout);

    QTest::keyClick(&dlg, 'M', Qt::AltModifier);
    QTest::qWait(200); // a button's own letter clicks it after a short show
    EXPECT_TRUE(shown.Button(IDC_REMOVE)->isChecked());
}

// The form and the window's size, divider and column widths as the last run left them; a picture given at start
// ("Open in Vocaline") stands for its folder over the remembered one, searched with its row selected, listed
// even where the mask leaves it out.
TEST(StartUp, RememberedFormShapeAndThePictureGiven)
{
    RecordedServices services;
    TempDir dir;
    for (const char* name : {"IM000100.JPG", "IM000101.JPG"})
        CopySample(dir / name);
    WriteFile(dir / "IMG_20240101.jpeg", PictureNamingSound("PICT0057.WAV")); // its memo gone
    CWindowMemory shape;
    {
        ShownDialog shown;
        shown.dlg.resize(780, 560);
        shown.dlg.findChild<QSplitter*>()->setSizes({620, 160});
        shape = shown.dlg.GetWindowMemory();
        shown.dlg.showMaximized(); // remembered so, with its normal size for later
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.dlg.width() > 780; }));
        EXPECT_TRUE(shown.dlg.GetWindowMemory().bMaximized && shown.dlg.GetWindowMemory().size == QSize(780, 560));
    }
    const CFormMemory memory{.strLookIn = "/srv/photos/", .strFileMask = "IM*.JPG", .bCheckSound = false,
                             .bOnlyWithSound = true, .bSizeRange = true, .nSizeMaxKB = 500};
    CMainDlg dlg;
    dlg.RestoreForm(memory);
    dlg.RestoreWindow(shape);
    dlg.SetLookIn(dir / "IMG_20240101.jpeg");
    dlg.SearchWhenShown(dir / "IMG_20240101.jpeg");
    dlg.Create();
    for (const auto& [id, text] : {std::pair{IDC_LOOKIN, dir.path()}, {IDC_FILEMASK, "IM*.JPG"}, {IDC_SIZEMAX, "500"}})
        EXPECT_EQ(dlg.GetDlgItemText(id), text) << id;
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_CHECKSOUND), 1); // as "Only list files with sound" needs
    EXPECT_TRUE(dlg.GetDlgItem(IDC_SIZEMAX)->isEnabled());
    EXPECT_EQ(dlg.GetFormMemory().strFileMask, "IM*.JPG");
    auto* results = qobject_cast<CListView*>(dlg.GetDlgItem(IDC_RESULTS));
    EXPECT_EQ(dlg.size(), QSize(780, 560));
    EXPECT_EQ(dlg.findChild<QSplitter*>()->saveState(), shape.splitter);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return results->selectionModel()->hasSelection(); }, 5000));
    const QModelIndexList selected = results->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(results->Model()->GetText(results->ProgramRow(selected[0]), 0), "IMG_20240101.jpeg");
    EXPECT_EQ(results->Model()->GetText(results->ProgramRow(selected[0]), 4), "Missing");
    EXPECT_EQ(results->Model()->Count(), 3);
    // (The column widths remembered are the layout test's: they need a screen wider than this one.)
}

// The index answers as a scan of the rows would: the lowest row whose path equals the one asked for, byte for
// byte.
TEST(RowPathIndex, AnswersTheLowestMatchingRowAfterRemovals)
{
    CRowPathIndex index;
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/A.jpg", "/p/a.jpg", "/p/odd\xFF.jpg"})
        index.Append(path);
    for (const auto& [path, row] : {std::pair{"/p/a.jpg", 0}, {"/p/A.jpg", 2}, {"/p/a.JPG", -1}, {"/p/odd\xFF.jpg", 4}})
        EXPECT_EQ(index.Find(path), row) << path;
    index.Remove(0);
    EXPECT_EQ(index.Find("/p/a.jpg"), 2);
    index.Remove(2);
    EXPECT_EQ(index.Find("/p/a.jpg"), -1);
    EXPECT_EQ(index.Find("/p/A.jpg"), 1);
    index.Clear();
    EXPECT_EQ(index.Find("/p/b.jpg"), -1);
}

} // namespace
