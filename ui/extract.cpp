// Extract Sound and Extract and play: the window's side of the extraction
// run, forwarding its rows to the log list and its messages to the user.
#include <algorithm>
#include <cctype>

#include "audio/extract.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "ui/maindlg.h"
#include "ui/translate.h"

class CMainDlg::CWindowReport : public IExtractReport {
public:
    explicit CWindowReport(CMainDlg& dlg) : m_dlg(dlg) {}
    void WriteLogRow(const CString& text) override { m_dlg.AppendLogRow(TrExtractText(text)); }
    void ShowMessage(const char* format, const CString& path, int /*error*/) override
    {
        services::MessageBox(&m_dlg, FormatText(TrFormat("IExtractReport", format).c_str(), path.c_str()));
    }

private:
    CMainDlg& m_dlg;
};

void CMainDlg::ExtractSound()
{
    RunExtractSound();
}

std::vector<CString> CMainDlg::RunExtractSound(const CExtractOptions& options)
{
    m_listLog.DeleteAllItems();
    CWindowReport report(*this);
    return RunExtraction(m_listResults.SelectedPaths(), report, options);
}

void CMainDlg::ExtractAndPlay()
{
    const std::vector<CString> selected = m_listResults.SelectedPaths();
    if (selected.empty()) {
        services::MessageBox(this, FromDisplay(tr("Please select a item in the Search results list")));
        return;
    }
    CString playPath = selected.front();
    CString tail = playPath.size() > 3 ? playPath.substr(playPath.size() - 3) : playPath;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail != "wav") {
        playPath += ".wav";
        // Only what this run wrote is the row's sound: a WAV left from an
        // earlier run beside a picture that has none now is not played.
        const std::vector<CString> written = RunExtractSound();
        if (std::find(written.begin(), written.end(), playPath) == written.end())
            return;
    } else {
        m_listLog.DeleteAllItems();
    }
    if (services::PlaySound(playPath))
        AppendLogRow(FormatText(TrFormat("CMainDlg", "Playing %s").c_str(), playPath.c_str()));
    else
        services::MessageBox(this, FromDisplay(tr("Could not play the sound")));
}
