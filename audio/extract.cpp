#include "audio/extract.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <set>
#include <tuple>

#include "audio/flashpix.h"
#include "audio/jpegaudio.h"
#include "audio/memo.h"
#include "audio/wav.h"
#include "platform/file.h"

namespace {

const char* const kNoSelection = "Error No items were selected!";
const char* const kCannotOpen = "Error could not open file\n\n%s";
const char* const kFirstReadError = "Error reading first two charactes fromfile";
const char* const kNotJpeg = "Error File is not a jpg........................................";
const char* const kNoApp1 = "Error File missing APP1 0xe1ff marker";
const char* const kHeaderReadError = "Error reading four charactes fromfile";
const char* const kOutputBox = "Error cant open/create output file\n%s";
const char* const kOutputRow = "Error cant open/create output file";
const char* const kWriteBox = "Error writing output file\n%s";
const char* const kWriteRow = "Error writing output file";
const char* const kReadBox = "Error reading sound data from file\n%s";
const char* const kShortBox = "Error sound data in file is cut short\n%s";
const char* const kShortRow = "Error sound data cut short, no output file written";
const char* const kPartial = "Output file: %s Partial";
const char* const kAsStored = "Sound format not decoded, written as stored";
const char* const kTooLargeBox = "Error sound too long for a PCM WAV file (over 4 GB)\n%s";
const char* const kTooLargeRow = "Error sound too long for a PCM WAV file, no output file written";
const char* const kTooBigBox = "Error sound data larger than 256 MB\n%s";
const char* const kTooBigRow = "Error sound data larger than 256 MB, no output file written";
const char* const kDone = "Output file: %s Done";
const char* const kNoAudio = "No Audio in file....................................................";


enum class Outcome { NextRow, EndRun };

// The names a run has written, by folder (device, inode) and name.
using WrittenNames = std::set<std::tuple<dev_t, ino_t, CString>>;

namespace fs = std::filesystem;

// path made absolute by its words, without a trailing separator.
fs::path Absolute(const CString& path)
{
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path())
        absolute = absolute.parent_path();
    return absolute;
}

// Where a run writes its WAVs: beside each picture, or in a tree of folders
// below another folder that mirrors the pictures' tree below its root.
class COutputPlace {
public:
    COutputPlace(const std::vector<CString>& sources, const CExtractOptions& options)
        : m_sources(sources), m_strTreeRoot(options.strTreeRoot)
    {
        if (!options.strOutputDir.empty())
            SetFolder(options.strOutputDir);
    }
    bool IsBeside() const { return m_strFolder.empty(); }
    void SetFolder(const CString& folder) { m_strFolder = folder.back() == '/' ? folder : folder + '/'; }
    /// The folder whose tree is mirrored, ending in '/': the root given, or
    /// the sources' common parent.
    CString TreeRoot()
    {
        const CString& root = Root().native();
        return root.empty() || root.back() == '/' ? root : root + '/';
    }
    /// source's path in the output tree, from the output folder on: its
    /// path below the tree's root.
    CString PathBelow(const CString& source)
    {
        const fs::path below = Absolute(source).lexically_relative(Root());
        // A source outside the tree (a root given that does not hold it)
        // goes straight into the output folder under its own name.
        if (below.empty() || below == "." || *below.begin() == ".." || !below.has_filename())
            return fs::path(source).filename().native();
        return below.native();
    }
    const CString& Folder() const { return m_strFolder; }
    /// The output folder, opened (and made, with its parents, when missing)
    /// at the first need; the folder named is followed as the user named it.
    int Open(int& error)
    {
        const auto open = [this] { return CUniqueFd(::open(m_strFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)); };
        if (!m_folder.IsOpen() && m_nError == 0) {
            m_folder = open();
            if (!m_folder.IsOpen() && errno == ENOENT) {
                std::error_code made;
                fs::create_directories(fs::path(m_strFolder), made);
                m_folder = open();
                if (!m_folder.IsOpen())
                    m_nError = made ? made.value() : errno;
            } else if (!m_folder.IsOpen()) {
                m_nError = errno;
            }
        }
        error = m_nError;
        return m_folder.Get();
    }
    // OtherOutputFolder is asked once per run at most.
    bool Ask()
    {
        const bool first = !m_bAsked;
        m_bAsked = true;
        return first;
    }

private:
    const fs::path& Root()
    {
        if (m_root.empty() && !m_strTreeRoot.empty()) {
            m_root = Absolute(m_strTreeRoot);
        } else if (m_root.empty()) {
            std::vector<CString> parents;
            parents.reserve(m_sources.size());
            for (const CString& source : m_sources)
                parents.push_back(Absolute(source).parent_path().native());
            m_root = fs::path(CommonFolder(parents));
        }
        return m_root;
    }

