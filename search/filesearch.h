#pragma once
// The recursive finder: walks a folder tree on the calling thread, collects
// the paths whose names match one mask (and sizes lie in a range), and
// reports hits, rejects and folders through a plain callback.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/cstring.h"
#include "platform/ctime.h"
#include "search/pathparts.h"

enum {
    SEARCH_FOUND = 0,
    SEARCH_DISCARDED = 1,
    SEARCH_FOLDER = 2,
};

enum : uint32_t {
    OPT_SIZE = 0x01,
    OPT_ATTRIBUTES = 0x10,
    OPT_TEXT = 0x20,
};

struct CSearchOptions {
    CString strBaseFolder;
    CString strFileMask;
    CString strFindText;
    int32_t bSubfolders = 0;
    uint32_t dwOptions = 0;
    int64_t nMinSize = 0;
    int64_t nMaxSize = 0;
    CTime tTimes[6];
    uint32_t dwFileAttributes = 0;

    void Reset();
};

class CFileSearch;
using SearchCallback = void (*)(CFileSearch* finder, int code, void* user);

class CFileSearch {
public:
    CFileSearch() = default;
    virtual ~CFileSearch() = default;

    void SetCallback(SearchCallback callback, void* user);
    int FindFiles(CSearchOptions& options);
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

private:
    void Report(int code);

    std::vector<CString> m_arrFound;
    std::vector<std::pair<CString, int>> m_arrUnreadable;
    bool m_bStop = false;
    SearchCallback m_pfnCallback = nullptr;
    void* m_pUserData = nullptr;
    CString m_strCurrentFolder;
};
