#pragma once
// The program's texts are byte strings: file names stay exactly the bytes the
// file system gave us, whatever their encoding.
#include <cstddef>
#include <string>

using CString = std::string;

// printf-style formatting for the message texts.
CString FormatText(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// The length of the valid UTF-8 sequence at text (n bytes left, n > 0),
/// with its code point in code; 0 when the bytes there are no valid UTF-8
/// (overlong forms and surrogates included).
size_t Utf8SequenceAt(const unsigned char* text, size_t n, char32_t& code);
