#pragma once
// Files as the program needs them: a source read at absolute offsets, the
// information record of a file, and an output file that appears under its
// name only when complete. Only regular files are ever opened: a FIFO,
// device or socket is refused by its type before any open, so nothing here
// can block on one or set off what opening a device does.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
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

// The error code for a path that names something other than a regular
// file; every other code is an errno value.
constexpr int ERROR_NOT_REGULAR_FILE = -1;
// Words for an error code, as the user should read them.
const char* DescribeError(int error);

/// Opens the folder at path (relative, '/' between its parts) below the
/// open folder at, one part at a time and making each part that is missing
/// (mode 0777, limited by the umask). No symbolic link is followed, whoever
/// planted it and when: a link where a part should be fails with ENOTDIR.
/// An empty path opens at itself again. On failure the descriptor is not
/// open and error says why.
CUniqueFd OpenFolderBelow(int at, const CString& path, int& error);

// Called now and then during a long piece of work on one file; answering
// false abandons it.
using KeepGoing = std::function<bool()>;

// A regular file opened read-only, read at absolute offsets.
class CSourceFile {
public:
    /// With keepFolder the file's folder is opened first and the file
    /// through it, and the folder stays open (Folder()): what is written
    /// beside the file then lands in the folder it was read from, whatever
    /// is renamed or swapped in the path afterwards.
    bool Open(const CString& path, bool keepFolder = false);
    /// Opens name (one component of a path) in the folder picture was read
    /// from: never through a symbolic link, a regular file only, and, when
    /// we run as root, only a file of the picture's owner or of root, so
    /// that nobody can have root read their way into another's file. The
    /// folder is picture's own (Open with keepFolder), else opened now and
    /// checked to still hold the picture.
    bool OpenBeside(const CSourceFile& picture, const CString& name);
    bool IsOpen() const { return m_fd.IsOpen(); }
    // The descriptor, for a reader that takes one; it stays ours.
    int Descriptor() const { return m_fd.Get(); }
    // The folder's descriptor (O_PATH), open only after Open with keepFolder.
    int Folder() const { return m_folder.Get(); }
    // Why the last Open or ReadAt failed.
    int GetError() const { return m_nError; }
    // Serves small reads from a window of this many bytes read at once, for
    // a caller that will read most of the file anyway.
    void SetReadAhead(size_t bytes) { m_window.reserve(bytes); }
    int64_t GetSize() const { return m_size; }
    mode_t GetPermissions() const { return m_permissions; }
    // Reads up to n bytes at offset; fewer only at the end of the file.
    // Returns the count read, or -1 on a read error.
    long ReadAt(int64_t offset, void* buffer, size_t n) const;
    void Close()
    {
        m_fd.Reset();
        m_folder.Reset();
    }

private:
    long ReadDirect(int64_t offset, void* buffer, size_t n) const;
    // The type check and open of name in the folder at (or AT_FDCWD).
    bool OpenIn(int at, const char* name, int flags);

    CString m_strPath;
    CUniqueFd m_folder;
    CUniqueFd m_fd;
    int64_t m_size = 0;
    mode_t m_permissions = 0;
    uid_t m_owner = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    mutable int m_nError = 0;
    mutable std::vector<unsigned char> m_window;
    mutable int64_t m_windowStart = -1;
};

// A new file that takes the place of path only when Commit succeeds. Until
// then it has no name (or, where unnamed files cannot be named, a temporary
// one in the same folder, created exclusively and never through a link); if
// the object goes without a commit, it goes too and whatever was at path
// stays as it was.
class COutputFile {
public:
    COutputFile() = default;
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;
    ~COutputFile() { Discard(); }

    // permissions are limited by the umask, as for any new file.
    bool Create(const CString& path, mode_t permissions);
    /// The same in an open folder, which must stay open until Commit or
    /// until the object goes: the file is made and named there, path giving
    /// only the name (after its last '/'), whatever the path's folder names
    /// by then.
    bool CreateIn(int folder, const CString& path, mode_t permissions);
    bool Write(const void* data, size_t n);
    /// Closes the file and gives it path's name (a link there is replaced,
    /// not followed). A new name is linked straight to the file; an existing
    /// one is replaced by a rename from a temporary name, which a kill in
    /// that instant can leave behind. False when anything written may not
    /// have reached the file, or the name could not be given;
    /// CommitFailedAtName tells which.
    bool Commit();
    bool CommitFailedAtName() const { return m_bNameFailed; }
    int GetError() const { return m_nError; }

private:
    bool Fail();
    void Discard();

    bool NameTemporary();

    int m_folder = -1;
    CUniqueFd m_ownFolder; // m_folder, when Create opened it
    CUniqueFd m_fd;
    CString m_strName;     // the final name, in m_folder
    CString m_strTempName; // the temporary name, when the file has one
    bool m_bNameFailed = false;
    int m_nError = 0;
};

struct CFileInformation {
    int64_t nSize = 0;
    CTime tCreation;
    CTime tLastAccess;
    CTime tLastWrite;
};

// Reads the information record of a regular file by its path, opening
// nothing. On failure the record is left zero-sized with invalid times.
bool GetFileInformation(const CString& path, CFileInformation& info);

// A file's or folder's size and last change, to the nanosecond: equal
// stamps mean the same contents as far as a cache can tell. All -1 for what
// is not there.
struct CFileStamp {
    int64_t nSize = -1;
    int64_t nModifiedNs = -1;
    bool operator==(const CFileStamp&) const = default;
};
CFileStamp GetFileStamp(const CString& path);
