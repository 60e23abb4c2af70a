#pragma once
// Path comparison without regard to case, aware of Unicode in UTF-8 names:
// "IMG.JPG" equals "img.jpg", "É" equals "é". Bytes that are not valid UTF-8
// compare as themselves, so two different names never become equal.
#include "platform/cstring.h"

// The case-folded key of a text: two texts are equal without regard to case
// exactly when their keys are equal.
CString FoldCase(const CString& text);