    const std::vector<CString>& m_sources;
    CString m_strTreeRoot;
    CString m_strFolder; // ends in '/'; empty for beside each picture
    fs::path m_root;
    CUniqueFd m_folder;
    int m_nError = 0;
    bool m_bAsked = false;
};

int64_t PiecesSize(const std::vector<SoundPiece>& pieces)
{
    int64_t size = 0;
    for (const SoundPiece& piece : pieces)
        size += static_cast<int64_t>(piece.count);
    return size;
}


/// Reads the fixed layout's sound pieces into memo, stopping at the end of
/// the source (nothing past it is invented). False on a read error; memo
/// then holds what came before it.
bool ReadPieces(const CSourceFile& file, const std::vector<SoundPiece>& pieces, std::vector<unsigned char>& memo)
{
    memo.clear();
    for (const SoundPiece& piece : pieces) {
        const size_t start = memo.size();
        memo.resize(start + piece.count);
        const long got = file.ReadAt(piece.offset, memo.data() + start, piece.count);
        memo.resize(start + static_cast<size_t>(std::max(got, 0L)));
        if (got < 0)
            return false;
        if (static_cast<size_t>(got) < piece.count)
            break;
    }
    return true;
}

// A FlashPix camera that writes its pieces in another order can put "RIFF"
// where the fixed layout looks: when its contents list names a memo that the
// fixed layout's bytes do not begin with, that memo is the one. On the
// camera the layout describes both agree, and its bytes are kept exactly.
// A list of several memos is always the one to follow: the fixed layout
// would run their pieces together into one.
bool ListedMemoOverrides(const std::vector<FpxrMemo>& memos, const std::vector<unsigned char>& fixed)
{
    if (memos.empty())
        return false;
    if (memos.size() > 1)
        return true;
    const std::vector<unsigned char>& listed = memos.front().bytes;
    return fixed.size() < listed.size() || !std::equal(listed.begin(), listed.end(), fixed.begin());
}

std::vector<CMemo> FromFlashPix(std::vector<FpxrMemo>&& memos)
{
    std::vector<CMemo> stored(memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        stored[i].source = MemoSource::FlashPixSegments;
        stored[i].strStreamName = memos[i].strName;
        stored[i].bytes = std::move(memos[i].bytes);
        stored[i].bComplete = memos[i].bComplete;
        stored[i].bTooLarge = memos[i].bTooLarge;
    }
    return stored;
}

CString Reason(const char* what, int error)
{
    return error != 0 ? FormatText("%s: %s", what, DescribeError(error)) : CString(what);
}

class CFileExtraction {
public:
    CFileExtraction(const CString& source, IExtractReport& report, const CExtractOptions& options,
                    std::vector<CString>& written, WrittenNames& names, COutputPlace& place)
        : m_source(source), m_report(report), m_options(options), m_written(written), m_names(names), m_place(place)
    {
    }

    Outcome Run();

private:
    Outcome FixedLayout(const std::vector<SoundPiece>& pieces);
    Outcome FlashPix(bool app1First);
    Outcome OtherSources(bool jpeg, const char* noMemoRow);
    Outcome WriteMemos(const std::vector<CMemo>& memos);
    Outcome WriteMemo(const CMemo& memo, Outcome afterShort = Outcome::NextRow);
    bool OpenOutputFolder();
    CString NextOutputPath();
    bool CreateOutput(COutputFile& output, CString& path, int firstIndex, mode_t permissions);
    Outcome Finish(COutputFile& output, const CString& path, bool complete, Outcome afterShort);
    Outcome OutputFailed(int error, const CString& path, bool creating);
    // Tells the report what became of the memo at hand (or of the file).
    void Tell(ExtractOutcome outcome, const CString& error = {}, const CString& output = {});

