#pragma once
// The extraction run: for each source path, in order, copy the sound of the
// camera file into source + ".wav", telling the user every step through a
// narrow interface so that the window (or the command line) only forwards.
#include <cstddef>
#include <optional>
#include <vector>

#include "audio/memo.h"
#include "platform/cstring.h"
#include "platform/file.h"

// What became of one memo, or of a file that gave none.
enum class ExtractOutcome { Done, Partial, CutShort, NoMemo, Failed };

// The end of one memo's extraction (or of a file's, when it has no memo),
// for those who keep a record of it.
struct CExtractResult {
    const CString& strSource;
    const CMemo* memo;       // null when the file gave no memo
    int nMemo;               // 1, 2, ... among nMemos of the picture
    int nMemos;
    CString strOutput;       // empty when nothing was to be written
    ExtractOutcome outcome;
    CString strError;        // the reason, in words; empty when there is none
};

class IExtractReport {
public:
    virtual ~IExtractReport() = default;
    // A row appended at the end of the log.
    virtual void WriteLogRow(const CString& text) = 0;
    /// A modal message with an OK button; the run waits for it. The text is
    /// format with path put in for its %s; error is the errno value (or
    /// ERROR_NOT_REGULAR_FILE) behind the failure, 0 when there is none.
    virtual void ShowMessage(const char* format, const CString& path, int error) = 0;
    // Told once per memo, and once for a file that gave none, after the log
    // rows that say the same. The run may end after a failure (see above).
    virtual void Result(const CExtractResult&) {}
    /// Asked at most once per run, when a WAV cannot be made beside its
    /// picture because the folder cannot be written (EROFS, EACCES) and no
    /// output folder was given: a folder answered takes this memo and every
    /// later one (the tree rule of CExtractOptions::strOutputDir); nothing
    /// answered goes on as before (the failure's message, the run ends).
    /// folder is the top of the tree that would be mirrored there (the tree
    /// root given, else the sources' common parent), ending in '/'.
    virtual std::optional<CString> OtherOutputFolder(const CString& /*folder*/, int /*error*/) { return {}; }
    /// Asked before each source with how many are done of how many; false
    /// stops the run there, after the file in hand was finished whole.
    virtual bool KeepGoing(size_t /*done*/, size_t /*total*/) { return true; }
};

// What a run did, counted by source file: a file with a memo written (a
// partial one on request included) counts its memos as written.
struct CExtractSummary {
    int nWritten = 0;
    int nWithoutMemo = 0;
    int nFailed = 0;
    bool bCancelled = false;
};

struct CExtractOptions {
    // Write what survives of a memo that is cut short or cannot be read to
    // the end, instead of nothing; it is never logged as done.
    bool bKeepPartial = false;
    // Write a whole memo as plain 16-bit PCM, which every player plays.
    bool bPcm = false;
    // Where the WAVs go: empty for beside each picture; otherwise a folder
    // below which each picture's path relative to strTreeRoot is kept
    // (TREE/2003/a.jpg -> OUT/2003/a.jpg.wav). An empty strTreeRoot is the
    // sources' common parent folder.
    CString strOutputDir;
    CString strTreeRoot;
    // Go on with the next file after an output file could not be made or
    // written, instead of ending the run there.
    bool bKeepGoing = false;
};

/// Runs over the selected rows' paths in the order given (an empty list is
/// the "nothing selected" case). Returns the output paths it wrote. A
/// picture with several memos gives <picture>.wav, <picture>.2.wav, ...;
/// a name the run already wrote for another memo is passed over for the
/// next index, so no memo of the run replaces another.
std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options = {}, CExtractSummary* summary = nullptr);

/// Reads the first memo of the picture at path into wav: the bytes that
/// extraction would write to its first output file, writing nothing.
/// Returns false when the picture has no memo, cannot be read, or its memo
/// is cut short, or when keepGoing (asked now and then) said stop.
bool ReadMemo(const CString& path, std::vector<unsigned char>& wav, const KeepGoing& keepGoing = {});

/// The deepest folder that holds every one of paths, each made absolute
/// against the current folder by its words alone (no link is resolved):
/// for one folder, that folder.
CString CommonFolder(const std::vector<CString>& paths);

// The output path of a source's memo: the source path with ".wav"
// appended for the first, ".2.wav", ".3.wav", ... for later ones.
inline CString OutputPathFor(const CString& source, int memo = 1)
{
    return memo == 1 ? source + ".wav" : FormatText("%s.%d.wav", source.c_str(), memo);
}
