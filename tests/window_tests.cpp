// The main window itself: defaults, check-box rules, size fields, folder
// picker, closing, keys, sizing, tab order and the About box.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "guikit.h"
#include "platform/qt/controls.h"
#include "platform/qt/services.h"

namespace {

class Window : public WindowTest {
protected:
    bool Checked(int id) { return shown.Button(id)->isChecked(); }
};

TEST_F(Window, FreshStartShowsTheDefaults)
{
    EXPECT_EQ(dlg.windowTitle(), "Vocaline");
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/");
    EXPECT_EQ(shown.Text(IDC_FILEMASK), "*.jpg");
    EXPECT_EQ(shown.Text(IDC_CONTAINING), "");
    EXPECT_EQ(shown.Text(IDC_SIZEMIN), "0");
    EXPECT_EQ(shown.Text(IDC_SIZEMAX), "0");
    EXPECT_FALSE(shown.Edit(IDC_SIZEMIN)->isEnabled());
    EXPECT_FALSE(shown.Edit(IDC_SIZEMAX)->isEnabled());
    for (int id : {IDC_SUBFOLDERS, IDC_CHECKSOUND, IDC_ONLYWITHSOUND, IDC_SIZERANGE})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_TRUE(Checked(IDC_REPLACE));
    EXPECT_FALSE(Checked(IDC_ADD));
    EXPECT_FALSE(Checked(IDC_REMOVE));
    EXPECT_EQ(shown.Text(IDC_STATUS), "0 items found");
    EXPECT_EQ(shown.Text(1), "Search");
    EXPECT_EQ(dlg.m_listResults.GetItemCount(), 0);
    EXPECT_EQ(dlg.m_listLog.GetItemCount(), 0);
    EXPECT_TRUE(shown.Edit(IDC_LOOKIN)->hasFocus());

    auto* model = dlg.m_listResults.View()->model();
    const std::vector<std::pair<QString, int>> columns = {
        {"Name", 150}, {"In Folder", 200}, {"Size", 60}, {"Modified", 120}, {"Sound ?", 160}};
    ASSERT_EQ(model->columnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(model->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), columns[i].first);
        EXPECT_EQ(dlg.m_listResults.GetColumnWidth(i), columns[i].second);
    }
    EXPECT_FALSE(dlg.windowIcon().isNull());
}

TEST_F(Window, SoundCheckBoxesKeepOnlyWithSoundImplyingCheck)
{
    // Ticking "Only list files with sound" ticks "Check for sound".
    shown.Click(IDC_ONLYWITHSOUND);
    EXPECT_TRUE(Checked(IDC_ONLYWITHSOUND));
    EXPECT_TRUE(Checked(IDC_CHECKSOUND));
    EXPECT_EQ(dlg.m_bCheckSound, 1);
    // Unticking "Only list files..." leaves "Check for sound" ticked.
    shown.Click(IDC_ONLYWITHSOUND);
    EXPECT_FALSE(Checked(IDC_ONLYWITHSOUND));
    EXPECT_TRUE(Checked(IDC_CHECKSOUND));
    // Unticking "Check for sound" while both are ticked unticks both.
    shown.Click(IDC_ONLYWITHSOUND);
    shown.Click(IDC_CHECKSOUND);
    EXPECT_FALSE(Checked(IDC_ONLYWITHSOUND));
    EXPECT_FALSE(Checked(IDC_CHECKSOUND));
    EXPECT_EQ(dlg.m_bOnlyWithSound, 0);
    // Ticking "Check for sound" leaves the other unticked.
    shown.Click(IDC_CHECKSOUND);
    EXPECT_TRUE(Checked(IDC_CHECKSOUND));
    EXPECT_FALSE(Checked(IDC_ONLYWITHSOUND));
}