    const CString& m_source;
    IExtractReport& m_report;
    const CExtractOptions& m_options;
    std::vector<CString>& m_written;
    WrittenNames& m_names;
    COutputPlace& m_place;
    CSourceFile m_file;
    // Where this file's WAVs go: the folder (its descriptor and identity)
    // and the path that ".wav", ".2.wav", ... are appended to.
    CUniqueFd m_outFolder;
    int m_nOutFolder = -1;
    int m_nOutError = 0;
    struct stat m_folder {};
    CString m_outBase;
    int m_nIndex = 0; // of the last output name given
    const CMemo* m_memo = nullptr;
    int m_nMemo = 0;
    int m_nMemos = 0;
};

void CFileExtraction::Tell(ExtractOutcome outcome, const CString& error, const CString& output)
{
    m_report.Result({m_source, m_memo, m_nMemo, m_nMemos, output, outcome, error});
}

Outcome CFileExtraction::Run()
{
    m_report.WriteLogRow(m_source);
    // The folder is held open: the WAV goes where the picture was read.
    if (!m_file.Open(m_source, true)) {
        m_report.ShowMessage(kCannotOpen, m_source, m_file.GetError());
        Tell(ExtractOutcome::Failed, Reason("could not open the file", m_file.GetError()));
        return Outcome::NextRow;
    }
    // The walk reads headers and the sound behind them, front to back: one
    // large read serves many small ones.
    m_file.SetReadAhead(32 * 1024);
    SegmentHeader header;
    if (ReadSegmentHeader(m_file, 0, header) == HeaderRead::Error) {
        m_report.ShowMessage(kFirstReadError, "", m_file.GetError());
        Tell(ExtractOutcome::Failed, Reason("could not read the file", m_file.GetError()));
        return Outcome::NextRow;
    }
    if (!header.IsStartOfImage())
        return OtherSources(false, kNotJpeg);
    // The camera's fixed layout comes first, exactly as it always was; any
    // other maker's order of the FlashPix segments only after it.
    if (!header.App1Follows())
        return FlashPix(false);
    std::vector<SoundPiece> pieces;
    switch (WalkAudioRun(m_file, pieces, false)) {
    case AudioRun::HeaderReadError:
        m_report.ShowMessage(kHeaderReadError, "", m_file.GetError());
        Tell(ExtractOutcome::Failed, Reason("could not read the file", m_file.GetError()));
        return Outcome::EndRun;
    case AudioRun::ReadError:
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        Tell(ExtractOutcome::Failed, Reason("could not read the sound", m_file.GetError()));
        return Outcome::EndRun;
    case AudioRun::Memo:
        return FixedLayout(pieces);
    case AudioRun::NoMemo:
    case AudioRun::Stopped:
        break;
    }
    return FlashPix(true);
}

Outcome CFileExtraction::FlashPix(bool app1First)
{
    std::vector<FpxrMemo> memos;
    if (!ReadFlashPixMemos(m_file, memos)) {
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        Tell(ExtractOutcome::Failed, Reason("could not read the sound", m_file.GetError()));
        return Outcome::EndRun;
    }
    if (memos.empty())
        return OtherSources(true, app1First ? kNoAudio : kNoApp1);
    return WriteMemos(FromFlashPix(std::move(memos)));
}

// A memo kept elsewhere than the FlashPix segments; noMemoRow is the row
// for a file without any.
Outcome CFileExtraction::OtherSources(bool jpeg, const char* noMemoRow)
{
    CMemo memo;
    int error = 0;
    const OtherMemo found = FindOtherMemo(m_source, m_file, jpeg, memo, false, ALL_MEMO_SOURCES, &error);
    switch (found) {
    case OtherMemo::Memo:
        m_nMemo = m_nMemos = 1;
        return WriteMemo(memo);
    case OtherMemo::ReadError:
        m_report.ShowMessage(kReadBox, m_source, error);
        Tell(ExtractOutcome::Failed, Reason("could not read the sound", error));
        return Outcome::EndRun;
    case OtherMemo::NoMemo:
    case OtherMemo::NotFlashPix:
        break;
    }
    m_report.WriteLogRow(noMemoRow);
    Tell(ExtractOutcome::NoMemo, found == OtherMemo::NotFlashPix ? "not a FlashPix file" : jpeg ? "" : "not a JPEG file");
    return Outcome::NextRow;
}

Outcome CFileExtraction::WriteMemos(const std::vector<CMemo>& memos)
{
    m_nMemos = static_cast<int>(memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        m_nMemo = static_cast<int>(i) + 1;
        if (WriteMemo(memos[i]) == Outcome::EndRun)
            return Outcome::EndRun;
    }
    return Outcome::NextRow;
}

