#pragma once
// The recursive finder: walks a folder tree on the calling thread, collects
// the paths whose names match one mask (and sizes lie in a range), and
// reports hits, rejects and folders through a narrow interface.
#include <sys/types.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/cstring.h"
#include "search/pathparts.h"

enum : uint32_t {
    OPT_SIZE = 0x01, // the size range applies
    OPT_TEXT = 0x20, // only files whose bytes hold strFindText (ASCII letters in either case)
};

// The pictures looked for unless told otherwise: camera JPEGs by either
// ending, and native FlashPix files.
inline constexpr const char* kDefaultFileMask = "*.jpg;*.jpeg;*.fpx";

struct CSearchOptions {
    CString strBaseFolder;
    CString strFileMask;
    CString strFindText;
    int32_t bSubfolders = 0;
    uint32_t dwOptions = 0;
    int64_t nMinSize = 0;
    int64_t nMaxSize = 0;
    // Subfolders left out of the walk, by device and inode: where a run
    // writes into the tree it searched, it must not find its own output.
    std::vector<std::pair<dev_t, ino_t>> arrSkipFolders;

    void Reset();
};

// What the finder tells its caller while it walks, in walk order. The
// caller may ask the finder to stop from inside any report.
class ISearchReport {
public:
    virtual ~ISearchReport() = default;
    // A hit (SEARCH_FOUND): path has just been appended to the hit list. A
    // folder hit ends in '/'.
    virtual void OnFound(const CString& path) = 0;
    // An entry matched the mask, but its size lies outside the range
    // (SEARCH_DISCARDED); nothing was appended.
    virtual void OnDiscarded() = 0;
    // The subfolders of folder have been searched and its own entries are
    // about to be matched (SEARCH_FOLDER); GetCurrentFolder() names it.
    virtual void OnFolder(const CString& folder) = 0;
    // Asked now and then while one file's contents are read; answering
    // false abandons that file (the finder then looks at its stop flag).
    virtual bool KeepGoing() { return true; }
};

class CFileSearch {
public:
    CFileSearch() = default;
    virtual ~CFileSearch() = default;

    /// Walks options.strBaseFolder (given a trailing separator in the
    /// caller's record), subfolders first when asked, reporting to report
    /// when one is given. Returns the number of hits listed, earlier
    /// searches' hits included.
    int FindFiles(CSearchOptions& options, ISearchReport* report = nullptr);
    int GetFileCount() const { return static_cast<int>(m_arrFound.size()); }
    CPathParts GetFilePath(int index) const;
    const char* GetCurrentFolder() const { return m_strCurrentFolder.c_str(); }
    void RemoveAll()
    {
        m_arrFound.clear();
        m_arrUnreadable.clear();
    }
    // The folders that could not be read since the last RemoveAll, each with
    // the errno value that says why.
    const std::vector<std::pair<CString, int>>& GetUnreadableFolders() const { return m_arrUnreadable; }
    void StopSearch() { m_bStop = true; }
    bool IsStopping() const { return m_bStop; }

private:
    // True when the file at path holds text; reads nothing more once the
    // report says stop.
    bool ContainsText(const CString& path, const CString& text, ISearchReport* report);

    std::vector<CString> m_arrFound;
    std::vector<std::pair<CString, int>> m_arrUnreadable;
    bool m_bStop = false;
    CString m_strCurrentFolder;
    std::vector<char> m_textBuffer; // one buffer serves every file's contents
};
