#pragma once
// Enumeration of the entries of one folder that match a wildcard pattern,
// the way the finder walks a tree: '*' and '?' only, names compared without
// regard to case, hidden entries included, "*.*" matching every name.
#include <dirent.h>

#include <cstdint>
#include <memory>

#include "platform/cstring.h"

class CFileFind {
public:
    CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;
    ~CFileFind() = default;

    // Opens "folder/mask"; false when the folder cannot be read or no entry
    // matches. The folder part is made absolute against the current folder.
    bool FindFile(const CString& pattern);
    // Makes the next entry current; answers whether another one follows it.
    bool FindNextFile();
    void Close();

    CString GetFileName() const { return m_current.name; }
    CString GetFilePath() const { return m_folder + m_current.name; }
    bool IsDots() const;
    bool IsDirectory() const;
    // Size in bytes of what the entry names (a link: its target); 0 for a folder.
    int64_t GetLength64() const;

private:
    struct Entry {
        CString name;
        unsigned char type = DT_UNKNOWN;
    };
    bool Advance(Entry& into);
    bool Matches(const char* name) const;
    struct DirCloser {
        void operator()(DIR* dir) const { closedir(dir); }
    };

    std::unique_ptr<DIR, DirCloser> m_dir;
    CString m_folder;
    CString m_mask; // fnmatch form; empty matches every name
    bool m_matchAll = false;
    Entry m_current;
    Entry m_next;
    bool m_hasNext = false;
};
