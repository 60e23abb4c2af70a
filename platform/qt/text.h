#pragma once
// The program's texts (bytes) as widgets show them.
#include <QString>
#include <QUrl>

#include "platform/cstring.h"

// File names are bytes, decoded from the locale for display and encoded
// back from what a widget holds.
QString ToDisplay(const CString& bytes);
CString FromDisplay(const QString& text);
// The file: URL of path. Percent-encoding the bytes keeps a name that is not
// valid in the locale's encoding naming the same file.
QUrl FileUrl(const CString& path);
