#include "audio/extract.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "audio/flashpix.h"
#include "audio/jpegaudio.h"
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
const char* const kDone = "Output file: %s Done";
const char* const kNoAudio = "No Audio in file....................................................";


enum class Outcome { NextRow, EndRun };


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

std::vector<CStoredMemo> FromFlashPix(std::vector<FpxrMemo>&& memos, MemoSource source)
{
    std::vector<CStoredMemo> stored(memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        stored[i].source = source;
        stored[i].bytes = std::move(memos[i].bytes);
        stored[i].bComplete = memos[i].bComplete;
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
                    std::vector<CString>& written)
        : m_source(source), m_report(report), m_options(options), m_written(written)
    {
    }

    Outcome Run();

private:
    Outcome FixedLayout(const std::vector<SoundPiece>& pieces);
    Outcome FlashPix(bool app1First);
    Outcome WriteMemos(const std::vector<CStoredMemo>& memos);
    Outcome WriteMemo(const CString& path, const CStoredMemo& memo, Outcome afterShort = Outcome::NextRow);
    Outcome Finish(COutputFile& output, const CString& path, bool complete, Outcome afterShort);
    Outcome OutputFailed(const COutputFile& output, const CString& path, bool creating);
    // Tells the report what became of the memo at hand (or of the file).
    void Tell(ExtractOutcome outcome, const CString& error = {}, const CString& output = {});

    const CString& m_source;
    IExtractReport& m_report;
    const CExtractOptions& m_options;
    std::vector<CString>& m_written;
    CSourceFile m_file;
    const CStoredMemo* m_memo = nullptr;
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
    if (!m_file.Open(m_source)) {
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
    if (!header.IsStartOfImage()) {
        m_report.WriteLogRow(kNotJpeg);
        Tell(ExtractOutcome::NoMemo, "not a JPEG file");
        return Outcome::NextRow;
    }
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
    if (memos.empty()) {
        m_report.WriteLogRow(app1First ? kNoAudio : kNoApp1);
        Tell(ExtractOutcome::NoMemo);
        return Outcome::NextRow;
    }
    return WriteMemos(FromFlashPix(std::move(memos), MemoSource::FlashPix));
}

Outcome CFileExtraction::WriteMemos(const std::vector<CStoredMemo>& memos)
{
    m_nMemos = static_cast<int>(memos.size());
    for (size_t i = 0; i < memos.size(); ++i) {
        m_nMemo = static_cast<int>(i) + 1;
        if (WriteMemo(OutputPathFor(m_source, m_nMemo), memos[i]) == Outcome::EndRun)
            return Outcome::EndRun;
    }
    return Outcome::NextRow;
}

// The fixed layout's memo, its pieces read once, unless the FlashPix
// contents list says the memo is other bytes.
Outcome CFileExtraction::FixedLayout(const std::vector<SoundPiece>& pieces)
{
    CStoredMemo memo;
    m_memo = &memo;
    m_nMemo = m_nMemos = 1;
    if (!ReadPieces(m_file, pieces, memo.bytes)) {
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        if (m_options.bKeepPartial)
            return WriteMemo(OutputPathFor(m_source), memo, Outcome::EndRun);
        Tell(ExtractOutcome::Failed, Reason("could not read the sound", m_file.GetError()));
        return Outcome::EndRun;
    }
    std::vector<FpxrMemo> memos;
    if (ReadFlashPixMemos(m_file, memos) && ListedMemoOverrides(memos, memo.bytes))
        return WriteMemos(FromFlashPix(std::move(memos), MemoSource::FlashPix));
    memo.bComplete = IsWholeRiff(memo.bytes);
    return WriteMemo(OutputPathFor(m_source), memo);
}

// Writes one memo held whole, as 16-bit PCM when asked and when it is whole.
Outcome CFileExtraction::WriteMemo(const CString& path, const CStoredMemo& memo, Outcome afterShort)
{
    m_memo = &memo;
    const bool complete = memo.bComplete;
    std::vector<unsigned char> pcm;
    const std::vector<unsigned char>* bytes = &memo.bytes;
    if (m_options.bPcm && complete) {
        if (ConvertToPcm16(memo.bytes, pcm) == PcmConversion::Converted)
            bytes = &pcm;
        else
            m_report.WriteLogRow(kAsStored);
    }
    COutputFile output;
    if (!output.Create(path, m_file.GetPermissions()))
        return OutputFailed(output, path, true);
    if (!bytes->empty() && !output.Write(bytes->data(), bytes->size()))
        return OutputFailed(output, path, false);
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
            Tell(afterShort == Outcome::NextRow ? ExtractOutcome::CutShort : ExtractOutcome::Failed,
                 afterShort == Outcome::NextRow ? "sound data cut short, no output file written"
                                                : "could not read the sound");
            return afterShort;
        }
    }
    if (!output.Commit())
        return OutputFailed(output, path, output.CommitFailedAtName());
    m_written.push_back(path);
    m_report.WriteLogRow(FormatText(complete ? kDone : kPartial, path.c_str()));
    const char* const shortBy = afterShort == Outcome::NextRow ? "sound data cut short" : "could not read the sound";
    Tell(complete ? ExtractOutcome::Done : ExtractOutcome::Partial, complete ? "" : shortBy, path);
    return complete ? Outcome::NextRow : afterShort;
}

