#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

CUniqueFd& CUniqueFd::operator=(CUniqueFd&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_fd = other.Release();
    }
    return *this;
}

int CUniqueFd::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool CUniqueFd::Reset()
{
    if (m_fd < 0)
        return true;
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0;
}

const char* DescribeError(int error)
{
    if (error == ERROR_NOT_REGULAR_FILE)
        return "Not a regular file";
    if (error == 0)
        return "";
    // The same words in every locale (strerror follows the user's language),
    // so the window's exported list says what vocaline-extract says.
    const char* text = strerrordesc_np(error);
    return text ? text : "Unknown error";
}

namespace {

// The folder path lies in ("." when it names none), opened for the *at
// calls. O_PATH: a folder we may search but not list is still a folder to
// write in.
CUniqueFd OpenFolderOf(const CString& path)
{
    const size_t slash = path.rfind('/');
    const CString folder = slash == CString::npos ? CString(".") : path.substr(0, slash + 1);
    return CUniqueFd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

CUniqueFd OpenFolderBelow(int at, const CString& path, int& error)
{
    constexpr int kFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    CUniqueFd folder;
    for (size_t start = 0; start < path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        const CString part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        const int from = folder.IsOpen() ? folder.Get() : at;
        CUniqueFd next(::openat(from, part.c_str(), kFlags));
        // mkdirat makes no link's target: a name taken by a link stays EEXIST
        // and the open after it refuses the link.
        if (!next.IsOpen() && errno == ENOENT && (::mkdirat(from, part.c_str(), 0777) == 0 || errno == EEXIST))
            next = CUniqueFd(::openat(from, part.c_str(), kFlags));
        if (!next.IsOpen()) {
            error = errno;
            return {};
        }
        folder = std::move(next);
    }
    if (!folder.IsOpen())
        folder = CUniqueFd(::openat(at, ".", kFlags));
    error = folder.IsOpen() ? 0 : errno;
    return folder;
}

bool CSourceFile::Open(const CString& path, bool keepFolder)
{
    Close();
    m_strPath = path;
    int at = AT_FDCWD;
    const char* name = path.c_str();
    if (keepFolder) {
        const size_t slash = path.rfind('/');
        name += slash == CString::npos ? 0 : slash + 1;
        m_folder = OpenFolderOf(path);
        if (!m_folder.IsOpen()) {
            m_nError = errno;
            return false;
        }
        at = m_folder.Get();
    }
    return OpenIn(at, name, 0);
}

bool CSourceFile::OpenBeside(const CSourceFile& picture, const CString& name)
{
    Close();
    m_strPath = picture.m_strPath.substr(0, picture.m_strPath.rfind('/') + 1) + name;
    int folder = picture.m_folder.Get();
    CUniqueFd opened;
    if (folder < 0) {
        // The folder the path names now, when it still holds the picture
        // that was read.
        opened = OpenFolderOf(picture.m_strPath);
        struct stat st {};
        const CString pictureName = picture.m_strPath.substr(picture.m_strPath.rfind('/') + 1);
        if (!opened.IsOpen() || ::fstatat(opened.Get(), pictureName.c_str(), &st, 0) != 0
            || st.st_dev != picture.m_device || st.st_ino != picture.m_inode) {
            m_nError = opened.IsOpen() ? ENOENT : errno;
            return false;
        }
        folder = opened.Get();
    }
    if (name.find('/') != CString::npos || !OpenIn(folder, name.c_str(), O_NOFOLLOW))
        return false;
    if (::geteuid() == 0 && m_owner != picture.m_owner && m_owner != 0) {
        Close();
        m_nError = EPERM;
        return false;
    }
    return true;
}

bool CSourceFile::OpenIn(int at, const char* name, int flags)
{
    m_size = 0;
    m_windowStart = -1;
    m_nError = 0;
    // The type is checked by path first, so a device, FIFO or socket is
    // never opened; the second check, on the descriptor, catches a file
    // swapped in between. O_NONBLOCK keeps even that open from waiting.
    struct stat st {};
    if (::fstatat(at, name, &st, (flags & O_NOFOLLOW) ? AT_SYMLINK_NOFOLLOW : 0) != 0) {
        m_nError = errno;
        Close();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        m_nError = ERROR_NOT_REGULAR_FILE;
        Close();
        return false;
    }
    CUniqueFd fd(::openat(at, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags));
    if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0) {
        m_nError = errno;
        Close();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        m_nError = ERROR_NOT_REGULAR_FILE;
        Close();
        return false;
    }
    m_fd = std::move(fd);
    m_size = static_cast<int64_t>(st.st_size);
    m_permissions = st.st_mode & 0777;
    m_owner = st.st_uid;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    return true;
}

long CSourceFile::ReadAt(int64_t offset, void* buffer, size_t n) const
{
    if (!m_fd.IsOpen() || offset < 0) {
        m_nError = EBADF;
        return -1;
    }
    if (m_window.capacity() == 0 || n > m_window.capacity())
        return ReadDirect(offset, buffer, n);
    const bool inWindow = m_windowStart >= 0 && offset >= m_windowStart
        && offset + static_cast<int64_t>(n) <= m_windowStart + static_cast<int64_t>(m_window.size());
    if (!inWindow) {
        m_window.resize(m_window.capacity());
        const long got = ReadDirect(offset, m_window.data(), m_window.size());
        m_window.resize(got > 0 ? static_cast<size_t>(got) : 0);
        m_windowStart = got < 0 ? -1 : offset;
        if (got < 0)
            return -1;
    }
    // Past the end of the file the window is short: serve what it holds.
    const auto skip = static_cast<size_t>(offset - m_windowStart);
    const size_t count = skip < m_window.size() ? std::min(n, m_window.size() - skip) : 0;
    std::memcpy(buffer, m_window.data() + skip, count);
    return static_cast<long>(count);
}

long CSourceFile::ReadDirect(int64_t offset, void* buffer, size_t n) const
{
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd.Get(), out + done, n - done,
                                    static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            m_nError = errno;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<long>(done);
}

namespace {

// Short, so that it fits beside any name the folder can hold; hidden, so
// that a file browser does not show it for its short life.
CString TempName()
{
    static std::minstd_rand engine(std::random_device{}());
    char name[32];
    std::snprintf(name, sizeof name, ".vocaline-%08x.tmp", static_cast<unsigned>(engine()));
    return name;
}

// An unnamed file (O_TMPFILE) can be given a name only through /proc.
bool CanNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

constexpr int kNameAttempts = 100;

} // namespace

bool COutputFile::Create(const CString& path, mode_t permissions)
{
    CUniqueFd fd = OpenFolderOf(path);
    if (!fd.IsOpen()) {
        Discard();
        m_nError = errno;
        return false;
    }
    const bool created = CreateIn(fd.Get(), path, permissions);
    m_ownFolder = std::move(fd);
    return created;
}

bool COutputFile::CreateIn(int folder, const CString& path, mode_t permissions)
{
    Discard();
    m_bNameFailed = false;
    m_nError = 0;
    m_strName = path.substr(path.rfind('/') + 1);
    if (m_strName.empty()) {
        errno = EISDIR;
        return Fail();
    }
    m_ownFolder.Reset();
    m_folder = folder;
    // An unnamed file leaves nothing behind, whatever ends the process.
    if (CanNameUnnamedFiles()) {
        m_fd = CUniqueFd(::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions));
        if (m_fd.IsOpen())
            return true;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return Fail();
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const CString temp = TempName();
        m_fd = CUniqueFd(
            ::openat(m_folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions));
        if (m_fd.IsOpen()) {
            m_strTempName = temp;
            return true;
        }
        if (errno != EEXIST)
            return Fail();
    }
    return Fail();
}