// The fixed layout's memo, its pieces read once, unless the FlashPix
// contents list says the memo is other bytes.
Outcome CFileExtraction::FixedLayout(const std::vector<SoundPiece>& pieces)
{
    CMemo memo;
    m_memo = &memo;
    m_nMemo = m_nMemos = 1;
    memo.bTooLarge = PiecesSize(pieces) > MAX_MEMO_BYTES;
    if (memo.bTooLarge)
        return WriteMemo(memo);
    if (!ReadPieces(m_file, pieces, memo.bytes)) {
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        if (m_options.bKeepPartial)
            return WriteMemo(memo, Outcome::EndRun);
        Tell(ExtractOutcome::Failed, Reason("could not read the sound", m_file.GetError()));
        return Outcome::EndRun;
    }
    std::vector<FpxrMemo> memos;
    if (ReadFlashPixMemos(m_file, memos) && ListedMemoOverrides(memos, memo.bytes))
        return WriteMemos(FromFlashPix(std::move(memos)));
    memo.bComplete = IsWholeRiff(memo.bytes);
    return WriteMemo(memo);
}

// The folder this file's WAVs go to: the picture's own, or its place in
// the output tree, made as needed.
bool CFileExtraction::OpenOutputFolder()
{
    m_outFolder.Reset();
    m_nOutFolder = -1;
    m_nOutError = 0;
    if (m_place.IsBeside()) {
        m_outBase = m_source;
        m_nOutFolder = m_file.Folder();
    } else {
        const CString below = m_place.PathBelow(m_source);
        m_outBase = m_place.Folder() + below;
        const int top = m_place.Open(m_nOutError);
        if (top >= 0) {
            const size_t slash = below.rfind('/');
            m_outFolder = OpenFolderBelow(top, slash == CString::npos ? CString() : below.substr(0, slash), m_nOutError);
            m_nOutFolder = m_outFolder.Get();
        }
    }
    if (m_nOutFolder >= 0 && ::fstat(m_nOutFolder, &m_folder) != 0)
        m_nOutError = errno;
    return m_nOutFolder >= 0 && m_nOutError == 0;
}

// The next memo's name: <source>.wav, .2.wav, ..., passing over a name this
// run wrote for another memo (pic.jpg's second memo and a picture named
// pic.jpg.2 both ask for pic.jpg.2.wav).
CString CFileExtraction::NextOutputPath()
{
    while (true) {
        const CString path = OutputPathFor(m_outBase, ++m_nIndex);
        if (!m_names.count({m_folder.st_dev, m_folder.st_ino, path.substr(path.rfind('/') + 1)}))
            return path;
    }
}

// Makes the output file for path. When the picture's folder cannot be
// written, the report may name another folder once per run, asked with the
// top of the tree that would be mirrored there: path then becomes this
// memo's name in that folder (its index counted anew from firstIndex).
bool CFileExtraction::CreateOutput(COutputFile& output, CString& path, int firstIndex, mode_t permissions)
{
    if (output.CreateIn(m_nOutFolder, path, permissions))
        return true;
    m_nOutError = output.GetError();
    if (!m_place.IsBeside() || (m_nOutError != EROFS && m_nOutError != EACCES) || !m_place.Ask())
        return false;
    const std::optional<CString> other = m_report.OtherOutputFolder(m_place.TreeRoot(), m_nOutError);
    if (!other || other->empty())
        return false;
    m_place.SetFolder(*other);
    m_nIndex = firstIndex;
    if (!OpenOutputFolder())
        return false;
    path = NextOutputPath();
    if (output.CreateIn(m_nOutFolder, path, permissions))
        return true;
    m_nOutError = output.GetError();
    return false;
}

