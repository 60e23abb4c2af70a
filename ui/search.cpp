// The Search button: the form read once into one settings value, then a live
// search on this thread whose hits flow one way, from the finder through
// CSearchProgress into the results list, while the window keeps working
// between any two of them.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "audio/jpegaudio.h"
#include "platform/file.h"
#include "platform/qt/eventloop.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "search/pathparts.h"
#include "ui/maindlg.h"
#include "ui/searchbar.h"
#include "ui/translate.h"

namespace {
// Rows and paint reach the screen at this pace during a search.
constexpr int kRefreshMs = 40;
// Events are handled this often during a search.
constexpr std::chrono::microseconds kPumpInterval{1000};
}

// The finder's reports as the window shows them: rows by the list mode and
// the status line. Every hit is split once and read once. Between reports
// the window handles its events; the status line is written just before,
// so whatever runs then sees it up to date.
class CMainDlg::CSearchProgress final : public ISearchReport {
public:
    CSearchProgress(CMainDlg& dlg, const CSearchSettings& settings) : m_dlg(dlg), m_settings(settings) {}

    void OnFound(const CString& path) override
    {
        const CPathParts parts(path.c_str());
        const CString folder = parts.GetLocation();
        const CString name = parts.GetFileName();
        CResultsList& results = m_dlg.m_listResults;
        switch (m_settings.listMode) {
        case ListMode::Replace:
            Append(path, folder, name);
            break;
        case ListMode::Add:
            if (results.Find(path) == -1)
                Append(path, folder, name);
            break;
        case ListMode::Remove:
            if (const int row = results.Find(path); row != -1)
                results.Remove(row);
            break;
        }
        ShowProgress();
    }
    void OnDiscarded() override
    {
        ++m_nDiscarded;
        m_pump.Pump();
    }
    // Entries the size range turned away.
    int Discarded() const { return m_nDiscarded; }
    // Hits "Only list files with sound" kept off the list.
    int Hidden() const { return m_nHidden; }
    void OnFolder(const CString&) override { ShowProgress(); }
    // Inside a long read of one file the window still answers, and Cancel
    // or closing the window ends the read at once.
    bool KeepGoing() override
    {
        m_pump.Pump();
        return !m_dlg.m_finder.IsStopping();
    }

private:
    // path is folder + name: the split gives back the exact bytes.
    void Append(const CString& path, const CString& folder, const CString& name)
    {
        std::optional<CSoundAnswer> sound;
        if (m_settings.bCheckSound) {
            sound = CheckRowSound(path, [this] { return KeepGoing(); });
            // A test cut short by Cancel says nothing of the file.
            if (m_dlg.m_finder.IsStopping())
                return;
            // A file turned away leaves no trace in the list; a memo that
            // is missing or a file that cannot be read has nothing to play.
            if (m_settings.bOnlyWithSound && sound->check != SoundCheck::Yes) {
                ++m_nHidden;
                return;
            }
        }
        CFileInformation info;
        GetFileInformation(path, info);
        m_dlg.m_listResults.Append(folder, name, info, sound);
    }
    void ShowProgress()
    {
        if (!m_pump.Due())
            return;
        m_dlg.SetStatus(m_dlg.m_finder.GetFileCount(), m_dlg.m_finder.GetCurrentFolder());
        m_pump.Pump();
    }

    CMainDlg& m_dlg;
    const CSearchSettings& m_settings;
    CEventPump m_pump{kPumpInterval};
    int m_nDiscarded = 0;
    int m_nHidden = 0;
};

// While it lives the window is searching: the button reads "Cancel", the
// window refuses to close, keys get no dialog handling, and rows and paint
// reach the screen a few dozen times a second rather than once per file.
class CMainDlg::CSearchingState {
public:
    explicit CSearchingState(CMainDlg& dlg) : m_dlg(dlg), m_throttle(&dlg, kRefreshMs)
    {
        m_dlg.m_bSearching = true;
        m_dlg.SetDlgItemText(IDOK, FromDisplay(CMainDlg::tr("&Cancel")));
        m_dlg.SetDialogKeys(false);
        m_dlg.m_listResults.SetBatchInterval(kRefreshMs);
    }
    ~CSearchingState()
    {
        m_dlg.m_listResults.SetBatchInterval(0);
        m_dlg.SetDialogKeys(true);
        m_dlg.SetDlgItemText(IDOK, FromDisplay(CMainDlg::tr("&Search")));
        m_dlg.m_bSearching = false;
    }
    CSearchingState(const CSearchingState&) = delete;
    CSearchingState& operator=(const CSearchingState&) = delete;

private:
    CMainDlg& m_dlg;
    CPaintThrottle m_throttle;
};

