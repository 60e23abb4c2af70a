#include "ui/aboutdlg.h"

#include "res/icons.h"
#include "res/templates.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(res::AboutBoxTemplate(), parent)
{
    setWindowIcon(res::LoadIconResource(IDR_MAINFRAME));
}
