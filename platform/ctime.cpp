#include "platform/ctime.h"

#include <clocale>
#include <ctime>
#include <locale.h>

CString CTime::FormatGmt(const char* format) const
{
    if (!m_valid)
        return {};
    const time_t t = static_cast<time_t>(m_seconds);
    struct tm parts {};
    if (gmtime_r(&t, &parts) == nullptr)
        return {};
    // The C locale whatever the user's: "AM"/"PM" and digits as the texts expect.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char buffer[256];
    const size_t n = strftime_l(buffer, sizeof buffer, format, &parts, cLocale);
    return CString(buffer, n);
}
