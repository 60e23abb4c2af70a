#include "platform/qt/controls.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>
#include <numeric>

#include "platform/qt/text.h"

// ---- CButton ----

void CButton::Attach(QWidget* widget)
{
    m_widget = widget;
}

QAbstractButton* CButton::Button() const
{
    return qobject_cast<QAbstractButton*>(m_widget.data());
}

void CButton::SetCheck(int state)
{
    if (QAbstractButton* button = Button())
        button->setChecked(state == BST_CHECKED);
}

// ---- CListModel ----

CListModel::CListModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, &CListModel::Flush);
}

int CListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count() - m_pendingAppends + RunLength();
}

int CListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(m_headings.size()));
}

const CListModel::Row& CListModel::ViewRow(int v) const
{
    if (m_runStart < 0 || v < m_runStart)
        return m_rows[static_cast<size_t>(v)];
    if (v < m_runStart + RunLength())
        return m_run[static_cast<size_t>(v - m_runStart)];
    return m_rows[static_cast<size_t>(v - RunLength())];
}

QVariant CListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const Row& row = ViewRow(index.row());
        if (role == Qt::ToolTipRole && m_toolTips) {
            if (const CString tip = m_toolTips(row.texts, index.column()); !tip.empty())
                return ToDisplay(tip);
        }
        return ToDisplay(ViewText(index.row(), index.column()));
    }
    if (role == Qt::DecorationRole && index.column() == 0 && !m_icon.isNull())
        return ViewRow(index.row()).icon ? m_icon : m_blankIcon;
    return {};
}

void CListModel::SetIcon(const QIcon& icon)
{
    m_icon = icon;
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    m_blankIcon = QIcon(blank);
}

int CListModel::ProgramRow(int v) const
{
    if (v < 0 || m_runStart < 0 || v < m_runStart)
        return v;
    return v < m_runStart + RunLength() ? -1 : v - RunLength();
}

const CString& CListModel::ViewText(int v, int column) const
{
    static const CString kEmpty;
    const auto& texts = ViewRow(v).texts;
    return column >= 0 && column < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(column)] : kEmpty;
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::SizeHintRole && m_headingSize.isValid())
        return m_headingSize;
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= static_cast<int>(m_headings.size()))
        return {};
    return ToDisplay(m_headings[static_cast<size_t>(section)]);
}

void CListModel::SetBatchInterval(int milliseconds)
{
    m_flushTimer.setInterval(std::max(0, milliseconds));
    if (milliseconds <= 0)
        Flush();
}

void CListModel::Waiting()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void CListModel::Flush()
{
    m_flushTimer.stop();
    if (!m_run.empty()) {
        beginRemoveRows({}, m_runStart, m_runStart + RunLength() - 1);
        m_run.clear();
        m_runStart = -1;
        endRemoveRows();
    }
    if (m_pendingAppends > 0) {
        beginInsertRows({}, Count() - m_pendingAppends, Count() - 1);
        m_pendingAppends = 0;
        endInsertRows();
    }
}

int CListModel::InsertColumn(int column, const CString& heading)
{
    Flush();
    column = std::clamp(column, 0, static_cast<int>(m_headings.size()));
    const bool first = m_headings.empty();
    if (!first)
        beginInsertColumns({}, column, column);
    m_headings.insert(m_headings.begin() + column, heading);
    for (auto& row : m_rows) {
        if (static_cast<int>(row.texts.size()) > column)
            row.texts.insert(row.texts.begin() + column, CString());
    }
    if (first)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    else
        endInsertColumns();
    return column;
}

int CListModel::InsertRow(int row, const CString& text, bool icon)
{
    row = std::clamp(row, 0, Count());
    if (Batching() && row == Count()) {
        if (!m_run.empty())
            Flush();
        m_rows.push_back(Row{{text}, icon});
        ++m_pendingAppends;
        Waiting();
        return row;
    }
    Flush();
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, Row{{text}, icon});
    endInsertRows();
    return row;
}

bool CListModel::SetText(int row, int column, const CString& text)
{
    if (row < 0 || row >= Count() || column < 0 || column >= columnCount())
        return false;
    auto& texts = m_rows[static_cast<size_t>(row)].texts;
    if (static_cast<int>(texts.size()) <= column)
        texts.resize(static_cast<size_t>(column) + 1);
    texts[static_cast<size_t>(column)] = text;
    if (row < Count() - m_pendingAppends) {
        const int v = m_runStart >= 0 && row >= m_runStart ? row + RunLength() : row;
        const QModelIndex cell = index(v, column);
        emit dataChanged(cell, cell);
    }
    return true;
}

CString CListModel::GetText(int row, int column) const
{
    if (row < 0 || row >= Count() || column < 0)
        return {};
    const auto& texts = m_rows[static_cast<size_t>(row)].texts;
    return column < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(column)] : CString();
}