// Writes one memo held whole, as 16-bit PCM when asked and when it is whole.
Outcome CFileExtraction::WriteMemo(const CMemo& memo, Outcome afterShort)
{
    m_memo = &memo;
    if (memo.bTooLarge) {
        m_report.ShowMessage(kTooBigBox, m_source, 0);
        m_report.WriteLogRow(kTooBigRow);
        Tell(ExtractOutcome::Failed, "sound data larger than 256 MB, no output file written");
        return Outcome::NextRow;
    }
    if (m_nOutFolder < 0 && !OpenOutputFolder())
        return OutputFailed(m_nOutError, OutputPathFor(m_outBase, m_nIndex + 1), true);
    const int firstIndex = m_nIndex;
    CString path = NextOutputPath();
    const bool complete = memo.bComplete;
    std::vector<unsigned char> pcm;
    const std::vector<unsigned char>* bytes = &memo.bytes;
    if (m_options.bPcm && complete) {
        switch (ConvertToPcm16(memo.bytes, pcm)) {
        case PcmConversion::Converted:
            bytes = &pcm;
            break;
        case PcmConversion::TooLarge:
            m_report.ShowMessage(kTooLargeBox, path, 0);
            m_report.WriteLogRow(kTooLargeRow);
            Tell(ExtractOutcome::Failed, "sound too long for a PCM WAV file");
            return Outcome::NextRow;
        case PcmConversion::Unsupported:
        case PcmConversion::Malformed:
            m_report.WriteLogRow(kAsStored);
            break;
        }
    }
    COutputFile output;
    // A memo file of its own lends the WAV no bits the picture does not have.
    if (!CreateOutput(output, path, firstIndex, m_file.GetPermissions() & memo.nPermissions))
        return OutputFailed(m_nOutError, path, true);
    if (!bytes->empty() && !output.Write(bytes->data(), bytes->size()))
        return OutputFailed(output.GetError(), path, false);
    return Finish(output, path, complete, afterShort);
}

// Gives a written memo its name when it is whole, or when the user asked
// for what survives of one that is not; afterShort is how the run goes on
// after an incomplete memo.
Outcome CFileExtraction::Finish(COutputFile& output, const CString& path, bool complete, Outcome afterShort)
{
    if (!complete) {
        if (afterShort == Outcome::NextRow)
            m_report.ShowMessage(kShortBox, m_source, 0);
        if (!m_options.bKeepPartial) {
            if (afterShort == Outcome::NextRow)
                m_report.WriteLogRow(kShortRow);
            Tell(ExtractOutcome::CutShort, "sound data cut short, no output file written");
            return afterShort;
        }
    }
    if (!output.Commit())
        return OutputFailed(output.GetError(), path, output.CommitFailedAtName());
    m_written.push_back(path);
    m_names.emplace(m_folder.st_dev, m_folder.st_ino, path.substr(path.rfind('/') + 1));
    m_report.WriteLogRow(FormatText(complete ? kDone : kPartial, path.c_str()));
    const char* const shortBy = afterShort == Outcome::NextRow ? "sound data cut short" : "could not read the sound";
    Tell(complete ? ExtractOutcome::Done : ExtractOutcome::Partial, complete ? "" : shortBy, path);
    return complete ? Outcome::NextRow : afterShort;
}

// A file that cannot be made or named is a creation failure; one that lost
// data on the way is a write failure. Either ends the run unless asked to
// keep going.
Outcome CFileExtraction::OutputFailed(int error, const CString& path, bool creating)
{
    m_report.ShowMessage(creating ? kOutputBox : kWriteBox, path, error);
    m_report.WriteLogRow(creating ? kOutputRow : kWriteRow);
    m_report.WriteLogRow(path);
    Tell(ExtractOutcome::Failed,
         Reason(creating ? "could not create the output file" : "could not write the output file", error), path);
    return m_options.bKeepGoing ? Outcome::NextRow : Outcome::EndRun;
}

// Passes everything on and notes, per file, what the file's results said.
class CTallyReport final : public IExtractReport {
public:
    explicit CTallyReport(IExtractReport& report) : m_report(report) {}
    void WriteLogRow(const CString& text) override { m_report.WriteLogRow(text); }
    void ShowMessage(const char* format, const CString& path, int error) override
    {
        m_report.ShowMessage(format, path, error);
    }
    std::optional<CString> OtherOutputFolder(const CString& folder, int error) override
    {
        return m_report.OtherOutputFolder(folder, error);
    }
    void Result(const CExtractResult& result) override
    {
        if (result.outcome == ExtractOutcome::Failed || result.outcome == ExtractOutcome::CutShort)
            m_bFailed = true;
        else if (result.outcome == ExtractOutcome::NoMemo)
            m_bNoMemo = true;
        m_report.Result(result);
    }

