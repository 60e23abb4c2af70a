// The rows of the results list: one per hit, its five texts the only record
// of the file it stands for.
#include <cinttypes>

#include "audio/jpegaudio.h"
#include "platform/qt/services.h"
#include "ui/maindlg.h"

void CMainDlg::AddFileToList(const char* path)
{
    CPathParts parts(path);
    UpdateData(true);

    bool bHasSound = false;
    if (m_bCheckSound == 1) {
        bHasSound = HasSound(parts.GetLocation(), parts.GetFileName());
        if (m_bOnlyWithSound && !bHasSound)
            return;
    }

    const CString name = parts.GetFileName();
    const CString location = parts.GetLocation();
    const int row = m_listResults.InsertItem(m_listResults.GetItemCount(), name);
    m_listResults.SetItemText(row, 1, location);
    m_rowIndex.Append(location + name);

    // Size and time come from one reading of the file's information.
    parts.GetFileInfo();
    const int64_t size = parts.GetInfoSize();
    const int64_t kb = size / 1024;
    m_listResults.SetItemText(row, 2, kb >= 10 ? FormatText("%" PRId64 " KB", kb) : FormatText("%" PRId64 " B", size));
    m_listResults.SetItemText(row, 3, parts.GetInfoTime(PATH_TIME_LAST_WRITE).FormatGmt("%d-%m-%Y %I:%M %p"));

    if (m_bCheckSound == 1)
        m_listResults.SetItemText(row, 4, bHasSound ? "Yes" : "No");
}

CString CMainDlg::GetRowPath(int row) const
{
    return m_listResults.GetItemText(row, 1) + m_listResults.GetItemText(row, 0);
}

int CMainDlg::FindInList(const char* path)
{
    // Rows changed behind the index's back: read them anew.
    if (m_rowIndex.Count() != m_listResults.GetItemCount()) {
        m_rowIndex.Clear();
        for (int row = 0; row < m_listResults.GetItemCount(); ++row)
            m_rowIndex.Append(GetRowPath(row));
    }
    return m_rowIndex.Find(path);
}

void CMainDlg::DeleteResultRow(int row)
{
    m_listResults.DeleteItem(row);
    m_rowIndex.Remove(row);
}

void CMainDlg::DeleteAllResults()
{
    m_listResults.DeleteAllItems();
    m_rowIndex.Clear();
}

void CMainDlg::OnDblclkResults()
{
    services::CWaitCursor wait;
    // The row holding the selection mark, not the one under the pointer.
    const int row = m_listResults.GetSelectionMark();
    if (row < 0)
        return;
    services::ShellOpen(GetRowPath(row));
}
