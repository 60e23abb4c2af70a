// The results rows' context menu: open, play straight from the picture,
// the three kinds of extraction, and the path for other programs.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QThreadPool>
#include <memory>
#include <optional>
#include <strings.h>

#include "audio/extract.h"
#include "audio/report.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "search/pathparts.h"
#include "ui/listexport.h"
#include "ui/maindlg.h"
#include "ui/preview.h"
#include "ui/translate.h"

void CMainDlg::OnContextMenu(int id, int row, const QPoint& globalPos)
{
    if (id != IDC_RESULTS || row < 0 || row >= m_listResults.Count())
        return;
    const CString path = m_listResults.GetRowPath(row);
    CExtractOptions pcm;
    pcm.bPcm = true;
    CExtractOptions partial;
    partial.bKeepPartial = true;

    QMenu menu(this);
    menu.addAction(tr("&Open"), this, [&] { OpenPath(path); });
    menu.addAction(tr("Open containing &folder"), this, [&] { services::ShowInFolder(path); });
    menu.addSeparator();
    menu.addAction(tr("&Play"), this, [&] { PlayFromPicture(path); });
    menu.addAction(tr("S&top playing"), this, [] { services::StopSound(); });
    menu.addSeparator();
    // One piece of background work at a time.
    const bool idle = !m_extraction && !m_listExport;
    menu.addAction(tr("&Extract Sound"), this, [this] { RunExtractSound(); })->setEnabled(idle);
    QAction* extractTo = menu.addAction(tr("E&xtract to…"), this, [this] { ExtractTo(); });
    extractTo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    extractTo->setEnabled(idle);
    menu.addAction(tr("Extract as PCM &WAV"), this, [&] { RunExtractSound(pcm); })->setEnabled(idle);
    menu.addAction(tr("Extract what &survives"), this, [&] { RunExtractSound(partial); })->setEnabled(idle);
    menu.addSeparator();
    menu.addAction(tr("&Copy path"), this, [&] { QGuiApplication::clipboard()->setText(ToDisplay(path)); });
    menu.addSeparator();
    QAction* exportList = menu.addAction(tr("Export list…"), this, [this] { ExportList(); });
    exportList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportList->setEnabled(idle);
    menu.exec(globalPos);
}

void CMainDlg::PlayFromPicture(const CString& path)
{
    if (!m_extraction)
        m_listLog.DeleteAllItems();
    // A row that is a WAV file plays as it is.
    if (path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".wav") == 0) {
        ReportPlay(services::PlaySound(path), path);
        return;
    }
    // Read, never written: a memo on read-only media or in someone else's
    // folder plays as well as any. Read off the window's thread, as a memo
    // may be hundreds of megabytes; the window, if still there, plays it.
    QPointer<CMainDlg> self(this);
    QThreadPool::globalInstance()->start([self, path] {
        auto wav = std::make_shared<std::vector<unsigned char>>();
        const bool read = ReadMemo(path, *wav);
        QMetaObject::invokeMethod(qApp, [self, path, wav, read] {
            if (!self)
                return;
            if (read)
                self->PlayMemo(path, *wav);
            else
                services::MessageBox(self, FormatText(TrFormat("CMainDlg", QT_TR_NOOP("No sound to play in\n%s")).c_str(),
                                                      path.c_str()));
        }, Qt::QueuedConnection);
    });
}

void CMainDlg::PlayMemo(const CString& path, const std::vector<unsigned char>& wav)
{
    // While a message box is up (one saying a sound could not play), a
    // Play clicked before it came is dropped, not queued behind it.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != this)
        return;
    ReportPlay(services::PlaySoundData(wav, m_preview->StartOf(path)), path);
}

// Every Play ends here: the log row and the pane's Stop, or the reason why not.
void CMainDlg::ReportPlay(bool started, const CString& path)
{
    if (started) {
        AppendLogRow(FormatText(TrFormat("CMainDlg", QT_TR_NOOP("Playing %s")).c_str(), path.c_str()));
        m_preview->SoundStarted();
    } else {
        // Why, in the sound system's words, on a line of its own.
        const CString reason = services::GetSoundState().strError;
        services::MessageBox(this, FromDisplay(tr("Could not play the sound")) + "\n"
                                       + (reason.empty() ? FromDisplay(tr("no sound device")) : reason));
    }
}

void CMainDlg::ExportList()
{
    if (m_extraction || m_listExport)
        return;
    std::vector<CString> files = m_listResults.ShownPaths();
    const CString start = AddBackSlash(m_strLookIn.c_str()) + "vocaline.csv";
    const std::optional<CString> path = services::BrowseForSaveFile(this, FromDisplay(tr("Export list")), start,
                                                                    FromDisplay(tr("CSV files (*.csv)")));
    if (!path)
        return;
    m_status->Start(static_cast<int>(files.size()));
    m_listExport = std::make_unique<CListExport>(*this, *path, std::move(files));
    UpdateCommands();
}

void CMainDlg::EndExport()
{
    if (!m_listExport)
        return;
    const std::unique_ptr<CListExport> run = std::move(m_listExport);
    run->Join();
    UpdateCommands();
    if (const int error = run->Error(); error != 0 && error != ECANCELED)
        services::MessageBox(this, FormatText("%s\n%s\n%s", FromDisplay(tr("Could not write the list")).c_str(),
                                              run->Path().c_str(), DescribeError(error)));
}
