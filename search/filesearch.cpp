#include "search/filesearch.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "platform/file.h"
#include "platform/filefind.h"

namespace {

// Contents are read in pieces of this size; between two the report is asked
// whether to go on, so a search inside a large file stops at once.
constexpr size_t kTextChunk = 256 * 1024;

unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// One stat per subfolder, paid only when some folder is to be skipped.
bool IsSkipped(const CSearchOptions& options, const CString& folder)
{
    struct stat st {};
    if (options.arrSkipFolders.empty() || ::lstat(folder.c_str(), &st) != 0)
        return false;
    const std::pair<dev_t, ino_t> id(st.st_dev, st.st_ino);
    return std::find(options.arrSkipFolders.begin(), options.arrSkipFolders.end(), id) != options.arrSkipFolders.end();
}

} // namespace

void CSearchOptions::Reset()
{
    strBaseFolder.clear();
    strFileMask = "*.jpg";
    bSubfolders = 0;
    dwOptions = 0;
    nMinSize = 0;
    nMaxSize = 0;
    arrSkipFolders.clear();
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
            if (folder.IsDirectory() && !folder.IsDots() && !IsSkipped(options, folder.GetFilePath())) {
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
        // Only what passed the name and size tests is read; a folder holds
        // no bytes, so it never holds the text.
        if ((options.dwOptions & OPT_TEXT) && !options.strFindText.empty()
            && (find.IsDirectory() || !ContainsText(path, options.strFindText, report))) {
            if (m_bStop)
                break;
            continue;
        }
        m_arrFound.push_back(std::move(path));
        if (report)
            report->OnFound(m_arrFound.back());
    }
    return GetFileCount();
}

bool CFileSearch::ContainsText(const CString& path, const CString& text, ISearchReport* report)
{
    CSourceFile file;
    if (!file.Open(path))
        return false;
    CString needle = text;
    for (char& c : needle)
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    // Each piece is read behind the last needle-length-minus-one bytes of
    // the one before, so a text that spans two pieces is found.
    const size_t keep = needle.size() - 1;
    std::vector<char>& buffer = m_textBuffer;
    if (buffer.size() < kTextChunk + keep)
        buffer.resize(kTextChunk + keep);
    size_t held = 0;
    for (int64_t offset = 0;;) {
        if (report && !report->KeepGoing())
            return false;
        if (m_bStop)
            return false;
        const long got = file.ReadAt(offset, buffer.data() + held, kTextChunk);
        if (got <= 0)
            return false;
        for (size_t i = held; i < held + static_cast<size_t>(got); ++i)
            buffer[i] = static_cast<char>(FoldAscii(static_cast<unsigned char>(buffer[i])));
        const auto end = buffer.begin() + static_cast<std::ptrdiff_t>(held + static_cast<size_t>(got));
        if (std::search(buffer.begin(), end, searcher) != end)
            return true;
        offset += got;
        held += static_cast<size_t>(got);
        const size_t carry = std::min(keep, held);
        std::memmove(buffer.data(), buffer.data() + held - carry, carry);
        held = carry;
    }
}
