#include "platform/filefind.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

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

// Only '*' and '?' are wildcards: '[' and '\' are ordinary characters in a
// file name pattern, so they are quoted for fnmatch.
CString ToFnmatch(const CString& mask)
{
    CString out;
    for (const char c : mask) {
        if (c == '[')
            out += "[[]";
        else
            out += c;
    }
    return out;
}

} // namespace

bool CFileFind::FindFile(const CString& pattern)
{
    Close();
    const size_t slash = pattern.rfind('/');
    CString folder = slash == CString::npos ? CString() : pattern.substr(0, slash + 1);
    const CString mask = slash == CString::npos ? pattern : pattern.substr(slash + 1);
    if (folder.empty() || folder.front() != '/')
        folder = CurrentFolder() + folder;
    m_folder = folder;
    m_matchAll = mask == "*" || mask == "*.*";
    m_mask = ToFnmatch(mask);
    m_dir.reset(::opendir(m_folder.c_str()));
    if (!m_dir)
        return false;
    m_hasNext = Advance(m_next);
    if (!m_hasNext)
        Close();
    return m_hasNext;
}

bool CFileFind::Matches(const char* name) const
{
    return m_matchAll || ::fnmatch(m_mask.c_str(), name, FNM_CASEFOLD | FNM_NOESCAPE) == 0;
}

bool CFileFind::Advance(Entry& into)
{
    while (const dirent* entry = ::readdir(m_dir.get())) {
        if (Matches(entry->d_name)) {
            into.name = entry->d_name;
            into.type = entry->d_type;
            return true;
        }
    }
    return false;
}

bool CFileFind::FindNextFile()
{
    if (!m_dir || !m_hasNext)
        return false;
    std::swap(m_current, m_next);
    m_hasNext = Advance(m_next);
    return m_hasNext;
}

void CFileFind::Close()
{
    m_dir.reset();
    m_hasNext = false;
}

bool CFileFind::IsDots() const
{
    return m_current.name == "." || m_current.name == "..";
}

bool CFileFind::IsDirectory() const
{
    // A symbolic link is never a directory here, so the walk cannot loop.
    if (m_current.type != DT_UNKNOWN)
        return m_current.type == DT_DIR;
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
