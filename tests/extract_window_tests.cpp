// Extract Sound and Extract and play as the window runs them.
#include <gtest/gtest.h>

#include <QTableView>

#include "app/mainapp.h"
#include "guikit.h"

namespace {

class ExtractWindow : public WindowTest {
protected:
    TempDir dir;

    // Lists the given files (already on disk) as rows, in this order.
    void List(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            dlg.AddFileToList((dir / name).c_str());
    }
    std::string Camera(const std::string& name)
    {
        WriteFile(dir / name, ReadFile(DataPath("IM000101.JPG")));
        return dir / name;
    }
};

std::string Done(const std::string& source)
{
    return "Output file: " + source + ".wav Done";
}

TEST_F(ExtractWindow, NothingSelected)
{
    dlg.AppendLogRow("old");
    shown.Click(IDC_EXTRACT);
    EXPECT_TRUE(shown.LogRows().empty());
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error No items were selected!"}));
}

TEST_F(ExtractWindow, SelectedRowsRunInAscendingOrder)
{
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
        names.push_back("n" + std::to_string(i) + ".jpg");
        WriteText(dir / names.back(), "text");
    }
    List(names);
    shown.Select({5, 2, 9});
    shown.Click(IDC_EXTRACT);
    const std::string notJpeg = "Error File is not a jpg........................................";
    EXPECT_EQ(shown.LogRows(),
              (std::vector<std::string>{dir / "n2.jpg", notJpeg, dir / "n5.jpg", notJpeg, dir / "n9.jpg", notJpeg}));
}

TEST_F(ExtractWindow, SoundThenTextFileGiveFourRows)
{
    const std::string pic = Camera("pic1.jpg");
    WriteText(dir / "notes.jpg", "just text");
    List({"pic1.jpg", "notes.jpg"});
    shown.Select({0, 1});
    shown.Click(IDC_EXTRACT);
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{pic, Done(pic), dir / "notes.jpg",
                                                         "Error File is not a jpg........................................"}));
    EXPECT_EQ(ReadFile(pic + ".wav"), ReadFile(DataPath("expected/IM000101.JPG.wav")));
}

TEST_F(ExtractWindow, VanishedSourceThenTheNextRow)
{
    const std::string gone = Camera("gone.jpg");
    const std::string next = Camera("next.jpg");
    List({"gone.jpg", "next.jpg"});
    ::remove(gone.c_str());
    shown.Select({0, 1});
    shown.Click(IDC_EXTRACT);
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error could not open file\n\n" + gone}));
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{gone, next, Done(next)}));
}

TEST_F(ExtractWindow, BlockedOutputShowsTheBoxFirstAndEndsTheRun)
{
    const std::string blocked = Camera("blocked.jpg");
    const std::string later = Camera("later.jpg");
    MakeDir(blocked + ".wav");
    List({"blocked.jpg", "later.jpg"});
    shown.Select({0, 1});
    shown.Click(IDC_EXTRACT);
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Error cant open/create output file\n" + blocked + ".wav"}));
    EXPECT_EQ(services.logRowsAtBox, (std::vector<size_t>{1})); // only the path row came before it
    EXPECT_EQ(shown.LogRows(),
              (std::vector<std::string>{blocked, "Error cant open/create output file", blocked + ".wav"}));
    EXPECT_FALSE(Exists(later + ".wav"));
}

TEST_F(ExtractWindow, ExtractAndPlayExtractsAllAndPlaysTheFirst)
{
    const std::string first = Camera("pic1.jpg");
    const std::string second = Camera("pic2.jpg");
    List({"pic1.jpg", "pic2.jpg"});
    shown.Select({1, 0});
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{first, Done(first), second, Done(second),
                                                         "Playing " + first + ".wav"}));
    EXPECT_EQ(services.played, (std::vector<std::string>{first + ".wav"}));
}

