#include "platform/qt/controls.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

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
        const Row& texts = ViewRow(index.row());
        const auto column = static_cast<size_t>(index.column());
        return ToDisplay(column < texts.size() ? texts[column] : CString());
    }
    if (role == Qt::DecorationRole && index.column() == 0 && !m_icon.isNull())
        return m_icon;
    return {};
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
        if (static_cast<int>(row.size()) > column)
            row.insert(row.begin() + column, CString());
    }
    if (first)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    else
        endInsertColumns();
    return column;
}

int CListModel::InsertRow(int row, const CString& text)
{
    row = std::clamp(row, 0, Count());
    if (Batching() && row == Count()) {
        if (!m_run.empty())
            Flush();
        m_rows.push_back(Row{text});
        ++m_pendingAppends;
        Waiting();
        return row;
    }
    Flush();
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, Row{text});
    endInsertRows();
    return row;
}

bool CListModel::SetText(int row, int column, const CString& text)
{
    if (row < 0 || row >= Count() || column < 0 || column >= columnCount())
        return false;
    auto& texts = m_rows[static_cast<size_t>(row)];
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
    const auto& texts = m_rows[static_cast<size_t>(row)];
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

// ---- CListView ----

CListView::CListView(bool report, bool singleSelection, QWidget* parent)
    : QTableView(parent), m_model(new CListModel(this))
{
    setModel(m_model);
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
    if (!report) {
        // The log: one text per row, no headings.
        horizontalHeader()->hide();
        horizontalHeader()->setStretchLastSection(true);
    }
}

void CListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double-click anywhere in the list, rows or empty area, is the
    // list's notification; which row it concerns is for the handler.
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClicked();
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

int CListCtrl::InsertItem(int row, const CString& text)
{
    return View() ? View()->Model()->InsertRow(row, text) : -1;
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
        view->Model()->Flush();
        for (const QModelIndex& index : view->selectionModel()->selectedRows())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CListCtrl::GetSelectionMark() const
{
    CListView* view = View();
    if (!view)
        return -1;
    view->Model()->Flush();
    const QModelIndex current = view->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}