// A file that cannot be made or named is a creation failure; one that lost
// data on the way is a write failure.
Outcome CFileExtraction::OutputFailed(const COutputFile& output, const CString& path, bool creating)
{
    m_report.ShowMessage(creating ? kOutputBox : kWriteBox, path, output.GetError());
    m_report.WriteLogRow(creating ? kOutputRow : kWriteRow);
    m_report.WriteLogRow(path);
    Tell(ExtractOutcome::Failed,
         Reason(creating ? "could not create the output file" : "could not write the output file", output.GetError()),
         path);
    return Outcome::EndRun;
}

} // namespace

std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options)
{
    std::vector<CString> written;
    if (sources.empty()) {
        report.ShowMessage(kNoSelection, "", 0);
        return written;
    }
    for (const CString& source : sources) {
        if (CFileExtraction(source, report, options, written).Run() == Outcome::EndRun)
            break;
    }
    return written;
}

MemoRead ReadMemos(const CString& path, std::vector<CStoredMemo>& memos, int* error)
{
    memos.clear();
    CSourceFile file;
    const auto unreadable = [&] {
        if (error)
            *error = file.GetError();
        return MemoRead::Unreadable;
    };
    if (!file.Open(path))
        return unreadable();
    file.SetReadAhead(64 * 1024);
    SegmentHeader header;
    const HeaderRead read = ReadSegmentHeader(file, 0, header);
    if (read == HeaderRead::Error)
        return unreadable();
    if (read == HeaderRead::EndOfFile || !header.IsStartOfImage())
        return MemoRead::NotJpeg;
    // The same choice as the extraction.
    std::vector<SoundPiece> pieces;
    const AudioRun run = header.App1Follows() ? WalkAudioRun(file, pieces, false) : AudioRun::NoMemo;
    if (run == AudioRun::HeaderReadError || run == AudioRun::ReadError)
        return unreadable();
    CStoredMemo fixed;
    if (run == AudioRun::Memo && !ReadPieces(file, pieces, fixed.bytes))
        return unreadable();
    std::vector<FpxrMemo> listed;
    const bool listRead = ReadFlashPixMemos(file, listed);
    if (!listRead && run != AudioRun::Memo)
        return unreadable();
    if (run == AudioRun::Memo && (!listRead || !ListedMemoOverrides(listed, fixed.bytes))) {
        fixed.bComplete = IsWholeRiff(fixed.bytes);
        memos.push_back(std::move(fixed));
    } else {
        memos = FromFlashPix(std::move(listed), MemoSource::FlashPix);
    }
    return memos.empty() ? MemoRead::NoMemo : MemoRead::Found;
}

bool ReadMemo(const CString& path, std::vector<unsigned char>& wav)
{
    wav.clear();
    std::vector<CStoredMemo> memos;
    if (ReadMemos(path, memos) != MemoRead::Found || !memos.front().bComplete)
        return false;
    wav = std::move(memos.front().bytes);
    return true;
}
