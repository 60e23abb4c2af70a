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
#include "ui/resultslist.h"

// What a search's hits do to the results list: the radio group's order.
enum class ListMode { Replace, Add, Remove };

// Everything a search needs from the form, read once as it starts.
struct CSearchSettings {
    CSearchOptions options;
    bool bCheckSound = false;
    bool bOnlyWithSound = false;
    ListMode listMode = ListMode::Replace;
};

class CMainDlg : public CDialog {
    Q_OBJECT
public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnCommand(int id) override;
    void OnDoubleClick(int id) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class CSearchProgress;
    class CSearchingState;
    class CWindowReport;

    // Window frame and small handlers.
    void OnSize(int cx, int cy);
    void OnGetMinMaxInfo();
    void OnSizeRange();
    void OnCheckSound();
    void OnOnlyWithSound();
    void OnBrowse();
    void OnAbout();
    void OnDblclkResults();

    // Search command and progress.
    void OnSearch();
    // Reads the form into settings; false (the user told why) when a field
    // does not hold what it must.
    bool ReadSearchForm(CSearchSettings& settings);
    void SetStatus(int count, const char* text);

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
    CResultsList m_listResults;
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
};
