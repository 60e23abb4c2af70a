#pragma once
// Files as the program needs them: a source read at absolute offsets, the
// information record of a file, and an output file written in whole pieces.
// Only regular files are ever read or written: a FIFO, device or socket is a
// file that "cannot be opened", so nothing here can block on one.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/cstring.h"
#include "platform/ctime.h"

// Owns one descriptor and closes it on every path.
class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(other.Release()) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept;
    ~CUniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    int Release();
    // Closes the descriptor; false when close reports an error.
    bool Reset();

private:
    int m_fd = -1;
};

// A regular file opened read-only, read at absolute offsets.
class CSourceFile {
public:
    bool Open(const CString& path);
    bool IsOpen() const { return m_fd.IsOpen(); }
    // Serves small reads from a window of this many bytes read at once, for
    // a caller that will read most of the file anyway.
    void SetReadAhead(size_t bytes) { m_window.reserve(bytes); }
    int64_t GetSize() const { return m_size; }
    // Reads up to n bytes at offset; fewer only at the end of the file.
    // Returns the count read, or -1 on a read error.
    long ReadAt(int64_t offset, void* buffer, size_t n) const;
    void Close() { m_fd.Reset(); }

private:
    long ReadDirect(int64_t offset, void* buffer, size_t n) const;

    CUniqueFd m_fd;
    int64_t m_size = 0;
    mutable std::vector<unsigned char> m_window;
    mutable int64_t m_windowStart = -1;
};

// An output file; every failure of creation, writing or closing is reported.
class COutputFile {
public:
    // Creates the file empty, replacing its contents.
    bool Create(const CString& path);
    // Opens the file for appending, creating it if missing.
    bool OpenAppend(const CString& path);
    bool Write(const void* data, size_t n);
    // Closes the file; false when anything written may not have reached it.
    bool Close();

private:
    bool OpenWith(const CString& path, int flags);
    CUniqueFd m_fd;
};

// Deletes a file if it exists; the answer says whether it is gone.
bool DeleteFile(const CString& path);

struct CFileInformation {
    int64_t nSize = 0;
    CTime tCreation;
    CTime tLastAccess;
    CTime tLastWrite;
};

// Reads the information record of a regular file. On failure the record is
// left zero-sized with invalid times.
bool GetFileInformation(const CString& path, CFileInformation& info);
