#pragma once
// One path split into folder, name and extension, joined again in the forms
// the window shows, plus the size and times of the file it names.
#include <cstdint>

#include "platform/cstring.h"
#include "platform/ctime.h"
#include "platform/file.h"

enum {
    PATH_TIME_CREATION = 0,
    PATH_TIME_LAST_ACCESS = 1,
    PATH_TIME_LAST_WRITE = 2,
};

class CPathParts {
public:
    explicit CPathParts(const char* path);
    virtual ~CPathParts() = default;

    void SetPath(const char* path);

    CString GetLocation() const { return m_strDrive + m_strFolder; }
    CString GetExtension() const { return m_strExtension.empty() ? CString() : "." + m_strExtension; }
    CString GetFileName() const { return m_strName + GetExtension(); }
    CString GetPath() const { return GetLocation() + GetFileName(); }
    const char* GetFullPath();

    bool GetFileInfo();
    bool GetFileSize(int64_t& size);
    bool GetFileTime(CTime& time, int selector);
    // Size and one time from the record that the last GetFileInfo read,
    // for a caller that needs both from one reading.
    int64_t GetInfoSize() const { return m_fileInfo.nSize; }
    CTime GetInfoTime(int selector) const;

    const CString& GetDrive() const { return m_strDrive; }
    const CString& GetFolder() const { return m_strFolder; }
    const CString& GetName() const { return m_strName; }
    const CString& GetExtensionText() const { return m_strExtension; }

private:
    CString m_strDrive; // always empty: POSIX paths have no drives
    CString m_strFolder;
    CString m_strName;
    CString m_strExtension;
    CFileInformation m_fileInfo;
    CString m_strFullPath;
};

// A copy of the text with the separator appended, unless the text is empty
// or already ends in one.
CString AddBackSlash(const char* text);
