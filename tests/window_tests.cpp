// The main window itself: check-box rules, folder picker, keys and what a
// screen reader hears, the form at start-up; the results rows' index.
#include <QAccessible>
#include <QHeaderView>
#include <QSplitter>
#include <QLabel>
#include <gtest/gtest.h>

#include "guikit.h"
#include "res/templates.h"
#include "ui/rowindex.h"

namespace {

class Window : public WindowTest {
protected:
    bool Checked(int id) { return shown.Button(id)->isChecked(); }
};

TEST_F(Window, OnlyWithSoundImpliesCheckForSound)
{
    // Each step: the box clicked, then the ticks of "Check for sound" and
    // "Only list files with sound".
    const struct {
        int click;
        bool check, only;
    } steps[] = {
        {IDC_ONLYWITHSOUND, true, true}, {IDC_ONLYWITHSOUND, true, false}, {IDC_ONLYWITHSOUND, true, true},
        {IDC_CHECKSOUND, false, false},  {IDC_CHECKSOUND, true, false},
    };
    for (const auto& step : steps) {
        shown.Click(step.click);
        EXPECT_EQ(Checked(IDC_CHECKSOUND), step.check);
        EXPECT_EQ(Checked(IDC_ONLYWITHSOUND), step.only);
    }
}

TEST_F(Window, BrowseStartsAtLookInAndCancelKeepsIt)
{
    shown.SetText(IDC_LOOKIN, "/srv/photos");
    services.folderAnswer = "/home/someone/pictures";
    shown.Click(IDC_BROWSE);
    EXPECT_EQ(services.folderStart, "/srv/photos");
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/home/someone/pictures");
    services.folderAnswer.reset();
    shown.Click(IDC_BROWSE);
    EXPECT_EQ(services.folderStart, "/home/someone/pictures");
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/home/someone/pictures");
}

// What a screen reader and a keyboard user meet: every control has a name,
// Tab visits them in the order they stand (the radio group once), and Alt
// and a letter reach them.
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
    for (int step = 0; step < 18; ++step) {
        for (const ControlTemplate& control : res::MainDialogTemplate().controls) {
            if (control.id != IDC_STATIC && dlg.GetDlgItem(control.id) == QApplication::focusWidget())
                visited.push_back(control.id);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<int> layout = {IDC_LOOKIN,    IDC_BROWSE,      IDC_FILEMASK,  IDC_CONTAINING, IDC_SUBFOLDERS,
                                     IDC_CHECKSOUND, IDC_ONLYWITHSOUND, IDC_SIZERANGE, IDC_SIZEMIN,   IDC_SIZEMAX,
                                     IDC_REPLACE,   IDOK,            IDC_EXTRACT,   IDC_EXTRACTPLAY, IDC_ABOUT,
                                     IDC_LOG,       IDC_RESULTS,     IDC_LOOKIN};
    EXPECT_EQ(visited, layout);

    QTest::keyClick(&dlg, 'M', Qt::AltModifier);
    QTest::qWait(200); // a button's own letter clicks it after a short show
    EXPECT_TRUE(Checked(IDC_REMOVE));
}

// The form and the window's size, divider and column widths as the last run
// left them, and the folder of the command line (a picture standing for its
// folder) over the remembered one.
TEST(StartUp, RememberedFormShapeAndTheFolderGiven)
{
    RecordedServices services;
    TempDir dir;
    WriteText(dir / "pic.jpg", "x");
    CWindowMemory shape;
    {
        ShownDialog shown;
        shown.dlg.resize(700, 560);
        shown.dlg.findChild<QSplitter*>()->setSizes({500, 300});
        shown.List(IDC_RESULTS)->horizontalHeader()->resizeSection(0, 222);
        shape = shown.dlg.GetWindowMemory();
    }
    CFormMemory memory;
    memory.strLookIn = "/srv/photos/";
    memory.strFileMask = "IM*.JPG";
    memory.bOnlyWithSound = true;
    memory.bSizeRange = true;
    memory.nSizeMaxKB = 5;
    CMainDlg dlg;
    dlg.RestoreForm(memory);
    dlg.RestoreWindow(shape);
    dlg.SetLookIn(dir / "pic.jpg");
    dlg.Create();
    EXPECT_EQ(dlg.GetDlgItemText(IDC_LOOKIN), dir.path());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_FILEMASK), "IM*.JPG");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_CHECKSOUND), 1);
    EXPECT_TRUE(dlg.GetDlgItem(IDC_SIZEMAX)->isEnabled());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_SIZEMAX), "5");
    EXPECT_EQ(dlg.GetFormMemory().strFileMask, "IM*.JPG");
    EXPECT_EQ(dlg.size(), QSize(700, 560));
    EXPECT_EQ(dlg.findChild<QSplitter*>()->saveState(), shape.splitter);
    EXPECT_EQ(qobject_cast<CListView*>(dlg.GetDlgItem(IDC_RESULTS))->horizontalHeader()->sectionSize(0), 222);
}

// The index answers as a scan of the rows would: the lowest row whose path
// equals the one asked for, byte for byte.
TEST(RowPathIndex, AnswersTheLowestMatchingRowAfterRemovals)
{
    CRowPathIndex index;
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/A.jpg", "/p/a.jpg", "/p/odd\xFF.jpg"})
        index.Append(path);
    EXPECT_EQ(index.Find("/p/a.jpg"), 0);
    EXPECT_EQ(index.Find("/p/A.jpg"), 2);
    EXPECT_EQ(index.Find("/p/a.JPG"), -1);
    EXPECT_EQ(index.Find("/p/odd\xFF.jpg"), 4);
    index.Remove(0);
    EXPECT_EQ(index.Find("/p/a.jpg"), 2);
    index.Remove(2);
    EXPECT_EQ(index.Find("/p/a.jpg"), -1);
    EXPECT_EQ(index.Find("/p/A.jpg"), 1);
    index.Clear();
    EXPECT_EQ(index.Find("/p/b.jpg"), -1);
}

} // namespace
