#pragma once
#include <cstdint>

#include "platform/cstring.h"

// Seconds since 1970-01-01 UTC, 64-bit. A time that could not be read stays
// invalid and formats as an empty text rather than as some made-up date.
class CTime {
public:
    CTime() = default;
    explicit CTime(int64_t seconds) : m_seconds(seconds), m_valid(true) {}

    bool IsValid() const { return m_valid; }
    int64_t GetTime() const { return m_seconds; }
    CString FormatGmt(const char* format) const;

private:
    int64_t m_seconds = 0;
    bool m_valid = false;
};
