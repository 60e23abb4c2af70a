#pragma once
// The program's one window: the search definition above, the results list
// below, the extraction buttons and their log in between.
#include <QIcon>
#include <QRect>

#include <cstdint>
#include <map>
#include <vector>

#include "audio/extract.h"
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

// What the window remembers from one run to the next.
struct CFormMemory {
    CString strLookIn;
    CString strFileMask;
    bool bSubfolders = false;
    bool bCheckSound = false;
    bool bOnlyWithSound = false;
    bool bSizeRange = false;
    int32_t nSizeMinKB = 0;
    int32_t nSizeMaxKB = 0;
};

class CMainDlg : public CDialog {
    Q_OBJECT
public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Before the window is created: the form as a previous run left it.
    void RestoreForm(const CFormMemory& memory);
    // The form as the last search (or the start) read it.
    CFormMemory GetFormMemory() const;
    // Puts a folder in "Look in"; a file given stands for its folder, and a
    // relative path is taken from the working folder. Before creation it
    // takes the place of the remembered folder.
    void SetLookIn(const CString& path);
    // Once the window runs: searches as the form stands and selects the row
    // of path when it is a file that the search lists.
    void SearchWhenShown(const CString& path);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnCommand(int id) override;
    void OnRowActivated(int id, int row) override;
    void OnContextMenu(int id, int row, const QPoint& globalPos) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

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
    void OnDblclkResults(int row);
    // Plays a row's memo straight from its picture, writing no file.
    void PlayFromPicture(const CString& path);
    // Saves the rows shown, in their order, as a CSV record of their memos.
    void ExportList();

    // Search command and progress.
    void OnSearch();
    // Reads the form into settings; false (the user told why) when a field
    // does not hold what it must, or "Look in" names no folder to read.
    bool ReadSearchForm(CSearchSettings& settings);
    bool CheckLookIn();
    void SetStatus(int count, const char* text);

    // Extraction.
    void ExtractSound();
    void ExtractAndPlay();
    // The extraction over the selected rows; the outputs it wrote.
    std::vector<CString> RunExtractSound(const CExtractOptions& options = {});
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
    // The window was closed during a search: it closes when the search ends.
    bool m_bCloseAfterSearch = false;
    // Where the controls that follow the window's size were at first.
    QSize m_initialClient;
    std::map<int, QRect> m_initialGeometry;
};
