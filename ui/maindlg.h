#pragma once
// The program's one window: the search definition above, the results list
// below, the extraction buttons and their log in between.
#include <QIcon>

#include <vector>
#include <cstdint>

#include "platform/cstring.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog.h"
#include "search/filesearch.h"
#include "ui/rowindex.h"

// Control ids of the main window.
enum {
    IDC_SUBFOLDERS = 1000,
    IDC_FILEMASK = 1001,
    IDC_LOOKIN = 1002,
    IDC_CONTAINING = 1003,
    IDC_BROWSE = 1004,
    IDC_RESULTS = 1006,
    IDC_SIZERANGE = 1007,
    IDC_SIZEMIN = 1008,
    IDC_SIZEMAX = 1009,
    IDC_STATUS = 1011,
    IDC_REPLACE = 1013,
    IDC_ADD = 1014,
    IDC_REMOVE = 1015,
    IDC_EXTRACT = 1016,
    IDC_LOG = 1018,
    IDC_ABOUT = 1020,
    IDC_ONLYWITHSOUND = 1021,
    IDC_CHECKSOUND = 1022,
    IDC_EXTRACTPLAY = 1023,
};

void SearchProgress(CFileSearch* finder, int code, void* user);

class CMainDlg : public CDialog {
    Q_OBJECT
public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    // The About box lives with the application; it tells the window how to
    // show it.
    using AboutBoxFunction = void (*)(QWidget* owner);
    static void SetAboutBox(AboutBoxFunction function);

    // Window frame and small handlers.
    void OnSizeRange();
    void OnCheckSound();
    void OnOnlyWithSound();
    void OnBrowse();
    void OnAbout();

    // Search command and progress.
    void OnSearch();
    void SetStatus(int count, const char* text);

    // Results rows.
    void AddFileToList(const char* path);
    CString GetRowPath(int row) const;
    int FindInList(const char* path);
    void OnDblclkResults();

    // Extraction.
    void ExtractSound();
    void ExtractAndPlay();
    // The extraction over the selected rows; the outputs it wrote.
    std::vector<CString> RunExtractSound();
    // Appends a row at the end of the log list.
    void AppendLogRow(const CString& text);

    CButton m_btnOnlyWithSound;
    CButton m_btnCheckSound;
    CListCtrl m_listLog;
    CListCtrl m_listResults;
    int32_t m_bSizeRange = 0;
    int32_t m_bSubfolders = 0;
    CString m_strFileMask = "*.jpg";
    int32_t m_nSizeMaxKB = 0;
    int32_t m_nSizeMinKB = 0;
    CString m_strLookIn = "/";
    CString m_strContaining;
    int m_nListMode = 0;
    int32_t m_bOnlyWithSound = 0;
    int32_t m_bCheckSound = 0;
    QIcon m_hIcon;
    QIcon m_imageList;
    bool m_bSearching = false;
    CFileSearch m_finder;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnCommand(int id) override;
    void OnDoubleClick(int id) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend void SearchProgress(CFileSearch* finder, int code, void* user);
    void OnSize(int cx, int cy);
    void OnGetMinMaxInfo();
    void DeleteResultRow(int row);
    void DeleteAllResults();

    // Beside the rows: finds a row by path without scanning every row.
    CRowPathIndex m_rowIndex;
};
