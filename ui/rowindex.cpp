#include "ui/rowindex.h"

#include <algorithm>

#include "platform/qt/textcase.h"

void CRowPathIndex::Append(const CString& rowPath)
{
    CString key = FoldCase(rowPath);
    const uint64_t id = m_nextId++;
    m_idsByKey[key].push_back(id);
    m_rowIds.push_back(id);
    m_rowKeys.push_back(std::move(key));
}

void CRowPathIndex::Remove(int row)
{
    if (row < 0 || row >= Count())
        return;
    const auto at = static_cast<size_t>(row);
    const auto found = m_idsByKey.find(m_rowKeys[at]);
    if (found != m_idsByKey.end()) {
        auto& ids = found->second;
        ids.erase(std::find(ids.begin(), ids.end(), m_rowIds[at]));
        if (ids.empty())
            m_idsByKey.erase(found);
    }
    m_rowIds.erase(m_rowIds.begin() + row);
    m_rowKeys.erase(m_rowKeys.begin() + row);
}

void CRowPathIndex::Clear()
{
    m_rowIds.clear();
    m_rowKeys.clear();
    m_idsByKey.clear();
}

int CRowPathIndex::Find(const CString& path) const
{
    const auto found = m_idsByKey.find(FoldCase(path));
    if (found == m_idsByKey.end())
        return -1;
    const uint64_t first = found->second.front();
    return static_cast<int>(std::lower_bound(m_rowIds.begin(), m_rowIds.end(), first) - m_rowIds.begin());
}
