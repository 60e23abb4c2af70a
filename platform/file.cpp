#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
// regular-file test then turns every such file away before it is read. The
// flag changes nothing for reading or writing a regular file, so it stays.
CUniqueFd OpenRegular(const CString& path, int flags, struct stat* st)
{
    CUniqueFd fd(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.IsOpen() && (::fstat(fd.Get(), st) != 0 || !S_ISREG(st->st_mode)))
        return CUniqueFd();
    return fd;
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
    CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    // One statx gives the kind, the size and all three times, the birth time
    // where the file system keeps one (else the status-change time).
    struct statx stx {};
    if (!fd.IsOpen() || ::statx(fd.Get(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0
        || !S_ISREG(stx.stx_mode))
        return false;
    const auto seconds = [](const struct statx_timestamp& ts) { return CTime(static_cast<int64_t>(ts.tv_sec)); };
    info.nSize = static_cast<int64_t>(stx.stx_size);
    info.tLastAccess = seconds(stx.stx_atime);
    info.tLastWrite = seconds(stx.stx_mtime);
    info.tCreation = seconds((stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_ctime);
    return true;
}
