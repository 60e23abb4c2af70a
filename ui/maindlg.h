#pragma once
// The program's one window, a photo tool. It coordinates the parts it lays
// out: the search bar, the results beside the viewer, the log, the status.
#include <QByteArray>
#include <QIcon>
#include <QSize>
#include <QSplitter>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "audio/extract.h"
#include "platform/cstring.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog.h"
#include "search/filesearch.h"
#include "ui/resultslist.h"

class CActivityPanel;
class CPreviewPane;
class CResultsViews;
class CSearchBar;
class CWorkStatus;

// What a search's hits do to the results list: the radio group's order.
enum class ListMode { Replace, Add, Remove };

// Everything a search needs from the form, read once as it starts.
struct CSearchSettings {
    CSearchOptions options;
    bool bCheckSound = false;
    bool bOnlyWithSound = false;
    ListMode listMode = ListMode::Replace;
};

// What the window remembers from one run to the next. An empty "Look in"
// is the user's Pictures folder; a first run searches subfolders for sound.
struct CFormMemory {
    CString strLookIn;
    CString strFileMask = kDefaultFileMask;
    bool bSubfolders = true;
    bool bCheckSound = true;
    bool bOnlyWithSound = false;
    bool bSizeRange = false;
    int32_t nSizeMinKB = 0;
    int32_t nSizeMaxKB = 0;
};

// The window's own shape between runs; empty values leave the defaults.
struct CWindowMemory {
    QSize size;
    bool bMaximized = false;
    QByteArray splitter;
    QByteArray columns;
    // The search options' panel: unknown until the user first searched.
    std::optional<bool> bOptionsFolded;
    // The results as thumbnails rather than as a list.
    bool bThumbnails = false;
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
    void RestoreWindow(const CWindowMemory& memory) { m_windowMemory = memory; }
    CWindowMemory GetWindowMemory() const;
    // The user's Pictures folder, or home when there is none.
    static CString DefaultLookIn();
    // An extraction, or an export of the list, runs in the background.
    bool IsExtracting() const { return m_extraction != nullptr; }
    bool IsExporting() const { return m_listExport != nullptr; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnCommand(int id) override;
    void OnRowActivated(int id, int row) override;
    void OnContextMenu(int id, int row, const QPoint& globalPos) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class CSearchProgress;
    class CSearchingState;
    class CExtraction;
    class CListExport;

    // Window frame, keys and small handlers.
    void BuildLayout();
    void OnEscape();
    void CopySelectedPaths();
    // Opens path in its program, or says that no program would.
    void OpenPath(const CString& path);
    void OnSizeRange();
    void OnCheckSound();
    void OnOnlyWithSound();
    void OnBrowse();
    void OnAbout();
    void OnDblclkResults(int row);
    // Plays a row's memo straight from its picture, writing no file.
    void PlayFromPicture(const CString& path);
    // Saves the rows shown, in their order, as a CSV record of their memos,
    // in the background; EndExport takes its end.
    void ExportList();
    void EndExport();
    // Stops the extraction or export the progress bar shows.
    void CancelBackgroundWork();
    void PlayMemo(const CString& path, const std::vector<unsigned char>& wav);
    void ReportPlay(bool started, const CString& path);
    void OnCurrentRowChanged();

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
    // Asks for a folder and extracts the selected rows below it, each at
    // its path below "Look in".
    void ExtractTo();
    // The run could not write beside a picture in folder: once per run, the
    // user may name another folder to write to.
    std::optional<CString> AskOtherOutputFolder(const CString& folder);
    std::optional<CString> PickOutputFolder();
    // Starts the extraction over the selected rows in the background; then
    // hears whether it was cancelled and where the first row's first memo
    // was written (empty when it was not).
    using AfterExtraction = std::function<void(bool cancelled, const CString& firstOutput)>;
    void RunExtractSound(const CExtractOptions& options = {}, AfterExtraction then = {});
    void EndExtraction();
    // Search and the extraction commands wait while an extraction runs.
    void UpdateCommands();
    // Appends a row at the end of the log list.
    void AppendLogRow(const CString& text);

    CButton m_btnOnlyWithSound;
    CButton m_btnCheckSound;
    CListCtrl m_listLog;
    CResultsList m_listResults;
    int32_t m_bSizeRange = 0;
    int32_t m_bSubfolders = 0;
    CString m_strFileMask = kDefaultFileMask;
    int32_t m_nSizeMaxKB = 0;
    int32_t m_nSizeMinKB = 0;
    CString m_strLookIn = DefaultLookIn();
    CString m_strContaining;
    int m_nListMode = 0;
    int32_t m_bOnlyWithSound = 0;
    int32_t m_bCheckSound = 0;
    QIcon m_hIcon;
    QIcon m_imageList;
    bool m_bSearching = false;
    CFileSearch m_finder;
    // The window was closed during a search or an extraction: it closes
    // when that has ended.
    bool m_bCloseAfterSearch = false;
    bool m_bCloseAfterExtraction = false;
    bool m_bSearchCancelled = false;
    CWindowMemory m_windowMemory;
    // The folder last extracted to, where the picker opens next time.
    CString m_strLastOutputDir;
    std::unique_ptr<CExtraction> m_extraction;
    std::unique_ptr<CListExport> m_listExport;
    QSplitter* m_splitter = nullptr;
    CResultsViews* m_results = nullptr;
    CSearchBar* m_searchBar = nullptr;
    CPreviewPane* m_preview = nullptr;
    CActivityPanel* m_activity = nullptr;
    CWorkStatus* m_status = nullptr;
};
