#pragma once
// One extraction run on a thread of its own, reporting to the main window.
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "audio/extract.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "ui/maindlg.h"
#include "ui/statusbar.h"
#include "ui/translate.h"

// One run in the background. Rows wait in a queue that the window empties
// whenever it gets to it; a message box stops the run until it is answered.
// Everything the window sees happens on the window's thread.
class CMainDlg::CExtraction final : public IExtractReport {
public:
    CExtraction(CMainDlg& dlg, std::vector<CString> sources, const CExtractOptions& options, AfterExtraction then)
        : m_dlg(dlg), m_then(std::move(then)), m_firstSource(sources.front())
    {
        m_thread = std::thread([this, sources = std::move(sources), options] {
            RunExtraction(sources, *this, options, &m_summary);
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
        FlushPending();
        Drain();
        const CString format
            = TrFormat("CMainDlg", QT_TRANSLATE_NOOP("CMainDlg", "%d memos written, %d without a memo, %d failed"));
        CString summary = FormatText(format.c_str(), m_summary.nWritten, m_summary.nWithoutMemo, m_summary.nFailed);
        if (m_summary.bCancelled)
            summary += FromDisplay(CMainDlg::tr(", cancelled"));
        m_dlg.AppendLogRow(summary);
        if (CListView* log = m_dlg.m_listLog.View()) {
            log->Model()->Flush();
            log->scrollToBottom();
        }
    }
    void After() const
    {
        if (m_then)
            m_then(m_summary.bCancelled, m_firstOutput);
    }

    // The run's side.
    void WriteLogRow(const CString& text) override
    {
        CString row = TrExtractText(text);
        // A failure's own row takes the reason of the message just shown;
        // a message without a row of its own gets one, so that the log
        // tells every failure, also those a "Skip All" kept off the screen.
        if (!m_pending.empty()) {
            if (text.rfind("Error", 0) == 0)
                row += m_pendingReason;
            else
                AddRow(m_pending);
            m_pending.clear();
        }
        AddRow(row);
    }
    void ShowMessage(const char* format, const CString& path, int error) override
    {
        const CString translated = TrFormat("IExtractReport", format);
        CString text = FormatText(translated.c_str(), path.c_str());
        const CString reason = error != 0 ? CString("\n") + DescribeError(error) : CString();
        text += reason;
        FlushPending();
        m_pending = translated.substr(0, translated.find('\n')) + reason;
        m_pendingReason = reason;
        QMetaObject::invokeMethod(&m_context, [this, &text] {
            Drain();
            if (m_bGoing || m_bSkipAll)
                return;
            const services::Choice answer
                = services::ChoiceBox(&m_dlg, text, {services::Choice::Ok, services::Choice::SkipAll});
            m_bSkipAll = answer == services::Choice::SkipAll;
        }, Qt::BlockingQueuedConnection);
    }
    void Result(const CExtractResult& result) override
    {
        FlushPending();
        if (m_firstOutput.empty() && result.nMemo <= 1 && result.strSource == m_firstSource
            && result.outcome == ExtractOutcome::Done)
            m_firstOutput = result.strOutput;
    }
    std::optional<CString> OtherOutputFolder(const CString& folder, int /*error*/) override
    {
        std::optional<CString> chosen;
        QMetaObject::invokeMethod(&m_context, [this, &folder, &chosen] {
            Drain();
            if (!m_bGoing)
                chosen = m_dlg.AskOtherOutputFolder(folder);
        }, Qt::BlockingQueuedConnection);
        return chosen;
    }
    bool KeepGoing(size_t done, size_t /*total*/) override
    {
        m_done = done;
        return !m_bCancel;
    }

private:
    void AddRow(const CString& row)
    {
        const std::lock_guard lock(m_mutex);
        m_rows.push_back(row);
        if (m_rows.size() == 1)
            QMetaObject::invokeMethod(&m_context, [this] { Drain(); }, Qt::QueuedConnection);
    }
    void FlushPending()
    {
        if (!m_pending.empty())
            AddRow(m_pending);
        m_pending.clear();
    }
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
        m_dlg.m_status->SetDone(static_cast<int>(m_done));
    }

    CMainDlg& m_dlg;
    AfterExtraction m_then;
    QObject m_context; // the target of the run's calls; going, it takes them along
    std::mutex m_mutex;
    std::vector<CString> m_rows;
    std::atomic<size_t> m_done{0};
    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bDone{false};
    std::atomic<bool> m_bGoing{false}; // the window is going away
    CExtractSummary m_summary;
    // The run's side: the row of the last message, until a row takes it.
    CString m_pending;
    CString m_pendingReason;
    // The window's side: the user asked to see no more failures this run.
    bool m_bSkipAll = false;
    // Where the first memo of the first row went (Extract and play).
    const CString m_firstSource;
    CString m_firstOutput;
    std::thread m_thread;
};

