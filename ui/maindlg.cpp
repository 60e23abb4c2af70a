#include "ui/maindlg.h"

#include <sys/stat.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
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
#include "ui/activity.h"
#include "ui/extraction.h"
#include "ui/listexport.h"
#include "ui/preview.h"
#include "ui/resultsviews.h"
#include "ui/searchbar.h"
#include "ui/statusbar.h"
#include "ui/thumbgrid.h"

namespace {

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

CMainDlg::~CMainDlg()
{
    // A run still going ends before the window it reports to.
    m_extraction.reset();
    m_listExport.reset();
}

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

    m_imageList = res::LoadIconResource(IDI_SPEAKER);
    m_listResults.InsertColumns(m_imageList);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this, this, &CMainDlg::ExportList);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), this, this, [this] {
        if (!m_extraction && !m_listExport)
            ExtractTo();
    });
    BuildLayout();
    CListView* view = m_listResults.View();
    view->installEventFilter(this);
    m_results->Grid()->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &CMainDlg::OnCurrentRowChanged);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CMainDlg::OnCurrentRowChanged);
    // F5 searches, Ctrl+A selects every row (a field keeps its own), Ctrl+Q closes.
    connect(new QShortcut(QKeySequence::Refresh, this), &QShortcut::activated, this, [this] {
        if (!m_bSearching && !m_extraction)
            OnCommand(IDOK); // as the Search button: a first search folds the options
    });
    connect(new QShortcut(QKeySequence::SelectAll, this), &QShortcut::activated, view, &QAbstractItemView::selectAll);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, &QWidget::close);

    // A first start takes four fifths of the screen, the viewer nearly half
    // of it; later starts the last run's shape, never more than the screen.
    QSize start = m_windowMemory.size;
    QRect room(QPoint(0, 0), start.isValid() ? start : QSize(1024, 700));
    if (const QScreen* screen = this->screen())
        room = screen->availableGeometry();
    if (!start.isValid())
        start = room.size() * 4 / 5;
    start = start.expandedTo(minimumSizeHint()).boundedTo(room.size());
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, start, room));
    if (m_windowMemory.splitter.isEmpty() || !m_splitter->restoreState(m_windowMemory.splitter)) {
        const int list = std::max(start.width() * 52 / 100, m_listResults.FittingWidth());
        m_splitter->setSizes({list, start.width() - list});
    }
    m_listResults.RestoreColumns(m_windowMemory.columns);
    // The options stay open until the user first searches or folds them;
    // from then on they stay as the user leaves them.
    m_searchBar->SetFolded(m_windowMemory.bOptionsFolded.value_or(false));
    connect(m_searchBar->OptionsButton(), &QToolButton::toggled, this,
            [this](bool open) { m_windowMemory.bOptionsFolded = !open; });
    m_results->ShowThumbnails(m_windowMemory.bThumbnails);
    if (m_windowMemory.bMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    if (QWidget* first = GetDlgItem(IDC_LOOKIN))
        first->setFocus();
    return true;
}

void CMainDlg::OnCommand(int id)
{
    switch (id) {
    case IDOK:
        if (!m_windowMemory.bOptionsFolded && !m_bSearching)
            m_searchBar->SetFolded(true);
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
    case IDC_EXTRACTTO:
        ExtractTo();
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
    // The same for an extraction: it stops after the file in hand.
    if (m_extraction) {
        m_bCloseAfterExtraction = true;
        m_extraction->Cancel();
        return;
    }
    // An export is only a record: it stops and writes nothing.
    if (m_listExport)
        m_listExport->Cancel();
    CDialog::OnCancel();
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape stops the work in hand, also in the middle of a search, and
    // never closes the window: a stray press must not lose the list.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnEscape();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CMainDlg::OnEscape()
{
    // A memo playing is what the user hears: Escape silences it first.
    if (services::GetSoundState().bPlaying) {
        m_preview->PlayOrStop();
    } else if (m_bSearching) {
        m_bSearchCancelled = true;
        m_finder.StopSearch();
    } else {
        CancelBackgroundWork();
    }
}

void CMainDlg::CancelBackgroundWork()
{
    if (m_extraction)
        m_extraction->Cancel();
    if (m_listExport)
        m_listExport->Cancel();
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The grid shows the same rows: its keys do what the list's do.
    QWidget* list = watched == m_results->Grid() ? m_results->Grid() : m_listResults.GetWidget();
    if (watched == list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            // The other key for the menu, as the Menu key gives it.
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), list->mapToGlobal(QPoint()));
            QCoreApplication::sendEvent(list, &menu);
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            CopySelectedPaths();
            return true;
        }
        // Space plays the current row's memo, and stops it again.
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            CListView* view = m_listResults.View();
            const int row = view->ProgramRow(view->currentIndex());
            if (services::GetSoundState().bPlaying || (row >= 0 && m_preview->Shows(m_listResults.GetRowPath(row))))
                m_preview->PlayOrStop();
            else if (row >= 0)
                PlayFromPicture(m_listResults.GetRowPath(row));
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
}

void CMainDlg::CopySelectedPaths()
{
    QStringList paths;
    for (const CString& path : m_listResults.SelectedPaths(CResultsList::Order::Shown))
        paths << ToDisplay(path);
    if (!paths.isEmpty())
        QGuiApplication::clipboard()->setText(paths.join(u'\n'));
}

