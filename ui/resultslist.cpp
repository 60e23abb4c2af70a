#include "ui/resultslist.h"

#include <cinttypes>

void CResultsList::Attach(QWidget* widget)
{
    m_widget = widget;
    m_list.Attach(widget);
}

void CResultsList::InsertColumns(const QIcon& rowIcon)
{
    m_list.InsertColumn(static_cast<int>(Column::Name), "Name", 150);
    m_list.InsertColumn(static_cast<int>(Column::Folder), "In Folder", 200);
    m_list.InsertColumn(static_cast<int>(Column::Size), "Size", 60);
    m_list.InsertColumn(static_cast<int>(Column::Modified), "Modified", 120);
    m_list.InsertColumn(static_cast<int>(Column::Sound), "Sound ?", 160);
    m_list.SetImageList(rowIcon);
}

void CResultsList::Append(const CString& folder, const CString& name, const CFileInformation& info,
                          std::optional<bool> sound)
{
    const int row = m_list.InsertItem(Count(), name);
    const auto set = [&](Column column, const CString& text) {
        m_list.SetItemText(row, static_cast<int>(column), text);
    };
    set(Column::Folder, folder);
    m_index.Append(folder + name);

    // Kilobytes only from ten of them on, truncated.
    const int64_t kb = info.nSize / 1024;
    set(Column::Size, kb >= 10 ? FormatText("%" PRId64 " KB", kb) : FormatText("%" PRId64 " B", info.nSize));
    set(Column::Modified, info.tLastWrite.FormatGmt("%d-%m-%Y %I:%M %p"));
    if (sound)
        set(Column::Sound, *sound ? "Yes" : "No");
}

int CResultsList::Find(const CString& path) const
{
    return m_index.Find(path);
}

void CResultsList::Remove(int row)
{
    m_list.DeleteItem(row);
    m_index.Remove(row);
}

void CResultsList::RemoveAll()
{
    m_list.DeleteAllItems();
    m_index.Clear();
}

CString CResultsList::GetRowPath(int row) const
{
    return GetText(row, Column::Folder) + GetText(row, Column::Name);
}

std::vector<CString> CResultsList::SelectedPaths() const
{
    std::vector<CString> paths;
    for (const int row : m_list.GetSelectedRows())
        paths.push_back(GetRowPath(row));
    return paths;
}

std::optional<CString> CResultsList::MarkedPath() const
{
    const int row = m_list.GetSelectionMark();
    if (row < 0)
        return std::nullopt;
    return GetRowPath(row);
}
