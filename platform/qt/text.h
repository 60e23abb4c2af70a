#pragma once
// The program's texts (bytes) as widgets show them.
#include <QString>

#include "platform/cstring.h"

// File names are bytes, decoded from the locale for display and encoded
// back from what a widget holds.
QString ToDisplay(const CString& bytes);
CString FromDisplay(const QString& text);