TEST_F(Window, SizeFieldsFollowTheirCheckBoxAndKeepTheirText)
{
    shown.Click(IDC_SIZERANGE);
    EXPECT_TRUE(shown.Edit(IDC_SIZEMIN)->isEnabled());
    EXPECT_TRUE(shown.Edit(IDC_SIZEMAX)->isEnabled());
    shown.Edit(IDC_SIZEMIN)->setText("12");
    shown.Click(IDC_SIZERANGE);
    EXPECT_FALSE(shown.Edit(IDC_SIZEMIN)->isEnabled());
    EXPECT_FALSE(shown.Edit(IDC_SIZEMAX)->isEnabled());
    EXPECT_EQ(shown.Text(IDC_SIZEMIN), "12");
    EXPECT_EQ(dlg.m_bSizeRange, 0); // the member follows at the next exchange
}

TEST_F(Window, SizeFieldThatIsNoNumberStopsTheExchangeThere)
{
    for (const char* text : {"abc", "", "99999999999"}) {
        SCOPED_TRACE(text);
        services.boxes.clear();
        dlg.m_strLookIn = "/unchanged";
        shown.SetText(IDC_SIZEMAX, text);
        shown.SetText(IDC_LOOKIN, "/typed");
        shown.SetText(IDC_FILEMASK, "*.png");
        EXPECT_FALSE(dlg.UpdateData(true));
        EXPECT_EQ(services.boxes, (std::vector<std::string>{"Please enter an integer."}));
        EXPECT_EQ(dlg.m_strFileMask, "*.png"); // before the field
        EXPECT_EQ(dlg.m_strLookIn, "/unchanged"); // after it
    }
    shown.SetText(IDC_SIZEMAX, " 42 ");
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_nSizeMaxKB, 42);
    EXPECT_EQ(dlg.m_strLookIn, "/typed");
}

TEST_F(Window, BrowseFillsOrEmptiesLookIn)
{
    services.folderAnswer = "/home/someone/pictures";
    shown.Click(IDC_BROWSE);
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "/home/someone/pictures");
    services.folderAnswer.reset();
    shown.Click(IDC_BROWSE);
    EXPECT_EQ(shown.Text(IDC_LOOKIN), "");
}

TEST_F(Window, ClosesOnlyOutsideASearch)
{
    dlg.m_bSearching = true;
    QTest::keyClick(&dlg, Qt::Key_Escape);
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());

    dlg.m_bSearching = false;
    QTest::keyClick(shown.Edit(IDC_LOOKIN), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), res::IDCANCEL);

    dlg.show();
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(Window, EnterSearchesAndNeverCloses)
{
    TempDir dir;
    WriteText(dir / "a.jpg", "x");
    shown.SetText(IDC_LOOKIN, dir.path());
    QTest::keyClick(shown.Edit(IDC_FILEMASK), Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(shown.Text(IDC_STATUS), "1 items found");
    QTest::keyClick(shown.Edit(IDC_LOOKIN), Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(Window, NeverSmallerThanFirstShownAndListKeepsItsMargins)
{
    const QSize first = dlg.size();
    dlg.resize(first.width() - 100, first.height() - 100);
    QApplication::processEvents();
    EXPECT_GE(dlg.width(), first.width());
    EXPECT_GE(dlg.height(), first.height());

    dlg.resize(first.width() + 200, first.height() + 150);
    QApplication::processEvents();
    const QRect list = dlg.m_listResults.GetWidget()->geometry();
    EXPECT_EQ(dlg.width() - list.right() - 1, list.left());
    EXPECT_EQ(dlg.height() - list.bottom() - 1, list.left());
}

TEST_F(Window, TabOrderFollowsTheTemplate)
{
    std::vector<int> order;
    QWidget* widget = shown.Edit(IDC_LOOKIN);
    for (int step = 0; step < 40 && order.size() < 12; ++step) {
        for (int id : std::vector<int>{IDC_LOOKIN, IDC_BROWSE, IDC_FILEMASK, IDC_CONTAINING, IDC_SUBFOLDERS,
                                       IDC_CHECKSOUND, IDC_ONLYWITHSOUND, IDC_SIZERANGE, 1, IDC_EXTRACT, IDC_ABOUT,
                                       IDC_LOG, IDC_RESULTS}) {
            if (dlg.GetDlgItem(id) == widget && (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled())
                order.push_back(id);
        }
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_LOOKIN, IDC_BROWSE, IDC_FILEMASK, IDC_CONTAINING, IDC_SUBFOLDERS,
                                       IDC_CHECKSOUND, IDC_ONLYWITHSOUND, IDC_SIZERANGE, 1, IDC_EXTRACT,
                                       IDC_ABOUT, IDC_LOG}));
    EXPECT_FALSE(shown.Button(IDC_REPLACE)->focusPolicy() & Qt::TabFocus);
}

TEST_F(Window, AboutBoxShowsItsTextsAndClosesWithOkOrEscape)
{
    for (bool useEscape : {false, true}) {
        QStringList texts;
        QString title;
        bool seen = false;
        Soon([&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            seen = true;
            title = box->windowTitle();
            for (QLabel* label : box->findChildren<QLabel*>())
                texts << label->text();
            if (useEscape) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
                    if (button->text() == "OK")
                        button->click();
            }
        });
        shown.Click(IDC_ABOUT);
        EXPECT_TRUE(seen);
        EXPECT_EQ(title, "About Vocaline");
        EXPECT_TRUE(texts.contains("Vocaline Version 1.0"));
        EXPECT_TRUE(texts.contains("Sound Extractor for HP 618 camera jpg files."));
        EXPECT_TRUE(texts.contains(
            "To play the wav files on a PC you need to have the Microsoft IMA ADPCM audio compression CODEC "
            "installed.  This is a standard CODEC that comes with Windows and it is normally installed by default."));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(dlg.isVisible());
    }
}

} // namespace