bool CListModel::DeleteRow(int row)
{
    if (row < 0 || row >= Count())
        return false;
    if (!Batching() || m_pendingAppends > 0)
        Flush();
    if (!Batching()) {
        beginRemoveRows({}, row, row);
        m_rows.erase(m_rows.begin() + row);
        endRemoveRows();
        return true;
    }
    // The removed row joins the waiting run when it touches it; otherwise
    // the run is announced and a new one starts here.
    if (m_runStart >= 0 && row != m_runStart && row != m_runStart - 1)
        Flush();
    Row removed = std::move(m_rows[static_cast<size_t>(row)]);
    m_rows.erase(m_rows.begin() + row);
    if (m_runStart < 0) {
        m_runStart = row;
        m_run.push_back(std::move(removed));
    } else if (row == m_runStart) {
        m_run.push_back(std::move(removed)); // just behind the run in view rows
    } else {
        m_run.push_front(std::move(removed)); // just before it
        m_runStart = row;
    }
    Waiting();
    return true;
}

void CListModel::DeleteAll()
{
    m_flushTimer.stop();
    beginResetModel();
    m_rows.clear();
    m_run.clear();
    m_runStart = -1;
    m_pendingAppends = 0;
    endResetModel();
}

void CListModel::SetDragSource(DragSource source, const QStringList& types)
{
    m_dragSource = std::move(source);
    m_dragTypes = types;
}

Qt::ItemFlags CListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_dragSource && index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QMimeData* CListModel::mimeData(const QModelIndexList& indexes) const
{
    if (!m_dragSource)
        return nullptr;
    std::vector<int> rows;
    for (const QModelIndex& index : indexes) {
        if (const int row = ProgramRow(index.row()); row >= 0)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows.empty() ? nullptr : m_dragSource(rows);
}

// ---- CListSorter ----

namespace {

CString FoldAscii(const CString& text)
{
    CString folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return folded;
}

} // namespace

CListSorter::CListSorter(CListModel* model, QObject* parent) : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(model);
    // Ranks hold only while no row moves: rows appended keep them.
    const auto forget = [this] {
        m_ranks.clear();
        m_sortKeys.clear();
        m_folded.clear();
    };
    connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(model, &QAbstractItemModel::modelReset, this, forget);
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
    connect(model, &QAbstractItemModel::rowsInserted, this, [this, forget](const QModelIndex&, int first, int) {
        if (first < static_cast<int>(m_ranks.size()))
            forget();
    });
}

bool CListSorter::Before(int column, int a, int b) const
{
    if (const auto key = m_keys.find(column); key != m_keys.end()) {
        const auto keyOf = [&](int row) {
            return row < static_cast<int>(m_sortKeys.size()) ? m_sortKeys[static_cast<size_t>(row)]
                                                             : key->second(m_model->ViewText(row, column));
        };
        const int64_t ka = keyOf(a);
        const int64_t kb = keyOf(b);
        if (ka != kb)
            return ka < kb;
    }
    const auto held = [&](int row) { return row < static_cast<int>(m_folded.size()); };
    const int order = held(a) && held(b)
                          ? m_folded[static_cast<size_t>(a)].compare(m_folded[static_cast<size_t>(b)])
                          : FoldAscii(m_model->ViewText(a, column)).compare(FoldAscii(m_model->ViewText(b, column)));
    if (order != 0)
        return order < 0;
    return m_model->ViewText(a, column) < m_model->ViewText(b, column);
}

void CListSorter::sort(int column, Qt::SortOrder order)
{
    m_rankedColumn = column;
    m_ranks.clear();
    m_sortKeys.clear();
    m_folded.clear();
    const int rows = m_model->rowCount();
    if (column >= 0) {
        if (const auto key = m_keys.find(column); key != m_keys.end()) {
            m_sortKeys.resize(static_cast<size_t>(rows));
            for (int row = 0; row < rows; ++row)
                m_sortKeys[static_cast<size_t>(row)] = key->second(m_model->ViewText(row, column));
        }
        m_folded.resize(static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row)
            m_folded[static_cast<size_t>(row)] = FoldAscii(m_model->ViewText(row, column));
        std::vector<int> byPlace(static_cast<size_t>(rows));
        std::iota(byPlace.begin(), byPlace.end(), 0);
        std::stable_sort(byPlace.begin(), byPlace.end(), [&](int a, int b) { return Before(column, a, b); });
        m_ranks.resize(static_cast<size_t>(rows));
        // Equal rows share a rank, so the proxy's own stable sort keeps them
        // in the order they came.
        for (size_t place = 0, rank = 0; place < byPlace.size(); ++place) {
            if (place > 0 && Before(column, byPlace[place - 1], byPlace[place]))
                rank = place;
            m_ranks[static_cast<size_t>(byPlace[place])] = static_cast<int>(rank);
        }
    }
    QSortFilterProxyModel::sort(column, order);
}

bool CListSorter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int column = left.column();
    const auto ranked = [&](int row) { return column == m_rankedColumn && row < static_cast<int>(m_ranks.size()); };
    if (ranked(left.row()) && ranked(right.row()))
        return m_ranks[static_cast<size_t>(left.row())] < m_ranks[static_cast<size_t>(right.row())];
    return Before(column, left.row(), right.row());
}

// ---- CListView ----