TEST_F(ExtractWindow, WavRowsPlayWithoutExtraction)
{
    WriteText(dir / "memo.WAV", "RIFF");
    WriteText(dir / "mywav", "RIFF");
    List({"memo.WAV", "mywav"});
    dlg.AppendLogRow("old");
    shown.Select({0});
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{"Playing " + dir / "memo.WAV"}));

    dlg.m_listResults.SetItemSelected(0, false);
    shown.Select({1});
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{"Playing " + dir / "mywav"}));
    EXPECT_EQ(services.played, (std::vector<std::string>{dir / "memo.WAV", dir / "mywav"}));
    EXPECT_FALSE(Exists(dir / "mywav.wav"));
}

// A WAV left from an earlier run is not the picture's sound now.
TEST_F(ExtractWindow, NoSoundDoesNotPlayAnOldWav)
{
    WriteFile(dir / "silent.jpg", ReadFile(DataPath("IM000102.JPG")));
    WriteText(dir / "silent.jpg.wav", "an earlier wav");
    List({"silent.jpg"});
    shown.Select({0});
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(shown.LogRows(),
              (std::vector<std::string>{dir / "silent.jpg", "No Audio in file...................................................."}));
    EXPECT_TRUE(services.played.empty());
    EXPECT_EQ(ReadFile(dir / "silent.jpg.wav"), Bytes({'a', 'n', ' ', 'e', 'a', 'r', 'l', 'i', 'e', 'r', ' ', 'w', 'a', 'v'}));
}

TEST_F(ExtractWindow, PlayRefusedOrNothingSelected)
{
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(services.boxes, (std::vector<std::string>{"Please select a item in the Search results list"}));

    const std::string pic = Camera("pic.jpg");
    List({"pic.jpg"});
    shown.Select({0});
    services.playAnswer = false;
    shown.Click(IDC_EXTRACTPLAY);
    EXPECT_EQ(services.boxes.back(), "Could not play the sound");
    EXPECT_EQ(shown.LogRows(), (std::vector<std::string>{pic, Done(pic)}));
}

// The whole road, driven as a user would: start the program, type a folder,
// tick "Check for sound", search, select the camera file's row, extract.
TEST(RoadOfOneFile, FromSearchToWav)
{
    TempDir dir;
    RecordedServices services;
    WriteFile(dir / "IM000101.JPG", ReadFile(DataPath("IM000101.JPG")));
    WriteFile(dir / "IM000102.JPG", ReadFile(DataPath("IM000102.JPG")));
    std::vector<std::string> log;
    bool driven = false;
    Soon([&] {
        auto* dlg = qobject_cast<CMainDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* lookIn = qobject_cast<QLineEdit*>(dlg->GetDlgItem(IDC_LOOKIN));
        lookIn->selectAll();
        QTest::keyClicks(lookIn, QString::fromLocal8Bit(dir.path().c_str()));
        QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_CHECKSOUND)), Qt::LeftButton);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg->GetDlgItem(1)), Qt::LeftButton);
        auto* view = qobject_cast<QTableView*>(dlg->GetDlgItem(IDC_RESULTS));
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            if (view->model()->index(row, 0).data().toString() == "IM000101.JPG")
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 1)).center());
        }
        QTest::mouseClick(qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_EXTRACT)), Qt::LeftButton);
        for (int i = 0; i < dlg->m_listLog.GetItemCount(); ++i)
            log.push_back(dlg->m_listLog.GetItemText(i, 0));
        driven = true;
        QTest::keyClick(lookIn, Qt::Key_Escape);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(driven);
    const std::string pic = dir / "IM000101.JPG";
    EXPECT_EQ(log, (std::vector<std::string>{pic, "Output file: " + pic + ".wav Done"}));
    EXPECT_EQ(ReadFile(pic + ".wav"), ReadFile(DataPath("expected/IM000101.JPG.wav")));
    EXPECT_TRUE(services.boxes.empty());
}

} // namespace
