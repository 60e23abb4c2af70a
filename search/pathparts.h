#pragma once
// One path split into folder, name and extension, joined again in the forms
// the window shows.
#include "platform/cstring.h"

class CPathParts {
public:
    explicit CPathParts(const char* path);
    virtual ~CPathParts() = default;

    void SetPath(const char* path);

    CString GetLocation() const { return m_strDrive + m_strFolder; }
    CString GetExtension() const { return m_strExtension.empty() ? CString() : "." + m_strExtension; }
    CString GetFileName() const { return m_strName + GetExtension(); }
    CString GetPath() const { return GetLocation() + GetFileName(); }

private:
    CString m_strDrive; // always empty: POSIX paths have no drives
    CString m_strFolder;
    CString m_strName;
    CString m_strExtension;
};

// A copy of the text with the separator appended, unless the text is empty
// or already ends in one.
CString AddBackSlash(const char* text);

/// Returns path with a leading "~" or "~/" replaced by the home folder
/// ($HOME, else the user database's), as a shell would; other paths as given.
CString ExpandHome(const CString& path);
