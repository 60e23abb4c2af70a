#include "platform/ctime.h"

#include <ctime>

CTime CTime::GetCurrentTime()
{
    return CTime(static_cast<int64_t>(std::time(nullptr)));
}

CString CTime::FormatGmt(const char* format) const
{
    if (!m_valid)
        return {};
    const time_t t = static_cast<time_t>(m_seconds);
    struct tm parts {};
    if (gmtime_r(&t, &parts) == nullptr)
        return {};
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &parts);
    return CString(buffer, n);
}
