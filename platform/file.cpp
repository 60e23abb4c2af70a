#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

namespace {

// O_NONBLOCK keeps the open itself from waiting on a FIFO or a device; the
// regular-file test then turns every such file away before it is read.
CUniqueFd OpenRegular(const CString& path, int flags, struct stat* st)
{
    CUniqueFd fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (!fd.IsOpen())
        return fd;
    if (::fstat(fd.Get(), st) != 0 || !S_ISREG(st->st_mode))
        return CUniqueFd();
    const int status = ::fcntl(fd.Get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.Get(), F_SETFL, status & ~O_NONBLOCK) != 0)
        return CUniqueFd();
    return fd;
}

CTime FromTimespec(const struct timespec& ts)
{
    return CTime(static_cast<int64_t>(ts.tv_sec));
}

} // namespace

bool CSourceFile::Open(const CString& path)
{
    struct stat st {};
    m_fd = OpenRegular(path, O_RDONLY, &st);
    m_size = m_fd.IsOpen() ? static_cast<int64_t>(st.st_size) : 0;
    return m_fd.IsOpen();
}

long CSourceFile::ReadAt(int64_t offset, void* buffer, size_t n) const
{
    if (!m_fd.IsOpen() || offset < 0)
        return -1;
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd.Get(), out + done, n - done,
                                    static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<long>(done);
}

bool COutputFile::OpenWith(const CString& path, int flags)
{
    struct stat st {};
    m_fd = OpenRegular(path, flags, &st);
    return m_fd.IsOpen();
}

bool COutputFile::Create(const CString& path)
{
    return OpenWith(path, O_WRONLY | O_CREAT | O_TRUNC);
}

bool COutputFile::OpenAppend(const CString& path)
{
    return OpenWith(path, O_WRONLY | O_CREAT | O_APPEND);
}

bool COutputFile::Write(const void* data, size_t n)
{
    const auto* in = static_cast<const unsigned char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(m_fd.Get(), in, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        in += put;
        n -= static_cast<size_t>(put);
    }
    return true;
}

bool COutputFile::Close()
{
    return m_fd.Reset();
}

bool DeleteFile(const CString& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool GetFileInformation(const CString& path, CFileInformation& info)
{
    info = CFileInformation{};
    struct stat st {};
    CUniqueFd fd = OpenRegular(path, O_RDONLY, &st);
    if (!fd.IsOpen())
        return false;
    info.nSize = static_cast<int64_t>(st.st_size);
    info.tLastAccess = FromTimespec(st.st_atim);
    info.tLastWrite = FromTimespec(st.st_mtim);
    // Birth time where the file system keeps one; the status-change time
    // is the nearest thing elsewhere.
    struct statx stx {};
    if (::statx(fd.Get(), "", AT_EMPTY_PATH, STATX_BTIME, &stx) == 0 && (stx.stx_mask & STATX_BTIME))
        info.tCreation = CTime(static_cast<int64_t>(stx.stx_btime.tv_sec));
    else
        info.tCreation = FromTimespec(st.st_ctim);
    return true;
}
