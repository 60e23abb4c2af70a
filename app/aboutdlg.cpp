#include "app/aboutdlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(res::IDD_ABOUTBOX, parent)
{
    setWindowIcon(LoadIconResource(res::IDR_MAINFRAME));
}

void ShowAboutBox(QWidget* owner)
{
    CAboutDlg dlg(owner);
    dlg.DoModal();
}
