#include "app/mainapp.h"

#include "platform/qt/services.h"
#include "platform/qt/soundplayer.h"
#include "ui/maindlg.h"

CMainApp theApp;

bool CMainApp::InitInstance()
{
    // The sound plays for as long as the window lives, and goes with it.
    CSoundPlayer player;
    const services::PlaySoundFunction previous =
        services::SetPlaySound([&player](const CString& path) { return player.Play(path); });
    {
        CMainDlg dlg;
        dlg.DoModal();
    }
    services::SetPlaySound(previous);
    return false;
}