namespace {

// Rows in batch mode: the program sees every change at once, the view after
// the next flush, and both agree row for row.
TEST_F(Window, BatchedRowsReachTheViewIntact)
{
    CListCtrl& list = dlg.m_listResults;
    auto* model = list.View()->model();
    auto viewRows = [&] {
        std::vector<std::string> rows;
        for (int r = 0; r < model->rowCount(); ++r)
            rows.push_back(model->index(r, 0).data().toString().toStdString() + "|"
                           + model->index(r, 1).data().toString().toStdString());
        return rows;
    };
    auto programRows = [&] {
        std::vector<std::string> rows;
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows.push_back(list.GetItemText(r, 0) + "|" + list.GetItemText(r, 1));
        return rows;
    };

    list.SetBatchInterval(1000);
    for (int i = 0; i < 10; ++i) {
        const int row = list.InsertItem(list.GetItemCount(), "r" + std::to_string(i));
        list.SetItemText(row, 1, "f" + std::to_string(i));
    }
    EXPECT_EQ(list.GetItemCount(), 10);
    EXPECT_EQ(model->rowCount(), 0); // not announced yet

    list.View()->Model()->Flush();
    EXPECT_EQ(viewRows(), programRows());

    // A run from the front, one before it, one apart, then a text change.
    list.DeleteItem(3);
    list.DeleteItem(3);
    EXPECT_EQ(model->rowCount(), 10); // the view still shows them
    EXPECT_EQ(viewRows()[4], "r4|f4");
    list.DeleteItem(2);
    list.DeleteItem(5);
    list.SetItemText(0, 1, "changed");
    EXPECT_EQ(programRows(), (std::vector<std::string>{"r0|changed", "r1|f1", "r5|f5", "r6|f6", "r7|f7", "r9|f9"}));
    list.SetBatchInterval(0);
    EXPECT_EQ(viewRows(), programRows());

    // Selection answers in the program's rows.
    list.SetItemSelected(2, true);
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int>{2}));
}

} // namespace

namespace {

TEST(MessageBox, CaptionIsTheExecutablesName)
{
    QString caption;
    QString text;
    Soon([&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        for (QLabel* label : box->findChildren<QLabel*>())
            text += label->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    services::MessageBox(nullptr, "Error No items were selected!");
    EXPECT_EQ(caption, "window_tests");
    EXPECT_TRUE(text.contains("Error No items were selected!"));
}

} // namespace
