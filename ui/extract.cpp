// Extract Sound and Extract and play: the window's side of the extraction
// run, forwarding its rows to the log list and its messages to the user.
#include <algorithm>
#include <cctype>

#include "audio/extract.h"
#include "platform/qt/services.h"
#include "ui/maindlg.h"

class CMainDlg::CWindowReport : public IExtractReport {
public:
    explicit CWindowReport(CMainDlg& dlg) : m_dlg(dlg) {}
    void WriteLogRow(const CString& text) override { m_dlg.AppendLogRow(text); }
    void ShowMessage(const CString& text) override { services::MessageBox(&m_dlg, text); }

private:
    CMainDlg& m_dlg;
};

void CMainDlg::ExtractSound()
{
    m_listLog.DeleteAllItems();
    CWindowReport report(*this);
    RunExtraction(m_listResults.SelectedPaths(), report);
}

void CMainDlg::ExtractAndPlay()
{
    const std::vector<CString> selected = m_listResults.SelectedPaths();
    if (selected.empty()) {
        services::MessageBox(this, "Please select a item in the Search results list");
        return;
    }
    CString playPath = selected.front();
    CString tail = playPath.size() > 3 ? playPath.substr(playPath.size() - 3) : playPath;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail != "wav") {
        playPath += ".wav";
        ExtractSound();
    } else {
        m_listLog.DeleteAllItems();
    }
    if (services::PlaySound(playPath))
        AppendLogRow(FormatText("Playing %s", playPath.c_str()));
    else
        services::MessageBox(this, "Could not play the sound");
}
