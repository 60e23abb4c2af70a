#include "ui/maindlg.h"

#include <QResizeEvent>
#include <QShowEvent>

#include "platform/qt/ddx.h"
#include "platform/qt/eventloop.h"
#include "platform/qt/services.h"
#include "res/icons.h"
#include "res/templates.h"
#include "ui/aboutdlg.h"

namespace {

// The size the window had when first shown, for the whole process.
struct MinimumTrackSize {
    bool bUnset = true;
    QSize size;
} g_minTrackSize;

} // namespace

CMainDlg::CMainDlg(QWidget* parent)
    : CDialog(res::MainDialogTemplate(), parent), m_hIcon(res::LoadIconResource(IDR_MAINFRAME))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_ONLYWITHSOUND, m_btnOnlyWithSound);
    DDX_Control(pDX, IDC_CHECKSOUND, m_btnCheckSound);
    DDX_Control(pDX, IDC_LOG, m_listLog);
    DDX_Control(pDX, IDC_RESULTS, m_listResults);
    DDX_Check(pDX, IDC_SIZERANGE, m_bSizeRange);
    DDX_Check(pDX, IDC_SUBFOLDERS, m_bSubfolders);
    DDX_Text(pDX, IDC_FILEMASK, m_strFileMask);
    DDX_Text(pDX, IDC_SIZEMAX, m_nSizeMaxKB);
    DDX_Text(pDX, IDC_SIZEMIN, m_nSizeMinKB);
    DDX_Text(pDX, IDC_LOOKIN, m_strLookIn);
    DDX_Text(pDX, IDC_CONTAINING, m_strContaining);
    DDX_Radio(pDX, IDC_REPLACE, m_nListMode);
    DDX_Check(pDX, IDC_ONLYWITHSOUND, m_bOnlyWithSound);
    DDX_Check(pDX, IDC_CHECKSOUND, m_bCheckSound);
}

bool CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    setWindowIcon(m_hIcon);

    m_imageList = res::LoadIconResource(IDI_SPEAKER);
    m_listResults.InsertColumns(m_imageList);
    if (QWidget* first = GetDlgItem(IDC_LOOKIN))
        first->setFocus();
    return true;
}

void CMainDlg::OnCommand(int id)
{
    switch (id) {
    case IDOK:
        OnSearch();
        break;
    case IDCANCEL:
        OnCancel();
        break;
    case IDC_SIZERANGE:
        OnSizeRange();
        break;
    case IDC_BROWSE:
        OnBrowse();
        break;
    case IDC_EXTRACT:
        ExtractSound();
        break;
    case IDC_ABOUT:
        OnAbout();
        break;
    case IDC_CHECKSOUND:
        OnCheckSound();
        break;
    case IDC_ONLYWITHSOUND:
        OnOnlyWithSound();
        break;
    case IDC_EXTRACTPLAY:
        ExtractAndPlay();
        break;
    default:
        break;
    }
}

void CMainDlg::OnDoubleClick(int id)
{
    if (id == IDC_RESULTS)
        OnDblclkResults();
}

void CMainDlg::OnCancel()
{
    // Closing in the middle of a search would pull the window from under it.
    if (m_bSearching)
        return;
    CDialog::OnCancel();
}

void CMainDlg::showEvent(QShowEvent* event)
{
    CDialog::showEvent(event);
    OnGetMinMaxInfo();
}

void CMainDlg::OnGetMinMaxInfo()
{
    if (!isVisible())
        return;
    if (g_minTrackSize.bUnset) {
        g_minTrackSize.bUnset = false;
        g_minTrackSize.size = size();
    }
    setMinimumSize(g_minTrackSize.size);
}

void CMainDlg::resizeEvent(QResizeEvent* event)
{
    CDialog::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void CMainDlg::OnSize(int cx, int cy)
{
    QWidget* list = m_listResults.GetWidget();
    if (!list)
        list = GetDlgItem(IDC_RESULTS);
    if (!list)
        return;
    // Right and bottom margins follow the left one; a minimised window
    // never gives the list a negative size.
    const int left = list->x();
    const int top = list->y();
    list->setGeometry(left, top, std::max(0, cx - 2 * left), std::max(0, cy - left - top));
}

void CMainDlg::OnSizeRange()
{
    const bool ticked = IsDlgButtonChecked(IDC_SIZERANGE) == BST_CHECKED;
    EnableDlgItem(IDC_SIZEMIN, ticked);
    EnableDlgItem(IDC_SIZEMAX, ticked);
}

void CMainDlg::OnCheckSound()
{
    UpdateData(true);
    if (m_bCheckSound != 1)
        m_btnOnlyWithSound.SetCheck(BST_UNCHECKED);
    UpdateData(true);
}

void CMainDlg::OnOnlyWithSound()
{
    UpdateData(true);
    if (m_bOnlyWithSound == 1)
        m_btnCheckSound.SetCheck(BST_CHECKED);
    UpdateData(true);
}

void CMainDlg::OnBrowse()
{
    const auto folder = services::BrowseForFolder(this, "Select a directory...");
    SetDlgItemText(IDC_LOOKIN, folder.value_or(CString()));
}

void CMainDlg::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}

void CMainDlg::OnDblclkResults()
{
    CWaitCursor wait;
    // The row holding the selection mark, not the one under the pointer.
    if (const auto path = m_listResults.MarkedPath())
        services::ShellOpen(*path);
}

void CMainDlg::AppendLogRow(const CString& text)
{
    m_listLog.InsertItem(m_listLog.GetItemCount(), text);
}
