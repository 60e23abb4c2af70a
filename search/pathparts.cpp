#include "search/pathparts.h"

CPathParts::CPathParts(const char* path)
{
    SetPath(path);
}

void CPathParts::SetPath(const char* path)
{
    CString text = path ? path : "";
    // A path given in double quotes means the same path without them.
    if (!text.empty() && text.front() == '"' && text.back() == '"')
        text = text.size() == 1 ? CString() : text.substr(1, text.size() - 2);
    m_strDrive.clear();
    m_strFolder.clear();
    m_strName.clear();
    m_strExtension.clear();
    if (text.empty())
        return;

    const size_t slash = text.rfind('/');
    const size_t restStart = slash == CString::npos ? 0 : slash + 1;
    m_strFolder = text.substr(0, restStart);
    const CString rest = text.substr(restStart);
    const size_t dot = rest.rfind('.');
    m_strName = rest.substr(0, dot);
    // A name that is only an extension keeps neither.
    if (!m_strName.empty() && dot != CString::npos)
        m_strExtension = rest.substr(dot + 1);
}

CString AddBackSlash(const char* text)
{
    CString out = text ? text : "";
    if (!out.empty() && out.back() != '/')
        out += '/';
    return out;
}