// "Look in" as a shell user types it, and a folder that can be read: the
// user is told when it is not, and nothing is searched.
bool CMainDlg::CheckLookIn()
{
    const CString folder = ExpandHome(m_strLookIn);
    if (folder != m_strLookIn) {
        m_strLookIn = folder;
        SetDlgItemText(IDC_LOOKIN, folder);
    }
    int error = 0;
    struct stat info {};
    if (folder.empty())
        error = ENOENT;
    else if (::stat(folder.c_str(), &info) != 0)
        error = errno;
    else if (!S_ISDIR(info.st_mode))
        error = ENOTDIR;
    else if (const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir); !dir)
        error = errno;
    if (error == ENOENT || error == ENOTDIR) {
        const CString format = TrFormat("CMainDlg", QT_TR_NOOP("The folder to look in does not exist:\n%s"));
        services::MessageBox(this, FormatText(format.c_str(), folder.c_str()));
        return false;
    }
    if (error != 0) {
        const CString format = TrFormat("CMainDlg", QT_TR_NOOP("The folder to look in cannot be read:\n%s\n%s"));
        services::MessageBox(this, FormatText(format.c_str(), folder.c_str(), DescribeError(error)));
        return false;
    }
    return true;
}

bool CMainDlg::ReadSearchForm(CSearchSettings& settings)
{
    if (!UpdateData(true) || !CheckLookIn())
        return false;
    CSearchOptions& options = settings.options;
    options.Reset();
    options.strBaseFolder = m_strLookIn;
    options.strFileMask = m_strFileMask;
    options.bSubfolders = m_bSubfolders;
    if (m_bSizeRange) {
        options.dwOptions |= OPT_SIZE;
        options.nMinSize = static_cast<int64_t>(m_nSizeMinKB) * 1024;
        options.nMaxSize = static_cast<int64_t>(m_nSizeMaxKB) * 1024;
    }
    // Only files that pass the name and size tests are read for the text.
    if (!m_strContaining.empty()) {
        options.dwOptions |= OPT_TEXT;
        options.strFindText = m_strContaining;
    }
    settings.bCheckSound = m_bCheckSound == 1;
    settings.bOnlyWithSound = m_bOnlyWithSound != 0;
    settings.listMode = static_cast<ListMode>(m_nListMode);
    return true;
}

void CMainDlg::OnSearch()
{
    // The log is the running extraction's until it ends.
    if (m_extraction)
        return;
    m_listLog.DeleteAllItems();
    // A press during a search is the Cancel button: it only asks the finder
    // to stop; the search that is running finishes the work below.
    if (m_bSearching) {
        m_bSearchCancelled = true;
        m_finder.StopSearch();
        return;
    }

    CSearchSettings settings;
    if (!ReadSearchForm(settings))
        return;
    if (settings.listMode == ListMode::Replace) {
        m_listResults.RemoveAll();
        SetStatus(0, nullptr);
    }
    m_bSearchCancelled = false;
    int discarded = 0;
    int hidden = 0;
    {
        CSearchingState searching(*this);
        CSearchProgress progress(*this, settings);
        m_finder.RemoveAll();
        m_finder.FindFiles(settings.options, &progress);
        discarded = progress.Discarded();
        hidden = progress.Hidden();
    }
    // A search that lists nothing says why when the size range is the
    // reason, and one cut short says so.
    const int found = m_finder.GetFileCount();
    if (m_bSearchCancelled)
        SetDlgItemText(IDC_STATUS,
                       FormatText(TrFormat("CMainDlg", QT_TR_NOOP("Search cancelled, %d items found")).c_str(), found));
    else if (found == 0 && discarded > 0)
        SetDlgItemText(IDC_STATUS,
                       FormatText(TrFormat("CMainDlg", QT_TR_NOOP("0 items found, %d files outside the size range"))
                                      .c_str(),
                                  discarded));
    else if (hidden > 0)
        SetDlgItemText(IDC_STATUS,
                       FormatText(TrFormat("CMainDlg", QT_TR_NOOP("%d items found, %d with sound")).c_str(), found,
                                  found - hidden));
    else
        SetStatus(found, nullptr);
    // The rows are what the user came for: a search typed in the bar hands
    // the keyboard to them, so Ctrl+A and the arrows work on the pictures.
    // (The window's own focus: at start the window may not be active yet.)
    if (const QWidget* focus = focusWidget(); (!focus || m_searchBar->isAncestorOf(focus))
        && m_listResults.Count() > 0)
        m_listResults.View()->setFocus();
    if (m_bCloseAfterSearch) {
        m_bCloseAfterSearch = false;
        OnCancel();
    }
}

void CMainDlg::SetStatus(int count, const char* text)
{
    SetDlgItemText(IDC_STATUS, text ? FormatText("(%d) - %s", count, text)
                                    : FormatText(TrFormat("CMainDlg", QT_TR_NOOP("%d items found")).c_str(), count));
}
