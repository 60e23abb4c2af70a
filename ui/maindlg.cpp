#include "ui/maindlg.h"

#include <sys/stat.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QResizeEvent>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "platform/qt/ddx.h"
#include "platform/qt/eventloop.h"
#include "platform/qt/services.h"
#include "platform/qt/text.h"
#include "res/icons.h"
#include "res/templates.h"
#include "search/pathparts.h"
#include "ui/aboutdlg.h"

namespace {

// The size the window had when first shown, for the whole process.
struct MinimumTrackSize {
    bool bUnset = true;
    QSize size;
} g_minTrackSize;

// The controls that follow the window's width: these grow, Browse moves.
constexpr int kWidening[] = {IDC_DEFINEGROUP, IDC_OPTIONSGROUP, IDC_MODEFRAME, IDC_LOOKIN, IDC_BROWSE, IDC_LOG};

// A relative path is taken from the working folder.
CString FromWorkingFolder(const CString& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? path : AddBackSlash(here.native().c_str()) + path;
}

} // namespace

CMainDlg::CMainDlg(QWidget* parent)
    : CDialog(res::MainDialogTemplate(), parent), m_hIcon(res::LoadIconResource(IDR_MAINFRAME))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    // A folder or picture dropped on the window fills "Look in".
    setAcceptDrops(true);
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::RestoreForm(const CFormMemory& memory)
{
    if (!memory.strLookIn.empty())
        m_strLookIn = memory.strLookIn;
    m_strFileMask = memory.strFileMask;
    m_bSubfolders = memory.bSubfolders;
    m_bCheckSound = memory.bCheckSound || memory.bOnlyWithSound;
    m_bOnlyWithSound = memory.bOnlyWithSound;
    m_bSizeRange = memory.bSizeRange;
    m_nSizeMinKB = memory.nSizeMinKB;
    m_nSizeMaxKB = memory.nSizeMaxKB;
}

CFormMemory CMainDlg::GetFormMemory() const
{
    return {m_strLookIn,   m_strFileMask, m_bSubfolders != 0, m_bCheckSound == 1, m_bOnlyWithSound != 0,
            m_bSizeRange != 0, m_nSizeMinKB, m_nSizeMaxKB};
}

void CMainDlg::SetLookIn(const CString& path)
{
    if (path.empty())
        return;
    CString folder = FromWorkingFolder(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
        folder = CPathParts(folder.c_str()).GetLocation();
    if (GetDlgItem(IDC_LOOKIN))
        SetDlgItemText(IDC_LOOKIN, folder);
    else
        m_strLookIn = folder;
}

void CMainDlg::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void CMainDlg::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    const QByteArray path = QFile::encodeName(urls.front().toLocalFile());
    SetLookIn(CString(path.constData(), static_cast<size_t>(path.size())));
    event->acceptProposedAction();
}

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

    // A size range remembered from the last run comes with its fields.
    OnSizeRange();
    m_initialClient = size();
    for (const int id : kWidening) {
        if (QWidget* control = GetDlgItem(id))
            m_initialGeometry[id] = control->geometry();
    }

    m_imageList = res::LoadIconResource(IDI_SPEAKER);
    m_listResults.InsertColumns(m_imageList);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this, this, &CMainDlg::ExportList);
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

void CMainDlg::OnRowActivated(int id, int row)
{
    if (id == IDC_RESULTS)
        OnDblclkResults(row);
}

void CMainDlg::OnCancel()
{
    // Closing in the middle of a search would pull the window from under
    // it: the search is stopped, and the window closes once it has ended.
    if (m_bSearching) {
        m_bCloseAfterSearch = true;
        m_finder.StopSearch();
        return;
    }
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
    // "Look in", the frames around it and the log follow the window's
    // width; every other control above the results keeps its place.
    if (m_initialClient.isValid()) {
        const int dx = std::max(0, cx - m_initialClient.width());
        for (const auto& [id, rect] : m_initialGeometry) {
            if (QWidget* control = GetDlgItem(id))
                control->setGeometry(id == IDC_BROWSE ? rect.translated(dx, 0) : rect.adjusted(0, 0, dx, 0));
        }
    }
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
    // The picker opens where "Look in" points; cancelling it changes nothing.
    const auto folder
        = services::BrowseForFolder(this, FromDisplay(tr("Select a directory...")), ExpandHome(GetDlgItemText(IDC_LOOKIN)));
    if (folder)
        SetDlgItemText(IDC_LOOKIN, *folder);
}

void CMainDlg::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}

void CMainDlg::OnDblclkResults(int row)
{
    CWaitCursor wait;
    // The row under the pointer, or the current row for Enter.
    if (row >= 0 && row < m_listResults.Count())
        services::ShellOpen(m_listResults.GetRowPath(row));
}

void CMainDlg::AppendLogRow(const CString& text)
{
    m_listLog.InsertItem(m_listLog.GetItemCount(), text);
}

void CMainDlg::SearchWhenShown(const CString& path)
{
    // Started from a file manager: the search runs at once, and the picture
    // the user pointed at is selected once its row is there.
    const CString file = FromWorkingFolder(path);
    QTimer::singleShot(0, this, [this, file] {
        OnSearch();
        CListView* view = m_listResults.View();
        const int row = m_listResults.Find(file);
        if (!view || row < 0)
            return;
        view->Model()->Flush();
        const QModelIndex index = view->ViewIndex(row);
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(index);
        view->setFocus();
    });
}
