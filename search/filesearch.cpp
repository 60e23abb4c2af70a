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
}

CPathParts CFileSearch::GetFilePath(int index) const
{
    if (index < 0 || index >= GetFileCount())
        return CPathParts("");
    return CPathParts(m_arrFound[static_cast<size_t>(index)].c_str());
}

int CFileSearch::FindFiles(CSearchOptions& options, ISearchReport* report)
{
    m_bStop = false;
    options.strBaseFolder = AddBackSlash(options.strBaseFolder.c_str());

    // The folder is read once; both passes work on that reading.
    CFileFind folder;
    const bool readable = folder.FindFile(options.strBaseFolder + "*.*");
    if (folder.GetError() != 0)
        m_arrUnreadable.emplace_back(options.strBaseFolder, folder.GetError());

    // Subfolders first, each to its full depth, so folders report in post-order.
    if (options.bSubfolders) {
        bool more = readable;
        while (more && !m_bStop) {
            more = folder.FindNextFile();
            if (folder.IsDirectory() && !folder.IsDots()) {
                CSearchOptions sub = options;
                sub.strBaseFolder = options.strBaseFolder + folder.GetFileName();
                FindFiles(sub, report);
            }
        }
    }

    m_strCurrentFolder = options.strBaseFolder;
    if (report)
        report->OnFolder(m_strCurrentFolder);

    CFileFind find;
    // A mask that names a subfolder ("sub/*.jpg") enumerates that folder.
    const bool maskHasFolder = options.strFileMask.find('/') != CString::npos;
    bool more = maskHasFolder ? find.FindFile(options.strBaseFolder + options.strFileMask)
                              : readable && find.FindFile(folder, options.strFileMask);
    while (more && !m_bStop) {
        more = find.FindNextFile();
        if (find.IsDots())
            continue;
        if (options.dwOptions & OPT_SIZE) {
            const int64_t size = find.GetLength64();
            if (size < options.nMinSize || size > options.nMaxSize) {
                if (report)
                    report->OnDiscarded();
                continue;
            }
        }
        CString path = find.GetFilePath();
        if (find.IsDirectory())
            path += '/';
        m_arrFound.push_back(std::move(path));
        if (report)
            report->OnFound(m_arrFound.back());
    }
    return GetFileCount();
}