bool COutputFile::Write(const void* data, size_t n)
{
    const auto* in = static_cast<const unsigned char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(m_fd.Get(), in, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return Fail();
        }
        in += put;
        n -= static_cast<size_t>(put);
    }
    return true;
}

bool COutputFile::Commit()
{
    if (!m_fd.IsOpen()) {
        errno = m_nError != 0 ? m_nError : EBADF;
        return Fail();
    }
    if (m_strTempName.empty()) {
        // A name that is free is linked straight to the file: no moment
        // with a temporary name, and one directory operation fewer.
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.Get());
        if (::linkat(AT_FDCWD, self.c_str(), m_folder, m_strName.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (m_fd.Reset())
                return true;
            const int error = errno;
            ::unlinkat(m_folder, m_strName.c_str(), 0);
            errno = error;
            return Fail();
        }
        // linkat cannot replace a file: when the name is taken (also by
        // someone who made it meanwhile), the file gets a temporary name
        // first and the rename below replaces the old file atomically.
        if (errno != EEXIST || !NameTemporary()) {
            m_bNameFailed = true;
            return Fail();
        }
    }
    // No fsync, as cp: a rename over an existing file already orders the
    // data before the name on the file systems that matter.
    if (!m_fd.Reset())
        return Fail();
    if (::renameat(m_folder, m_strTempName.c_str(), m_folder, m_strName.c_str()) != 0) {
        m_bNameFailed = true;
        return Fail();
    }
    m_strTempName.clear();
    return true;
}

bool COutputFile::NameTemporary()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd.Get());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const CString temp = TempName();
        if (::linkat(AT_FDCWD, self.c_str(), m_folder, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_strTempName = temp;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool COutputFile::Fail()
{
    m_nError = errno;
    Discard();
    return false;
}

void COutputFile::Discard()
{
    m_fd.Reset();
    if (!m_strTempName.empty())
        ::unlinkat(m_folder, m_strTempName.c_str(), 0);
    m_strTempName.clear();
}

CFileStamp GetFileStamp(const CString& path)
{
    struct statx stx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_SIZE | STATX_MTIME, &stx) != 0)
        return {};
    return {static_cast<int64_t>(stx.stx_size),
            static_cast<int64_t>(stx.stx_mtime.tv_sec) * 1'000'000'000 + stx.stx_mtime.tv_nsec};
}

bool GetFileInformation(const CString& path, CFileInformation& info)
{
    info = CFileInformation{};
    // One statx by path gives the kind, the size and all three times (the
    // birth time where the file system keeps one, else the status-change
    // time), and opens nothing.
    struct statx stx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0
        || !S_ISREG(stx.stx_mode))
        return false;
    const auto seconds = [](const struct statx_timestamp& ts) { return CTime(static_cast<int64_t>(ts.tv_sec)); };
    info.nSize = static_cast<int64_t>(stx.stx_size);
    info.tLastAccess = seconds(stx.stx_atime);
    info.tLastWrite = seconds(stx.stx_mtime);
    info.tCreation = seconds((stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_ctime);
    return true;
}
