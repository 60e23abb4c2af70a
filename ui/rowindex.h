#pragma once
// An index of the results rows by their path, compared byte for byte (on
// Linux Pic.jpg and pic.jpg are two files), so a search that adds to or
// thins a long list need not scan every row for every hit. It answers
// exactly as the scan would: the lowest row whose path matches.
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/cstring.h"

class CRowPathIndex {
public:
    void Append(const CString& rowPath);
    void Remove(int row);
    void Clear();
    // The lowest row with this path, or -1.
    int Find(const CString& path) const;
    int Count() const { return static_cast<int>(m_rows.size()); }

private:
    // Rows keep an id that grows with each append, so row order is id order
    // and a row's position is found by binary search.
    struct Row {
        uint64_t id;
        CString key;
    };
    uint64_t m_nextId = 0;
    std::deque<Row> m_rows; // a deque: a search thins the list from its front
    std::unordered_map<CString, std::vector<uint64_t>> m_idsByKey;
};
