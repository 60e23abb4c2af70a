#pragma once
// The extraction run: for each source path, in order, copy the sound of the
// camera file into source + ".wav", telling the user every step through a
// narrow interface so that the window (or the command line) only forwards.
#include <vector>

#include "platform/cstring.h"
#include "platform/file.h"

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
    // Write a whole memo as plain 16-bit PCM, which every player plays.
    bool bPcm = false;
};

/// Runs over the selected rows' paths in the order given (an empty list is
/// the "nothing selected" case). Returns the output paths it wrote. A
/// picture with several memos gives <picture>.wav, <picture>.2.wav, ...
std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options = {});

/// Reads the first memo of the picture at path into wav: the bytes that
/// extraction would write to its first output file, writing nothing.
/// Returns false when the picture has no memo, cannot be read, or its memo
/// is cut short, or when keepGoing (asked now and then) said stop.
bool ReadMemo(const CString& path, std::vector<unsigned char>& wav, const KeepGoing& keepGoing = {});

// The output path of a source's memo: the source path with ".wav"
// appended for the first, ".2.wav", ".3.wav", ... for later ones.
inline CString OutputPathFor(const CString& source, int memo = 1)
{
    return memo == 1 ? source + ".wav" : FormatText("%s.%d.wav", source.c_str(), memo);
}
