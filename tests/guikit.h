#pragma once
// Helpers for the window tests: the replaceable services answered and recorded, and the real dialog driven and
// read through its widgets.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/controls.h"
#include "platform/qt/services.h"
#include "res/ids.h"
#include "testkit.h"
#include "ui/activity.h"
#include "ui/maindlg.h"
#include "ui/preview.h"
#include "ui/searchbar.h"

// Installs recording stand-ins for the services that would ask a person; restores the real ones when it goes.
class RecordedServices {
public:
    RecordedServices();
    ~RecordedServices();

    std::vector<std::string> boxes;          // message-box texts, in order
    std::vector<std::string> opened;         // shell-open requests
    std::vector<std::string> shownInFolder;  // files the file manager was asked to show
    std::vector<std::string> played;         // play requests
    std::vector<std::vector<unsigned char>> playedData; // memos played from memory
    std::vector<services::Choice> choices;   // what choice boxes answer, in turn; then their default
    std::optional<std::string> folderAnswer; // what the folder picker answers
    std::string folderStart;                 // where the folder picker was opened
    bool playAnswer = true;
    bool openAnswer = true;
};

// A main window created and shown offscreen, as the program shows it.
class ShownDialog {
public:
    ShownDialog();
    ~ShownDialog() { dlg.hide(); }
    CMainDlg dlg;

    QAbstractButton* Button(int id) const { return qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id)); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id)); }
    CListView* List(int id) const { return qobject_cast<CListView*>(dlg.GetDlgItem(id)); }
    // Clicks a button; an extraction it starts has ended when it returns. WaitForExtraction waits for an export
    // too.
    void Click(int id);
    void WaitForExtraction();
    void SetText(int id, const std::string& text) { dlg.SetDlgItemText(id, text); }
    std::string Text(int id) const { return dlg.GetDlgItemText(id); }
    std::vector<std::string> LogRows() const;
    int Rows() const { return List(IDC_RESULTS)->Model()->Count(); }
    std::vector<std::string> Row(int row) const; // the five texts
    std::string RowPath(int row) const { return Row(row)[1] + Row(row)[0]; }
    std::vector<std::string> SortedRowPaths() const;
    void Select(const std::vector<int>& rows);
    // Runs a search of folder with the given list mode (0, 1, 2).
    void Search(const std::string& folder, int mode = 0, bool subfolders = false);
    // Lists the files of folder (and its subfolders) that the mask takes, all selected.
    void ListAll(const std::string& folder, bool subfolders = true);
};

// A shown main window with the recording services in place.
class WindowTest : public ::testing::Test {
protected:
    RecordedServices services;
    ShownDialog shown;
    CMainDlg& dlg = shown.dlg;
    TempDir dir;
    // A copy of a sample picture in dir; its path.
    std::string Camera(const std::string& name, const std::string& sample = "IM000101.JPG")
    {
        return CopySample(dir / name, sample);
    }
};

// One tree, made once, large enough for a search to take many of the window's event passes: the filler files,
// and a few with their own sizes and times (UTC) for sorting.
class BigTree : public WindowTest {
protected:
    static constexpr int kFiller = 3000;
    struct Sized {
        const char* name;
        size_t size;
        time_t time;
    };
    static constexpr Sized kSized[] = {{"big.jpg", 20480, 1051268400}, {"mid.jpg", 10100, 1051275600},
                                       {"kb.jpg", 10240, 1051279200}, {"small.jpg", 9, 1051272000}};
    static constexpr int kMany = kFiller + 4;
    static inline std::unique_ptr<TempDir> tree;
    static void SetUpTestSuite()
    {
        tree = std::make_unique<TempDir>();
        for (int i = 0; i < kFiller; ++i)
            WriteFile(*tree / ("f" + std::to_string(i) + ".jpg"), Bytes(1, 0x55));
        for (const Sized& file : kSized) {
            WriteFile(*tree / file.name, Bytes(file.size, 0x55));
            SetModified(*tree / file.name, file.time);
        }
    }
    static void TearDownTestSuite() { tree.reset(); }

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

// Runs `action` once the event loop next turns, e.g. inside a modal run or a search.
void Soon(std::function<void()> action, int delayMs = 0);
// Takes entry from the menu that has popped up once the event loop next turns.
void ChooseSoon(const QString& entry);
