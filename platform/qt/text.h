#pragma once
// The program's texts (bytes) as widgets show them, and compared without
// regard to case.
#include <QString>

#include "platform/cstring.h"

// File names are bytes, decoded from the locale for display and encoded
// back from what a widget holds.
QString ToDisplay(const CString& bytes);
CString FromDisplay(const QString& text);

// The case-folded key of a path, aware of Unicode in UTF-8 names: two texts
// are equal without regard to case ("IMG.JPG" and "img.jpg", "É" and "é")
// exactly when their keys are equal. Bytes that are not valid UTF-8 stay
// themselves, so two different names never become equal.
CString FoldCase(const CString& text);
