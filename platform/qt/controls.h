#pragma once
// Handles over the template's controls, attached by the exchange: a button
// with a tick state, and a list view whose texts stay the exact bytes given.
#include <QAbstractTableModel>
#include <QIcon>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/cstring.h"

class QAbstractButton;
class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;

class CWndHandle {
public:
    virtual ~CWndHandle() = default;
    virtual void Attach(QWidget* widget) = 0;
    bool IsAttached() const { return !m_widget.isNull(); }
    QWidget* GetWidget() const { return m_widget; }

protected:
    QPointer<QWidget> m_widget;
};

enum { BST_UNCHECKED = 0, BST_CHECKED = 1 };

class CButton : public CWndHandle {
public:
    void Attach(QWidget* widget) override;
    void SetCheck(int state);

private:
    QAbstractButton* Button() const;
};

// The rows of a list view: texts as bytes, decoded only for display.
//
// In batch mode the views hear of appended rows, and of rows removed one
// after another from one place, at most once per interval: each notice makes
// a view lay itself out anew. The program always sees its rows as they are.
class CListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int InsertColumn(int column, const CString& heading);
    // A row shows the icon when asked to.
    int InsertRow(int row, const CString& text, bool icon = true);
    bool SetText(int row, int column, const CString& text);
    CString GetText(int row, int column) const;
    bool DeleteRow(int row);
    void DeleteAll();
    // The program's rows, whether the views know of them yet or not.
    int Count() const { return static_cast<int>(m_rows.size()); }

    // An interval turns batch mode on; zero turns it off and announces what waits.
    void SetBatchInterval(int milliseconds);
    // Tells the views of every change that waits.
    void Flush();

    void SetIcon(const QIcon& icon);
    // The tooltip of a cell, given the row's texts and the column; asked only
    // when the tooltip is shown. An empty answer shows the cell's text.
    using ToolTipSource = std::function<CString(const std::vector<CString>& texts, int column)>;
    void SetToolTipSource(ToolTipSource source) { m_toolTips = std::move(source); }
    // The program's row shown at view row v; -1 for a row removed but
    // still shown.
    int ProgramRow(int v) const;
    // The text at view row v, as the views know the rows.
    const CString& ViewText(int v, int column) const;
    // The size a heading asks for; given once so that the view never
    // measures heading texts again as rows arrive.
    void SetHeadingSize(const QSize& size) { m_headingSize = size; }

    // What rows dragged out of the view carry, given their program rows in
    // ascending order; without it rows are not dragged.
    using DragSource = std::function<QMimeData*(const std::vector<int>& rows)>;
    void SetDragSource(DragSource source, const QStringList& types);
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override { return m_dragTypes; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    struct Row {
        std::vector<CString> texts;
        bool icon = true;
    };
    bool Batching() const { return m_flushTimer.interval() > 0; }
    void Waiting();
    int RunLength() const { return static_cast<int>(m_run.size()); }
    // The row that the views know at view row v.
    const Row& ViewRow(int v) const;

    std::deque<Row> m_rows;
    int m_pendingAppends = 0; // rows at the end the views do not know yet
    int m_runStart = -1;      // view row where removed rows wait to be announced
    std::deque<Row> m_run;    // those rows, still shown until then
    QTimer m_flushTimer;
    std::vector<CString> m_headings;
    QIcon m_icon;
    QIcon m_blankIcon; // keeps the texts of rows without the icon in line
    QSize m_headingSize;
    ToolTipSource m_toolTips;
    DragSource m_dragSource;
    QStringList m_dragTypes;
};

// Orders the rows of a list for its view when the user clicks a heading:
// by a column's numeric key where one is given, else by its text with ASCII
// letters in either case alike. New rows take their place as they arrive.
class CListSorter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using SortKey = std::function<int64_t(const CString& text)>;
    explicit CListSorter(CListModel* model, QObject* parent);
    void SetSortKey(int column, SortKey key) { m_keys[column] = std::move(key); }
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    // Row a before row b in column, by the column's key and text.
    bool Before(int column, int a, int b) const;

    CListModel* m_model;
    std::map<int, SortKey> m_keys;
    // Each row's place in the sorted column, worked out once per sort so
    // that the many comparisons of a sort cost an array look-up; rows that
    // come later are compared in full.
    int m_rankedColumn = -1;
    std::vector<int> m_ranks;
    std::vector<int64_t> m_sortKeys;
    std::vector<CString> m_folded; // the column's texts, ASCII letters in lower case
};

// How a view of rows reads the user's wish to open a row or to have its
// menu; an invalid index when the event asks for neither.
/// Returns the current row for Enter, when it is selected.
QModelIndex EnterTarget(const QAbstractItemView& view, const QKeyEvent& event);
/// Returns the row under the pointer of a left double-click.
QModelIndex DoubleClickTarget(const QAbstractItemView& view, const QMouseEvent& event);
/// Returns the row under the pointer, or for the Menu key the current row,
/// and where the menu goes: at the pointer, or beside that row.
QModelIndex MenuTarget(const QAbstractItemView& view, const QContextMenuEvent& event, QPoint& where);

// The list-view window of the template: a report view, or the log's plain
// list of single texts.
class CListView : public QTableView {
    Q_OBJECT
public:
    CListView(bool report, bool singleSelection, QWidget* parent);
    CListModel* Model() const { return m_model; }
    CListSorter* Sorter() const { return m_sorter; }
    // Headings that sort by their column when clicked, a second click
    // reversing the order.
    void SetSortable(bool sortable);
    /// Returns the program's row shown at a view index, or -1.
    int ProgramRow(const QModelIndex& index) const;
    /// Returns the view index of a program's row's first cell.
    QModelIndex ViewIndex(int row) const;
    // Rows drag out to other programs carrying what source makes of them.
    void SetDragSource(CListModel::DragSource source, const QStringList& types);

signals:
    // A row opened: a left double-click on it, or Enter on the current row.
    void rowActivated(int row);
    // The context menu asked for, over a row or none (-1).
    void contextMenuAt(int row, const QPoint& globalPos);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SortBy(int column, Qt::SortOrder order);

    CListModel* m_model;
    CListSorter* m_sorter;
};

class CListCtrl : public CWndHandle {
public:
    void Attach(QWidget* widget) override;

    int InsertColumn(int column, const CString& heading, int width);
    // Inserts a row; a position past the end appends. Answers the row used.
    // A row shows the list's image when image is true.
    int InsertItem(int row, const CString& text, bool image = true);
    bool SetItemText(int row, int column, const CString& text);
    CString GetItemText(int row, int column) const;
    int GetItemCount() const;
    // See CListModel::SetBatchInterval.
    void SetBatchInterval(int milliseconds);
    bool DeleteItem(int row);
    bool DeleteAllItems();
    void SetImageList(const QIcon& icon);

    // All selected rows in ascending order.
    std::vector<int> GetSelectedRows() const;

    CListView* View() const;
};
