#pragma once
// The extraction run: for each source path, in order, copy the sound of the
// camera file into source + ".wav", telling the user every step through a
// narrow interface so that the window (or the command line) only forwards.
#include <vector>

#include "platform/cstring.h"

class IExtractReport {
public:
    virtual ~IExtractReport() = default;
    // A row appended at the end of the log.
    virtual void WriteLogRow(const CString& text) = 0;
    // A modal message with an OK button; the run waits for it.
    virtual void ShowMessage(const CString& text) = 0;
};

// Runs over the selected rows' paths in the order given. An empty list is
// the "nothing selected" case.
void RunExtraction(const std::vector<CString>& sources, IExtractReport& report);

// The output path of a source: the source path with ".wav" appended.
inline CString OutputPathFor(const CString& source)
{
    return source + ".wav";
}
