#pragma once
// Helpers for the window tests: the replaceable services answered and
// recorded, and the real dialog driven and read through its widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/controls.h"
#include "res/ids.h"
#include "testkit.h"
#include "ui/maindlg.h"

// Installs recording stand-ins for the services that would ask a person;
// restores the real ones when it goes.
class RecordedServices {
public:
    RecordedServices();
    ~RecordedServices();

    std::vector<std::string> boxes;          // message-box texts, in order
    std::vector<std::string> opened;         // shell-open requests
    std::vector<std::string> shownInFolder;  // files the file manager was asked to show
    std::vector<std::string> played;         // play requests
    std::vector<std::vector<unsigned char>> playedData; // memos played from memory
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
    // Clicks a button; an extraction it starts has ended when it returns.
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
};

// A shown main window with the recording services in place.
class WindowTest : public ::testing::Test {
protected:
    RecordedServices services;
    ShownDialog shown;
    CMainDlg& dlg = shown.dlg;
};

// Runs `action` once the event loop next turns, e.g. inside a modal run or
// a search.
void Soon(std::function<void()> action, int delayMs = 0);
