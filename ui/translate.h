#pragma once
// The window's texts in the user's language. The English text is both the
// source and the key: a text without a translation shows as it is.
#include "platform/cstring.h"

// The text in the user's language, as the bytes the program's texts are.
CString TrText(const char* context, const char* source);
/// Returns the translation of a printf format when it asks for the same
/// conversions, in the same order, as the English one; else the English one,
/// so that no translation can format an argument as something it is not.
CString TrFormat(const char* context, const char* format);
/// Returns a log row or message of the extraction run in the user's
/// language: a fixed row by its English text, a row made from a format by
/// the format it matches, a path as it is.
CString TrExtractText(const CString& text);
/// Returns where a memo is (DescribeMemoPlace's words) in the user's language.
CString TrMemoPlace(const CString& place);
