// Extract Sound and Extract and play: the extraction run on a thread of its
// own, its rows and messages carried over to the window, which keeps
// answering all the while.
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <thread>

#include "audio/extract.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "ui/maindlg.h"

namespace {
// New log rows reach the screen at this pace while a run goes on.
constexpr int kLogRefreshMs = 40;
}

// One run in the background. Rows wait in a queue that the window empties
// whenever it gets to it; a message box stops the run until it is answered.
// Everything the window sees happens on the window's thread.
class CMainDlg::CExtraction final : public IExtractReport {
public:
    CExtraction(CMainDlg& dlg, std::vector<CString> sources, const CExtractOptions& options, AfterExtraction then)
        : m_dlg(dlg), m_total(sources.size()), m_then(std::move(then))
    {
        m_thread = std::thread([this, sources = std::move(sources), options] {
            m_written = RunExtraction(sources, *this, options, &m_summary);
            // The run is over: the window takes its results when it gets here.
            QMetaObject::invokeMethod(&m_dlg, [dlg = &m_dlg] { dlg->EndExtraction(); }, Qt::QueuedConnection);
            m_bDone = true;
        });
    }
    ~CExtraction() override
    {
        // Only a window that goes mid-run gets here with the run going: it
        // stops after the file in hand, and a message it asks for is not shown.
        m_bGoing = true;
        m_bCancel = true;
        while (!m_bDone) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        if (m_thread.joinable())
            m_thread.join();
    }
    CExtraction(const CExtraction&) = delete;
    CExtraction& operator=(const CExtraction&) = delete;

    void Cancel() { m_bCancel = true; }

    // The window's side, once the run has ended: its last rows, the summary
    // and what follows.
    void Finish()
    {
        m_thread.join();
        Drain();
        CString summary = FormatText(FromDisplay(tr("%d memos written, %d without a memo, %d failed")).c_str(),
                                     m_summary.nWritten, m_summary.nWithoutMemo, m_summary.nFailed);
        if (m_summary.bCancelled)
            summary += FromDisplay(tr(", cancelled"));
        m_dlg.AppendLogRow(summary);
        if (CListView* log = m_dlg.m_listLog.View()) {
            log->Model()->Flush();
            log->scrollToBottom();
        }
    }
    void After() const
    {
        if (m_then)
            m_then(m_summary.bCancelled, m_written);
    }

    // The run's side.
    void WriteLogRow(const CString& text) override
    {
        const std::lock_guard lock(m_mutex);
        m_rows.push_back(text);
        if (m_rows.size() == 1)
            QMetaObject::invokeMethod(&m_context, [this] { Drain(); }, Qt::QueuedConnection);
    }
    void ShowMessage(const char* format, const CString& path, int /*error*/) override
    {
        const CString text = FormatText(format, path.c_str());
        QMetaObject::invokeMethod(&m_context, [this, &text] {
            Drain();
            if (!m_bGoing)
                services::MessageBox(&m_dlg, text);
        }, Qt::BlockingQueuedConnection);
    }
    bool KeepGoing(size_t done, size_t /*total*/) override
    {
        m_done = done;
        return !m_bCancel;
    }

private:
    static QString tr(const char* text) { return QCoreApplication::translate("CMainDlg", text); }

    // The rows written so far, appended to the log in one go.
    void Drain()
    {
        std::vector<CString> rows;
        {
            const std::lock_guard lock(m_mutex);
            rows.swap(m_rows);
        }
        for (const CString& row : rows)
            m_dlg.AppendLogRow(row);
        m_dlg.m_progress->setValue(static_cast<int>(m_done));
    }

    CMainDlg& m_dlg;
    const size_t m_total;
    AfterExtraction m_then;
    QObject m_context; // the target of the run's calls; going, it takes them along
    std::mutex m_mutex;
    std::vector<CString> m_rows;
    std::atomic<size_t> m_done{0};
    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bDone{false};
    std::atomic<bool> m_bGoing{false}; // the window is going away
    CExtractSummary m_summary;
    std::vector<CString> m_written;
    std::thread m_thread;
};

CMainDlg::~CMainDlg()
{
    // A run still going ends before the window it reports to.
    m_extraction.reset();
}

void CMainDlg::CEndExtraction::operator()(CExtraction* run) const
{
    delete run;
}

void CMainDlg::CancelExtraction()
{
    if (m_extraction)
        m_extraction->Cancel();
}

void CMainDlg::ExtractSound()
{
    RunExtractSound();
}

void CMainDlg::RunExtractSound(const CExtractOptions& options, AfterExtraction then)
{
    if (m_extraction)
        return;
    m_listLog.DeleteAllItems();
    std::vector<CString> sources = m_listResults.SelectedPaths();
    if (sources.empty()) {
        // Nothing to run: the message the run gives, at once.
        services::MessageBox(this, "Error No items were selected!");
        return;
    }
    m_progress->setRange(0, static_cast<int>(sources.size()));
    m_progress->setValue(0);
    m_listLog.SetBatchInterval(kLogRefreshMs);
    m_extraction.reset(new CExtraction(*this, std::move(sources), options, std::move(then)));
    UpdateCommands();
}

void CMainDlg::EndExtraction()
{
    if (!m_extraction)
        return;
    const std::unique_ptr<CExtraction, CEndExtraction> run = std::move(m_extraction);
    m_progress->setValue(m_progress->maximum());
    m_listLog.SetBatchInterval(0);
    run->Finish();
    UpdateCommands();
    if (m_bCloseAfterExtraction) {
        m_bCloseAfterExtraction = false;
        OnCancel();
        return;
    }
    run->After();
}

void CMainDlg::UpdateCommands()
{
    const bool extracting = m_extraction != nullptr;
    EnableDlgItem(IDOK, !extracting);
    EnableDlgItem(IDC_EXTRACT, !extracting);
    EnableDlgItem(IDC_EXTRACTPLAY, !extracting);
    m_progress->setVisible(extracting);
    m_btnStop->setVisible(extracting);
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
    const auto play = [this](const CString& path) {
        if (services::PlaySound(path)) {
            AppendLogRow(FormatText("Playing %s", path.c_str()));
            m_preview->SoundStarted();
        } else {
            services::MessageBox(this, "Could not play the sound");
        }
    };
    if (tail == "wav") {
        m_listLog.DeleteAllItems();
        play(playPath);
        return;
    }
    playPath += ".wav";
    // Only what this run wrote is the row's sound: a WAV left from an
    // earlier run beside a picture that has none now is not played, and
    // nothing plays after Cancel.
    RunExtractSound({}, [playPath, play](bool cancelled, const std::vector<CString>& written) {
        if (!cancelled && std::find(written.begin(), written.end(), playPath) != written.end())
            play(playPath);
    });
}
