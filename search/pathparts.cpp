#include "search/pathparts.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

CPathParts::CPathParts(const char* path)
{
    SetPath(path);
}

void CPathParts::SetPath(const char* path)
{
    // Quotes are ordinary characters in a POSIX name, so the text is split
    // as it stands: folder + name always gives it back byte for byte.
    const CString text = path ? path : "";
    m_strDrive.clear();
    const size_t slash = text.rfind('/');
    const size_t restStart = slash == CString::npos ? 0 : slash + 1;
    m_strFolder = text.substr(0, restStart);
    const CString rest = text.substr(restStart);
    // A dot that opens the name (".jpg") or ends it ("photo.") marks no
    // extension: the whole text is the name.
    const size_t dot = rest.rfind('.');
    if (dot == CString::npos || dot == 0 || dot + 1 == rest.size()) {
        m_strName = rest;
        m_strExtension.clear();
    } else {
        m_strName = rest.substr(0, dot);
        m_strExtension = rest.substr(dot + 1);
    }
}

CString AddBackSlash(const char* text)
{
    CString out = text ? text : "";
    if (!out.empty() && out.back() != '/')
        out += '/';
    return out;
}

CString ExpandHome(const CString& path)
{
    if (path.empty() || path[0] != '~' || (path.size() > 1 && path[1] != '/'))
        return path;
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (home == nullptr)
        return path;
    CString expanded = home;
    if (path.size() > 1 && !expanded.empty() && expanded.back() == '/')
        expanded.pop_back();
    return expanded + path.substr(1);
}
