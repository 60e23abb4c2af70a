#pragma once
// Enumeration of the entries of one folder that match a wildcard pattern,
// the way the finder walks a tree: '*' and '?' only, names compared without
// regard to case, hidden entries included, "*.*" matching every name.
//
// The folder is read whole when the enumeration starts and closed at once,
// so a deep walk holds no folder open per level, and one reading can serve
// several masks.
#include <dirent.h>

#include <cstdint>
#include <vector>

#include "platform/cstring.h"

class CFileFind {
public:
    // Reads "folder/mask"; false when the folder cannot be read or no entry
    // matches. The folder part is made absolute against the current folder.
    bool FindFile(const CString& pattern);
    // The entries of another enumeration's folder that match mask, without
    // reading the folder again.
    bool FindFile(const CFileFind& folder, const CString& mask);
    // Makes the next entry current; answers whether another one follows it.
    bool FindNextFile();
    void Close();
    // Why the folder could not be read (an errno value); 0 when it was read.
    int GetError() const { return m_nError; }

    CString GetFileName() const { return Current().name; }
    CString GetFilePath() const { return m_folder + Current().name; }
    bool IsDots() const;
    bool IsDirectory() const;
    // Size in bytes of what the entry names (a link: its target); 0 for a folder.
    int64_t GetLength64() const;

private:
    struct Entry {
        CString name;
        unsigned char type = DT_UNKNOWN;
    };
    struct Mask;
    const Entry& Current() const;

    CString m_folder;
    std::vector<Entry> m_entries;
    size_t m_next = 0; // index of the entry after the current one
    int m_nError = 0;
};
