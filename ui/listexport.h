#pragma once
// "Export list…" on a thread of its own: a long list leaves the window free,
// the progress bar counts the rows, and Cancel stops before anything is
// written.
#include <QMetaObject>
#include <QObject>
#include <QProgressBar>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "audio/report.h"
#include "ui/maindlg.h"
#include "ui/statusbar.h"

class CMainDlg::CListExport {
public:
    CListExport(CMainDlg& dlg, CString path, std::vector<CString> files) : m_path(std::move(path))
    {
        m_thread = std::thread([this, &dlg, files = std::move(files)] {
            m_bWritten = WriteCsvReport(m_path, files, &m_error, [this, &dlg](size_t done) {
                // The bar moves in steps; a call left queued goes with this object.
                const auto show = [&dlg, done] { dlg.m_status->SetDone(static_cast<int>(done)); };
                if (done % 32 == 0)
                    QMetaObject::invokeMethod(&m_context, show, Qt::QueuedConnection);
                return !m_bCancel;
            });
            QMetaObject::invokeMethod(&dlg, [&dlg] { dlg.EndExport(); }, Qt::QueuedConnection);
        });
    }
    ~CListExport()
    {
        m_bCancel = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    CListExport(const CListExport&) = delete;
    CListExport& operator=(const CListExport&) = delete;

    void Cancel() { m_bCancel = true; }
    // Once the thread has said it is done.
    void Join() { m_thread.join(); }
    // The reason the list was not written; 0 when it was, ECANCELED on Cancel.
    int Error() const { return m_bWritten ? 0 : m_error; }
    const CString& Path() const { return m_path; }

private:
    const CString m_path;
    QObject m_context;
    std::atomic<bool> m_bCancel{false};
    bool m_bWritten = false;
    int m_error = 0;
    std::thread m_thread;
};
