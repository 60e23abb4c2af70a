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
    /// A modal message with an OK button; the run waits for it. The text is
    /// format with path put in for its %s; error is the errno value (or
    /// ERROR_NOT_REGULAR_FILE) behind the failure, 0 when there is none.
    virtual void ShowMessage(const char* format, const CString& path, int error) = 0;
};

struct CExtractOptions {
    // Write what survives of a memo that is cut short or cannot be read to
    // the end, instead of nothing; it is never logged as done.
    bool bKeepPartial = false;
};

/// Runs over the selected rows' paths in the order given (an empty list is
/// the "nothing selected" case). Returns the output paths it wrote.
std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options = {});

// The output path of a source: the source path with ".wav" appended.
inline CString OutputPathFor(const CString& source)
{
    return source + ".wav";
}