CListView::CListView(bool report, bool singleSelection, QWidget* parent)
    : QTableView(parent), m_model(new CListModel(this)), m_sorter(new CListSorter(m_model, this))
{
    // Rows keep the order they came in until a heading is clicked.
    m_sorter->setDynamicSortFilter(true);
    setModel(m_sorter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(singleSelection ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_model->SetHeadingSize(QSize(fontMetrics().averageCharWidth() * 8, fontMetrics().height() + 8));
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long folder keeps its end in sight; a log row keeps its outcome.
    setTextElideMode(Qt::ElideMiddle);
    // Where the keyboard is must be seen, in a list as in any control.
    setStyleSheet("CListView:focus { border: 2px solid palette(highlight); }");
    if (!report) {
        // The log: one text per row, no headings.
        horizontalHeader()->hide();
        horizontalHeader()->setStretchLastSection(true);
    }
}

void CListView::SetSortable(bool sortable)
{
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(sortable);
    if (!sortable)
        return;
    // No column is sorted until a heading is clicked; the header turns its
    // indicator, ascending first, and the rows follow it.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &CListView::SortBy);
}

void CListView::SortBy(int column, Qt::SortOrder order)
{
    m_model->Flush();
    m_sorter->sort(column, order);
}

int CListView::ProgramRow(const QModelIndex& index) const
{
    return index.isValid() ? m_model->ProgramRow(m_sorter->mapToSource(index).row()) : -1;
}

QModelIndex CListView::ViewIndex(int row) const
{
    m_model->Flush();
    return m_sorter->mapFromSource(m_model->index(row, 0));
}

void CListView::SetDragSource(CListModel::DragSource source, const QStringList& types)
{
    m_model->SetDragSource(std::move(source), types);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

QModelIndex EnterTarget(const QAbstractItemView& view, const QKeyEvent& event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    const QModelIndex current = view.currentIndex();
    return enter && event.modifiers() == Qt::NoModifier && current.isValid() && view.selectionModel()->isSelected(current)
        ? current
        : QModelIndex();
}

QModelIndex DoubleClickTarget(const QAbstractItemView& view, const QMouseEvent& event)
{
    // Only the row under the pointer opens, and only for the left button.
    return event.button() == Qt::LeftButton ? view.indexAt(event.position().toPoint()) : QModelIndex();
}

QModelIndex MenuTarget(const QAbstractItemView& view, const QContextMenuEvent& event, QPoint& where)
{
    where = event.globalPos();
    if (event.reason() == QContextMenuEvent::Mouse)
        return view.indexAt(view.viewport()->mapFromGlobal(where));
    // The Menu key: the current row, the menu beside it.
    const QModelIndex current = view.currentIndex();
    if (current.isValid())
        where = view.viewport()->mapToGlobal(view.visualRect(current).bottomLeft());
    return current;
}

void CListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (const QModelIndex under = DoubleClickTarget(*this, *event); under.isValid())
        emit rowActivated(ProgramRow(under));
}

void CListView::keyPressEvent(QKeyEvent* event)
{
    if (const QModelIndex open = EnterTarget(*this, *event); open.isValid()) {
        event->accept();
        emit rowActivated(ProgramRow(open));
        return;
    }
    QTableView::keyPressEvent(event);
}

void CListView::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint where;
    const QModelIndex at = MenuTarget(*this, *event, where);
    event->accept();
    emit contextMenuAt(ProgramRow(at), where);
}

// ---- CListCtrl ----

void CListCtrl::Attach(QWidget* widget)
{
    m_widget = widget;
}

CListView* CListCtrl::View() const
{
    return qobject_cast<CListView*>(m_widget.data());
}

int CListCtrl::InsertColumn(int column, const CString& heading, int width)
{
    CListView* view = View();
    if (!view)
        return -1;
    const int at = view->Model()->InsertColumn(column, heading);
    view->horizontalHeader()->resizeSection(at, width);
    return at;
}

int CListCtrl::InsertItem(int row, const CString& text, bool image)
{
    return View() ? View()->Model()->InsertRow(row, text, image) : -1;
}

bool CListCtrl::SetItemText(int row, int column, const CString& text)
{
    return View() && View()->Model()->SetText(row, column, text);
}

CString CListCtrl::GetItemText(int row, int column) const
{
    return View() ? View()->Model()->GetText(row, column) : CString();
}

int CListCtrl::GetItemCount() const
{
    return View() ? View()->Model()->Count() : 0;
}

void CListCtrl::SetBatchInterval(int milliseconds)
{
    if (CListView* view = View())
        view->Model()->SetBatchInterval(milliseconds);
}

bool CListCtrl::DeleteItem(int row)
{
    return View() && View()->Model()->DeleteRow(row);
}

bool CListCtrl::DeleteAllItems()
{
    if (!View())
        return false;
    View()->Model()->DeleteAll();
    return true;
}

void CListCtrl::SetImageList(const QIcon& icon)
{
    if (CListView* view = View()) {
        view->Model()->SetIcon(icon);
        view->setIconSize(QSize(16, 16));
    }
}

std::vector<int> CListCtrl::GetSelectedRows() const
{
    std::vector<int> rows;
    if (CListView* view = View()) {
        for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
            if (const int row = view->ProgramRow(index); row >= 0)
                rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
