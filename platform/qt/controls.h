#pragma once
// Handles over the template's controls, attached by the exchange: a button
// with a tick state, and a list view whose texts stay the exact bytes given.
#include <QAbstractTableModel>
#include <QIcon>
#include <QPointer>
#include <QTableView>
#include <vector>

#include "platform/cstring.h"

class QAbstractButton;

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
    int GetCheck() const;
    void SetCheck(int state);

private:
    QAbstractButton* Button() const;
};

// The rows of a list view: texts as bytes, decoded only for display.
class CListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int InsertColumn(int column, const CString& heading);
    int InsertRow(int row, const CString& text);
    bool SetText(int row, int column, const CString& text);
    CString GetText(int row, int column) const;
    bool DeleteRow(int row);
    void DeleteAll();
    void SetIcon(const QIcon& icon) { m_icon = icon; }

private:
    std::vector<std::vector<CString>> m_rows;
    std::vector<CString> m_headings;
    QIcon m_icon;
};

// The list-view window of the template: a report view, or the log's plain
// list of single texts.
class CListView : public QTableView {
    Q_OBJECT
public:
    CListView(bool report, bool singleSelection, QWidget* parent);
    CListModel* Model() const { return m_model; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CListModel* m_model;
};

enum { LVNI_SELECTED = 2 };

class CListCtrl : public CWndHandle {
public:
    void Attach(QWidget* widget) override;

    int InsertColumn(int column, const CString& heading, int width);
    // Inserts a row; a position past the end appends. Answers the row used.
    int InsertItem(int row, const CString& text);
    bool SetItemText(int row, int column, const CString& text);
    CString GetItemText(int row, int column) const;
    int GetItemCount() const;
    bool DeleteItem(int row);
    bool DeleteAllItems();
    void SetImageList(const QIcon& icon);

    // The next selected row after `start` (-1 for the first), or -1.
    int GetNextItem(int start, int flags) const;
    // All selected rows in ascending order.
    std::vector<int> GetSelectedRows() const;
    int GetSelectedCount() const;
    // The row at which the selection is anchored, or -1.
    int GetSelectionMark() const;
    void SetSelectionMark(int row);
    void SetItemSelected(int row, bool selected);
    int GetColumnWidth(int column) const;

    CListView* View() const;
};