    void Count(CExtractSummary& summary, size_t memosWritten)
    {
        if (memosWritten > 0)
            summary.nWritten += static_cast<int>(memosWritten);
        else if (m_bFailed)
            ++summary.nFailed;
        else if (m_bNoMemo)
            ++summary.nWithoutMemo;
        m_bFailed = m_bNoMemo = false;
    }

private:
    IExtractReport& m_report;
    bool m_bFailed = false;
    bool m_bNoMemo = false;
};

} // namespace

std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options, CExtractSummary* summary)
{
    std::vector<CString> written;
    if (sources.empty()) {
        report.ShowMessage(kNoSelection, "", 0);
        return written;
    }
    CExtractSummary counts;
    CTallyReport tally(report);
    WrittenNames names;
    COutputPlace place(sources, options);
    for (size_t done = 0; done < sources.size(); ++done) {
        if (!report.KeepGoing(done, sources.size())) {
            counts.bCancelled = true;
            break;
        }
        const size_t before = written.size();
        const Outcome outcome = CFileExtraction(sources[done], tally, options, written, names, place).Run();
        tally.Count(counts, written.size() - before);
        if (outcome == Outcome::EndRun)
            break;
    }
    if (summary)
        *summary = counts;
    return written;
}

CString CommonFolder(const std::vector<CString>& paths)
{
    fs::path common;
    for (size_t i = 0; i < paths.size(); ++i) {
        const fs::path path = Absolute(paths[i]);
        if (i == 0) {
            common = path;
            continue;
        }
        fs::path shared;
        for (auto a = common.begin(), b = path.begin(); a != common.end() && b != path.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = std::move(shared);
    }
    return common.native();
}

SoundCheck ReadMemos(const CString& path, std::vector<CMemo>& memos, int* error, const KeepGoing& keepGoing)
{
    memos.clear();
    CSourceFile file;
    const auto unreadable = [&](int code) {
        memos.clear();
        if (error)
            *error = code;
        return SoundCheck::Unreadable;
    };
    if (!file.Open(path))
        return unreadable(file.GetError());
    file.SetReadAhead(64 * 1024);
    SegmentHeader header;
    const HeaderRead read = ReadSegmentHeader(file, 0, header);
    if (read == HeaderRead::Error)
        return unreadable(file.GetError());
    const bool jpeg = read == HeaderRead::Ok && header.IsStartOfImage();
    if (jpeg) {
        // The same choice as the extraction.
        std::vector<FpxrMemo> listed;
        const bool listedRead = ReadFlashPixMemos(file, listed, keepGoing);
        if (keepGoing && !keepGoing()) {
            memos.clear();
            return SoundCheck::No;
        }
        if (!listedRead)
            return unreadable(file.GetError());
        std::vector<SoundPiece> pieces;
        CMemo fixed;
        if (header.App1Follows() && WalkAudioRun(file, pieces, false, keepGoing) == AudioRun::Memo) {
            fixed.bTooLarge = PiecesSize(pieces) > MAX_MEMO_BYTES;
            if (fixed.bTooLarge) {
                memos.push_back(std::move(fixed));
                return SoundCheck::Yes;
            }
            if (!ReadPieces(file, pieces, fixed.bytes))
                return unreadable(file.GetError());
            if (!ListedMemoOverrides(listed, fixed.bytes)) {
                fixed.bComplete = IsWholeRiff(fixed.bytes);
                memos.push_back(std::move(fixed));
                return SoundCheck::Yes;
            }
        }
        memos = FromFlashPix(std::move(listed));
        if (!memos.empty())
            return SoundCheck::Yes;
    }
    CMemo memo;
    int otherError = 0;
    switch (FindOtherMemo(path, file, jpeg, memo, false, ALL_MEMO_SOURCES, &otherError, keepGoing)) {
    case OtherMemo::Memo:
        memos.push_back(std::move(memo));
        return SoundCheck::Yes;
    case OtherMemo::ReadError:
        return unreadable(otherError);
    case OtherMemo::NoMemo:
    case OtherMemo::NotFlashPix:
        break;
    }
    return SoundCheck::No;
}

bool ReadMemo(const CString& path, std::vector<unsigned char>& wav, const KeepGoing& keepGoing)
{
    wav.clear();
    std::vector<CMemo> memos;
    if (ReadMemos(path, memos, nullptr, keepGoing) != SoundCheck::Yes || !memos.front().bComplete)
        return false;
    wav = std::move(memos.front().bytes);
    return true;
}
