#include "search/filesearch.h"

#include "platform/filefind.h"

void CSearchOptions::Reset()
{
    strBaseFolder.clear();
    strFileMask = "*.jpg";
    bSubfolders = 0;
    dwOptions = 0;
    nMinSize = 0;
    nMaxSize = 0;
    for (CTime& t : tTimes)
        t = CTime::GetCurrentTime();
    dwFileAttributes = 0;
}

void CFileSearch::SetCallback(SearchCallback callback, void* user)
{
    m_pfnCallback = callback;
    m_pUserData = user;
}

CPathParts CFileSearch::GetFilePath(int index) const
{
    if (index < 0 || index >= GetFileCount())
        return CPathParts("");
    return CPathParts(m_arrFound[static_cast<size_t>(index)].c_str());
}

void CFileSearch::Report(int code)
{
    if (m_pfnCallback)
        m_pfnCallback(this, code, m_pUserData);
}

int CFileSearch::FindFiles(CSearchOptions& options)
{
    m_bStop = false;
    options.strBaseFolder = AddBackSlash(options.strBaseFolder.c_str());

    // Subfolders first, each to its full depth, so folders report in post-order.
    if (options.bSubfolders) {
        CFileFind find;
        bool more = find.FindFile(options.strBaseFolder + "*.*");
        while (more && !m_bStop) {
            more = find.FindNextFile();
            if (find.IsDirectory() && !find.IsDots()) {
                CSearchOptions sub = options;
                sub.strBaseFolder = options.strBaseFolder + find.GetFileName();
                FindFiles(sub);
            }
        }
    }

    m_strCurrentFolder = options.strBaseFolder;
    Report(SEARCH_FOLDER);

    CFileFind find;
    bool more = find.FindFile(options.strBaseFolder + options.strFileMask);
    while (more && !m_bStop) {
        more = find.FindNextFile();
        if (find.IsDots())
            continue;
        if (options.dwOptions & OPT_SIZE) {
            const int64_t size = find.GetLength64();
            if (size < options.nMinSize || size > options.nMaxSize) {
                Report(SEARCH_DISCARDED);
                continue;
            }
        }
        CString path = find.GetFilePath();
        if (find.IsDirectory())
            path += '/';
        m_arrFound.push_back(std::move(path));
        Report(SEARCH_FOUND);
    }
    return GetFileCount();
}
