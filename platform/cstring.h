#pragma once
// The program's texts are byte strings: file names stay exactly the bytes the
// file system gave us, whatever their encoding.
#include <string>

using CString = std::string;

// printf-style formatting for the message texts.
CString FormatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
