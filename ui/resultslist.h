#pragma once
// The results list: one row per hit, its five texts the only record of the
// file it stands for. This class is the one owner of the rows, of the index
// that finds a row by its path, and of the columns.
#include <QIcon>
#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/cstring.h"
#include "audio/memo.h"
#include "audio/wav.h"
#include "platform/file.h"
#include "platform/qt/controls.h"
#include "ui/memowords.h"
#include "ui/rowindex.h"

// What the sound check said of one file, as its row shows it.
struct CSoundAnswer {
    SoundCheck check = SoundCheck::No;
    CString strMissing; // No: the memo file the camera named, gone from beside the picture
    int nError = 0;     // Unreadable: why
};

/// Returns the sound check of the file at path for its row: the memo the
/// camera named is looked for only after a No, so pictures with sound cost
/// no more. Something that is no regular file (a folder hit) has no sound:
/// No. keepGoing as CheckSound's.
CSoundAnswer CheckRowSound(const CString& path, const KeepGoing& keepGoing = {});

class CResultsList : public CWndHandle {
public:
    enum class Column { Name, Folder, Size, Modified, Sound };
    // What a row's Sound column shows, in the order the column sorts.
    enum class Sound { Yes, Missing, No, Unknown, Unchecked };

    // Takes over the list view of the template (through DDX_Control).
    void Attach(QWidget* widget) override;
    // Creates the five columns, wide enough for a typical row in the
    // list's font, sortable by each; rows whose sound was found show rowIcon.
    void InsertColumns(const QIcon& rowIcon);

    // Appends the row of the file folder + name: its size and last-write
    // time from info, and "Yes", "Missing", "No" or "?" when its sound was
    // tested, the last two with a tooltip of their own.
    void Append(const CString& folder, const CString& name, const CFileInformation& info,
                const std::optional<CSoundAnswer>& sound);
    /// Returns the lowest row whose path equals path byte for byte, or -1.
    int Find(const CString& path) const;
    void Remove(int row);
    void RemoveAll();

    int Count() const { return m_list.GetItemCount(); }
    CString GetText(int row, Column column) const { return m_list.GetItemText(row, static_cast<int>(column)); }
    Sound GetSound(int row) const { return SoundOf(GetText(row, Column::Sound)); }
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
    const CString& YesText() const { return m_soundWords[static_cast<size_t>(Sound::Yes)]; }

    // While a search runs, the view hears of new and removed rows at most
    // once per interval; zero announces what waits and ends that.
    void SetBatchInterval(int milliseconds) { m_list.SetBatchInterval(milliseconds); }

private:
    Sound SoundOf(const CString& text) const;
    const CString& Word(Sound sound) const { return m_soundWords[static_cast<size_t>(sound)]; }

    CListCtrl m_list;
    class ColumnFit;
    ColumnFit* m_fit = nullptr; // owned by the view
    CRowPathIndex m_index;
    // The Sound column's words by Sound (but Unchecked) in the user's
    // language, looked up once, not per row.
    std::array<CString, 4> m_soundWords;
    // The tooltips of the Sound cells that say "Missing" or "?", by path.
    std::shared_ptr<std::unordered_map<CString, CString>> m_soundTips
        = std::make_shared<std::unordered_map<CString, CString>>();
};