void CMainDlg::OpenPath(const CString& path)
{
    if (!services::ShellOpen(path)) {
        const CString format = TrFormat("CMainDlg", QT_TR_NOOP("No program is set up to open\n%s"));
        services::MessageBox(this, FormatText(format.c_str(), path.c_str()));
    }
}

CString CMainDlg::DefaultLookIn()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString folder = !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    return AddBackSlash(FromDisplay(folder).c_str());
}

// The template's controls in Qt layouts: the search bar on top, the results
// and the viewer in a splitter that takes every spare pixel, the log panel
// and the status line at the foot.
void CMainDlg::BuildLayout()
{
    m_searchBar = new CSearchBar(*this, this);
    m_status = new CWorkStatus(GetDlgItem(IDC_STATUS), this);
    connect(m_status, &CWorkStatus::cancelRequested, this, &CMainDlg::CancelBackgroundWork);
    m_activity = new CActivityPanel(GetDlgItem(IDC_LOG), {GetDlgItem(IDC_EXTRACT), GetDlgItem(IDC_EXTRACTTO), GetDlgItem(IDC_EXTRACTPLAY)}, this);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_results = new CResultsViews(m_listResults, m_imageList, m_splitter);
    m_splitter->addWidget(m_results);
    m_preview = new CPreviewPane(m_splitter);
    m_splitter->addWidget(m_preview);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    GetDlgItem(IDC_RESULTS)->setMinimumSize(240, fontMetrics().height() * 5);
    connect(m_preview, &CPreviewPane::playRequested, this, &CMainDlg::PlayMemo);

    // Narrow margins: every pixel saved goes to the pictures.
    auto* main = new QVBoxLayout(this);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) / 2;
    main->setContentsMargins(margin, margin, margin, 0);
    main->setSpacing(margin);
    main->addWidget(m_searchBar);
    main->addWidget(m_splitter, 1);
    main->addWidget(m_activity);
    main->addWidget(m_status);
    RestoreTabOrder();
    QWidget::setTabOrder(GetDlgItem(IDC_CONTAINING), m_searchBar->OptionsButton());
    QWidget::setTabOrder(m_searchBar->OptionsButton(), GetDlgItem(IDC_SUBFOLDERS));
    QWidget::setTabOrder(GetDlgItem(IDC_RESULTS), m_results->Grid());
    QWidget::setTabOrder(m_results->Grid(), m_preview);
    QWidget::setTabOrder(m_preview, GetDlgItem(IDC_EXTRACT));
    QWidget::setTabOrder(GetDlgItem(IDC_EXTRACT), GetDlgItem(IDC_EXTRACTTO));
    QWidget::setTabOrder(GetDlgItem(IDC_EXTRACTTO), GetDlgItem(IDC_EXTRACTPLAY));
    QWidget::setTabOrder(GetDlgItem(IDC_EXTRACTPLAY), m_activity->TitleButton());
    QWidget::setTabOrder(m_activity->TitleButton(), GetDlgItem(IDC_LOG));
}

CWindowMemory CMainDlg::GetWindowMemory() const
{
    CWindowMemory memory;
    memory.bMaximized = isMaximized();
    memory.size = memory.bMaximized ? normalGeometry().size() : size();
    if (m_splitter)
        memory.splitter = m_splitter->saveState();
    if (CListView* view = m_listResults.View())
        memory.columns = view->horizontalHeader()->saveState();
    memory.bOptionsFolded = m_windowMemory.bOptionsFolded;
    memory.bThumbnails = m_results && m_results->ShowsThumbnails();
    return memory;
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
        OpenPath(m_listResults.GetRowPath(row));
}

void CMainDlg::OnCurrentRowChanged()
{
    // The viewer shows the row the user picked: rows that take the keyboard
    // after a search have a first row current but not selected.
    CListView* view = m_listResults.View();
    const QModelIndex current = view ? view->currentIndex() : QModelIndex();
    const int row = current.isValid() && view->selectionModel()->isRowSelected(current.row(), current.parent())
                        ? view->ProgramRow(current)
                        : -1;
    const CString path = row >= 0 ? m_listResults.GetRowPath(row) : CString();
    if (path != m_preview->Path())
        m_preview->ShowFile(path);
}

void CMainDlg::AppendLogRow(const CString& text)
{
    m_activity->SetOpen(true);
    m_listLog.InsertItem(m_listLog.GetItemCount(), text);
}

void CMainDlg::SearchWhenShown(const CString& path)
{
    // As a photo tool shows its library, the search runs at once; started
    // from a file manager, the picture the user pointed at is selected once
    // its row is there.
    const CString file = FromWorkingFolder(path);
    QTimer::singleShot(0, this, [this, file] {
        OnSearch();
        CListView* view = m_listResults.View();
        // The picture pointed at is listed even when the form leaves it out.
        int row = m_listResults.Find(file);
        if (row < 0 && !file.empty() && !m_bSearching)
            row = m_listResults.AppendFile(file, m_bCheckSound == 1);
        if (!view || row < 0)
            return;
        view->Model()->Flush();
        const QModelIndex index = view->ViewIndex(row);
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(index);
        view->setFocus();
    });
}
