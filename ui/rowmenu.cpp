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
    menu.addAction(tr("&Open"), this, [&] { OpenPath(path); });
    menu.addAction(tr("Open containing &folder"), this, [&] { OpenPath(folder); });
    menu.addSeparator();
    menu.addAction(tr("&Play"), this, [&] { PlayFromPicture(path); });
    menu.addAction(tr("S&top playing"), this, [] { services::StopSound(); });
    menu.addSeparator();
    // One extraction at a time.
    const bool idle = !m_extraction;
    menu.addAction(tr("&Extract Sound"), this, [this] { RunExtractSound(); })->setEnabled(idle);
    menu.addAction(tr("Extract as PCM &WAV"), this, [&] { RunExtractSound(pcm); })->setEnabled(idle);
    menu.addAction(tr("Extract what &survives"), this, [&] { RunExtractSound(partial); })->setEnabled(idle);
    menu.addSeparator();
    menu.addAction(tr("&Copy path"), this, [&] { QGuiApplication::clipboard()->setText(ToDisplay(path)); });
    menu.exec(globalPos);
}

void CMainDlg::PlayFromPicture(const CString& path)
{
    if (!m_extraction)
        m_listLog.DeleteAllItems();
    // A row that is a WAV file plays as it is.
    if (path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".wav") == 0) {
        if (services::PlaySound(path)) {
            AppendLogRow(FormatText("Playing %s", path.c_str()));
            m_preview->SoundStarted();
        } else
            services::MessageBox(this, "Could not play the sound");
        return;
    }
    // Read, never written: a memo on read-only media or in someone else's
    // folder plays as well as any.
    std::vector<unsigned char> wav;
    if (!ReadMemo(path, wav)) {
        services::MessageBox(this, FormatText("No sound to play in\n%s", path.c_str()));
        return;
    }
    PlayMemo(path, wav);
}

void CMainDlg::PlayMemo(const CString& path, const std::vector<unsigned char>& wav)
{
    if (services::PlaySoundData(wav)) {
        AppendLogRow(FormatText("Playing %s", path.c_str()));
        m_preview->SoundStarted();
    } else {
        services::MessageBox(this, "Could not play the sound");
    }
}
