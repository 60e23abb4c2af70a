#include "app/mainapp.h"

#include "app/aboutdlg.h"
#include "platform/qt/soundplayer.h"
#include "ui/maindlg.h"

CMainApp theApp;

bool CMainApp::InitInstance()
{
    CMainDlg::SetAboutBox(ShowAboutBox);
    CMainDlg dlg;
    dlg.DoModal();
    // The sound goes with the window: release the device before the end.
    CSoundPlayer::Instance().Stop();
    return false;
}
