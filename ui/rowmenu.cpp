// The results rows' context menu: open, play straight from the picture,
// the three kinds of extraction, and the path for other programs.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <strings.h>

#include "audio/extract.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/ids.h"
#include "ui/maindlg.h"
#include "ui/translate.h"

void CMainDlg::OnContextMenu(int id, int row, const QPoint& globalPos)
{
    if (id != IDC_RESULTS || row < 0 || row >= m_listResults.Count())
        return;
    const CString path = m_listResults.GetRowPath(row);
    const CString folder = m_listResults.GetText(row, CResultsList::Column::Folder);
    CExtractOptions pcm;
    pcm.bPcm = true;
    CExtractOptions partial;
    partial.bKeepPartial = true;

    QMenu menu(this);
    menu.addAction(tr("&Open"), this, [&] { services::ShellOpen(path); });
    menu.addAction(tr("Open containing &folder"), this, [&] { services::ShowInFolder(path); });
    menu.addSeparator();
    menu.addAction(tr("&Play"), this, [&] { PlayFromPicture(path); });
    menu.addAction(tr("S&top playing"), this, [] { services::StopSound(); });
    menu.addSeparator();
    menu.addAction(tr("&Extract Sound"), this, [this] { RunExtractSound(); });
    menu.addAction(tr("Extract as PCM &WAV"), this, [&] { RunExtractSound(pcm); });
    menu.addAction(tr("Extract what &survives"), this, [&] { RunExtractSound(partial); });
    menu.addSeparator();
    menu.addAction(tr("&Copy path"), this, [&] { QGuiApplication::clipboard()->setText(ToDisplay(path)); });
    menu.exec(globalPos);
}

void CMainDlg::PlayFromPicture(const CString& path)
{
    m_listLog.DeleteAllItems();
    // A row that is a WAV file plays as it is.
    if (path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".wav") == 0) {
        if (services::PlaySound(path))
            AppendLogRow(FormatText(TrFormat("CMainDlg", QT_TR_NOOP("Playing %s")).c_str(), path.c_str()));
        else
            services::MessageBox(this, FromDisplay(tr("Could not play the sound")));
        return;
    }
    // Read, never written: a memo on read-only media or in someone else's
    // folder plays as well as any.
    std::vector<unsigned char> wav;
    if (!ReadMemo(path, wav)) {
        services::MessageBox(
            this, FormatText(TrFormat("CMainDlg", QT_TR_NOOP("No sound to play in\n%s")).c_str(), path.c_str()));
        return;
    }
    if (services::PlaySoundData(wav))
        AppendLogRow(FormatText(TrFormat("CMainDlg", "Playing %s").c_str(), path.c_str()));
    else
        services::MessageBox(this, FromDisplay(tr("Could not play the sound")));
}
