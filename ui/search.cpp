// The Search button: a live search on this thread that fills the results
// list as hits arrive and keeps the window working between any two of them.
#include "platform/qt/services.h"
#include "ui/maindlg.h"

namespace {
constexpr int kRefreshMs = 40;
}

void CMainDlg::OnSearch()
{
    m_listLog.DeleteAllItems();
    // A press during a search is the Cancel button: it only asks the finder
    // to stop; the search that is running finishes the work below.
    if (m_bSearching) {
        m_finder.StopSearch();
        return;
    }

    CSearchOptions options;
    options.Reset();
    UpdateData(true);
    options.strBaseFolder = m_strLookIn;
    options.strFileMask = m_strFileMask;
    options.bSubfolders = m_bSubfolders;
    options.dwOptions |= OPT_ATTRIBUTES;
    options.dwFileAttributes = 0x80;
    if (m_bSizeRange) {
        options.dwOptions |= OPT_SIZE;
        options.nMinSize = static_cast<int64_t>(m_nSizeMinKB) * 1024;
        options.nMaxSize = static_cast<int64_t>(m_nSizeMaxKB) * 1024;
    }
    if (!m_strContaining.empty()) {
        options.dwOptions |= OPT_TEXT;
        options.strFindText = m_strContaining;
    }

    if (m_nListMode == 0) {
        DeleteAllResults();
        SetStatus(0, nullptr);
    }

    m_bSearching = true;
    SetDlgItemText(res::IDOK, "Cancel");
    SetDialogKeys(false);
    m_finder.RemoveAll();
    {
        // Rows and paint reach the screen a few dozen times a second rather
        // than once per file: the walk, not the window, sets the pace.
        services::CPaintThrottle throttle(this, kRefreshMs);
        m_listResults.SetBatchInterval(kRefreshMs);
        m_finder.FindFiles(options);
        m_listResults.SetBatchInterval(0);
    }
    SetDialogKeys(true);
    SetDlgItemText(res::IDOK, "Search");
    m_bSearching = false;
    SetStatus(m_finder.GetFileCount(), nullptr);
}

void SearchProgress(CFileSearch* finder, int code, void* user)
{
    auto* dlg = static_cast<CMainDlg*>(user);
    if (code == SEARCH_FOUND) {
        const CString path = finder->GetFilePath(finder->GetFileCount() - 1).GetFullPath();
        switch (dlg->m_nListMode) {
        case 0:
            dlg->AddFileToList(path.c_str());
            break;
        case 1:
            if (dlg->FindInList(path.c_str()) == -1)
                dlg->AddFileToList(path.c_str());
            break;
        case 2:
            if (const int row = dlg->FindInList(path.c_str()); row != -1)
                dlg->DeleteResultRow(row);
            break;
        default:
            break;
        }
        dlg->SetStatus(finder->GetFileCount(), finder->GetCurrentFolder());
    } else if (code == SEARCH_FOLDER) {
        dlg->SetStatus(finder->GetFileCount(), finder->GetCurrentFolder());
    }
    services::PumpMessages();
}

void CMainDlg::SetStatus(int count, const char* text)
{
    SetDlgItemText(IDC_STATUS, text ? FormatText("(%d) - %s", count, text) : FormatText("%d items found", count));
}
