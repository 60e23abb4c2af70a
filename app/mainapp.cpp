#include "app/mainapp.h"

#include "app/aboutdlg.h"
#include "ui/maindlg.h"

CMainApp theApp;

bool CMainApp::InitInstance()
{
    CMainDlg::SetAboutBox(ShowAboutBox);
    CMainDlg dlg;
    dlg.DoModal();
    return false;
}
