#include "platform/filefind.h"

#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <numeric>

namespace {

CString CurrentFolder()
{
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr)
        return "/";
    CString folder(buffer);
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// "/home/u/t/./sub//" as "/home/u/t/sub/": the same folder, the way a
// user writes it. ".." stays, as it may cross a link.
CString WithoutDotSegments(const CString& folder)
{
    CString out;
    out.reserve(folder.size());
    for (size_t at = 0; at < folder.size();) {
        if (folder[at] == '/' && !out.empty() && out.back() == '/') {
            ++at;
        } else if (folder.compare(at, 2, "./") == 0 && (out.empty() || out.back() == '/')) {
            at += 2;
        } else {
            out += folder[at++];
        }
    }
    return out;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

// A file-name mask: patterns separated by ';' ("*.jpg;*.fpx"), spaces
// around each dropped and empty ones ignored. Only '*' and '?' are
// wildcards, so '[' is quoted for fnmatch and '\' is an ordinary character.
struct CFileFind::Mask {
    explicit Mask(const CString& mask)
    {
        for (size_t start = 0; start <= mask.size();) {
            size_t end = mask.find(';', start);
            if (end == CString::npos)
                end = mask.size();
            const size_t first = mask.find_first_not_of(' ', start);
            const size_t last = mask.find_last_not_of(' ', end == 0 ? 0 : end - 1);
            if (first < end && last != CString::npos && last >= first) {
                CString pattern;
                for (const char c : mask.substr(first, last - first + 1))
                    pattern += c == '[' ? CString("[[]") : CString(1, c);
                all = all || pattern == "*" || pattern == "*.*";
                patterns.push_back(std::move(pattern));
            }
            start = end + 1;
        }
    }
    bool Matches(const char* name) const
    {
        if (all)
            return true;
        for (const CString& pattern : patterns) {
            if (::fnmatch(pattern.c_str(), name, FNM_CASEFOLD | FNM_NOESCAPE) == 0)
                return true;
        }
        return false;
    }
    bool all = false;
    std::vector<CString> patterns;
};

bool CFileFind::FindFile(const CString& pattern)
{
    Close();
    const size_t slash = pattern.rfind('/');
    CString folder = slash == CString::npos ? CString() : pattern.substr(0, slash + 1);
    const Mask mask(slash == CString::npos ? pattern : pattern.substr(slash + 1));
    if (folder.empty() || folder.front() != '/')
        folder = CurrentFolder() + folder;
    m_folder = WithoutDotSegments(folder);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(m_folder.c_str()));
    if (!dir) {
        m_nError = errno;
        return false;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (mask.Matches(entry->d_name))
            m_entries.push_back({entry->d_name, entry->d_type});
    }
    // The file system's own order differs from disk to disk and from run to
    // run; name order (byte by byte) lists DSC_0001 before DSC_0005 every time.
    // (Indices are sorted and the entries moved once: cheaper than moving
    // names about in the sort.)
    std::vector<uint32_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [this](uint32_t a, uint32_t b) { return m_entries[a].name < m_entries[b].name; });
    std::vector<Entry> sorted;
    sorted.reserve(order.size());
    for (const uint32_t at : order)
        sorted.push_back(std::move(m_entries[at]));
    m_entries = std::move(sorted);
    return !m_entries.empty();
}

bool CFileFind::FindFile(const CFileFind& folder, const CString& maskText)
{
    Close();
    m_folder = folder.m_folder;
    const Mask mask(maskText);
    for (const Entry& entry : folder.m_entries) {
        if (mask.Matches(entry.name.c_str()))
            m_entries.push_back(entry);
    }
    return !m_entries.empty();
}

bool CFileFind::FindNextFile()
{
    if (m_next < m_entries.size())
        ++m_next;
    return m_next < m_entries.size();
}

void CFileFind::Close()
{
    m_nError = 0;
    m_entries.clear();
    m_next = 0;
}

const CFileFind::Entry& CFileFind::Current() const
{
    static const Entry none;
    return m_next > 0 && m_next <= m_entries.size() ? m_entries[m_next - 1] : none;
}

bool CFileFind::IsDots() const
{
    return Current().name == "." || Current().name == "..";
}

bool CFileFind::IsDirectory() const
{
    // A symbolic link is never a directory here, so the walk cannot loop.
    if (Current().type != DT_UNKNOWN)
        return Current().type == DT_DIR;
    struct stat st {};
    return ::lstat(GetFilePath().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t CFileFind::GetLength64() const
{
    struct stat st {};
    // Folders count as empty, as the size range expects of a folder hit.
    if (::stat(GetFilePath().c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return 0;
    return static_cast<int64_t>(st.st_size);
}
