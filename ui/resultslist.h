#pragma once
// The results list: one row per hit, its five texts the only record of the
// file it stands for. This class is the one owner of the rows, of the index
// that finds a row by its path, and of the columns.
#include <QIcon>
#include <optional>
#include <vector>

#include "platform/cstring.h"
#include "audio/memo.h"
#include "audio/wav.h"
#include "platform/file.h"
#include "platform/qt/controls.h"
#include "ui/memowords.h"
#include "ui/rowindex.h"

class CResultsList : public CWndHandle {
public:
    enum class Column { Name, Folder, Size, Modified, Sound };

    // Takes over the list view of the template (through DDX_Control).
    void Attach(QWidget* widget) override;
    // Creates the five columns, wide enough for a typical row in the
    // list's font, sortable by each; rows whose sound was found show rowIcon.
    void InsertColumns(const QIcon& rowIcon);

    // Appends the row of the file folder + name: its size and last-write
    // time from info, and "Yes" or "No" when its sound was tested.
    void Append(const CString& folder, const CString& name, const CFileInformation& info,
                std::optional<bool> sound);
    /// Returns the lowest row whose path equals path byte for byte, or -1.
    int Find(const CString& path) const;
    void Remove(int row);
    void RemoveAll();

    int Count() const { return m_list.GetItemCount(); }
    CString GetText(int row, Column column) const { return m_list.GetItemText(row, static_cast<int>(column)); }
    /// Returns the row's path: its folder followed directly by its name.
    CString GetRowPath(int row) const;
    enum class Order { Rows, Shown };
    // The paths of the selected rows, in ascending row order or as shown.
    std::vector<CString> SelectedPaths(Order order = Order::Rows) const;
    /// Appends the row of one file (a regular file only), its sound tested
    /// when asked; returns its row, or -1.
    int AppendFile(const CString& path, bool checkSound);
    // Column widths remembered from an earlier run, used where the row still fits.
    void RestoreColumns(const QByteArray& state);
    // The width at which a row shows a camera's whole file name.
    int FittingWidth() const;
    // The paths of all rows, in the order the list shows them.
    std::vector<CString> ShownPaths() const;
    CListView* View() const { return m_list.View(); }
    // "Yes" of the Sound column, in the user's language.
    const CString& YesText() const { return m_strYes; }

    // While a search runs, the view hears of new and removed rows at most
    // once per interval; zero announces what waits and ends that.
    void SetBatchInterval(int milliseconds) { m_list.SetBatchInterval(milliseconds); }

private:
    CListCtrl m_list;
    class ColumnFit;
    ColumnFit* m_fit = nullptr; // owned by the view
    CRowPathIndex m_index;
    // "Yes" and "No" in the user's language, looked up once, not per row.
    CString m_strYes;
    CString m_strNo;
};
