#include "ui/rowindex.h"

#include <algorithm>


void CRowPathIndex::Append(const CString& rowPath)
{
    const uint64_t id = m_nextId++;
    m_idsByKey[rowPath].push_back(id);
    m_rows.push_back({id, rowPath});
}

void CRowPathIndex::Remove(int row)
{
    if (row < 0 || row >= Count())
        return;
    const Row& gone = m_rows[static_cast<size_t>(row)];
    const auto found = m_idsByKey.find(gone.key);
    if (found != m_idsByKey.end()) {
        auto& ids = found->second;
        ids.erase(std::find(ids.begin(), ids.end(), gone.id));
        if (ids.empty())
            m_idsByKey.erase(found);
    }
    m_rows.erase(m_rows.begin() + row);
}

void CRowPathIndex::Clear()
{
    m_rows.clear();
    m_idsByKey.clear();
}

int CRowPathIndex::Find(const CString& path) const
{
    const auto found = m_idsByKey.find(path);
    if (found == m_idsByKey.end())
        return -1;
    const uint64_t first = found->second.front();
    const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), first,
                                     [](const Row& row, uint64_t id) { return row.id < id; });
    return static_cast<int>(at - m_rows.begin());
}
