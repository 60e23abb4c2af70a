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
bool ListedMemoOverrides(const std::vector<FpxrMemo>& memos, const std::vector<unsigned char>& fixed)
{
    if (memos.empty())
        return false;
    const std::vector<unsigned char>& listed = memos.front().bytes;
    return fixed.size() < listed.size() || !std::equal(listed.begin(), listed.end(), fixed.begin());
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
    Outcome WriteMemos(const std::vector<FpxrMemo>& memos);
    Outcome WriteMemo(const CString& path, const std::vector<unsigned char>& memo, bool complete,
                      Outcome afterShort = Outcome::NextRow);
    Outcome Finish(COutputFile& output, const CString& path, bool complete, Outcome afterShort);
    Outcome OutputFailed(const COutputFile& output, const CString& path, bool creating);

    const CString& m_source;
    IExtractReport& m_report;
    const CExtractOptions& m_options;
    std::vector<CString>& m_written;
    CSourceFile m_file;
};

Outcome CFileExtraction::Run()
{
    m_report.WriteLogRow(m_source);
    if (!m_file.Open(m_source)) {
        m_report.ShowMessage(kCannotOpen, m_source, m_file.GetError());
        return Outcome::NextRow;
    }
    // The walk reads headers and the sound behind them, front to back: one
    // large read serves many small ones.
    m_file.SetReadAhead(32 * 1024);
    SegmentHeader header;
    if (ReadSegmentHeader(m_file, 0, header) == HeaderRead::Error) {
        m_report.ShowMessage(kFirstReadError, "", m_file.GetError());
        return Outcome::NextRow;
    }
    if (!header.IsStartOfImage()) {
        m_report.WriteLogRow(kNotJpeg);
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
        return Outcome::EndRun;
    case AudioRun::ReadError:
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
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
        return Outcome::EndRun;
    }
    if (memos.empty()) {
        m_report.WriteLogRow(app1First ? kNoAudio : kNoApp1);
        return Outcome::NextRow;
    }
    return WriteMemos(memos);
}

Outcome CFileExtraction::WriteMemos(const std::vector<FpxrMemo>& memos)
{
    for (size_t i = 0; i < memos.size(); ++i) {
        const Outcome outcome
            = WriteMemo(OutputPathFor(m_source, static_cast<int>(i) + 1), memos[i].bytes, memos[i].bComplete);
        if (outcome == Outcome::EndRun)
            return outcome;
    }
    return Outcome::NextRow;
}

// The fixed layout's memo, its pieces read once, unless the FlashPix
// contents list says the memo is other bytes.
Outcome CFileExtraction::FixedLayout(const std::vector<SoundPiece>& pieces)
{
    std::vector<unsigned char> memo;
    if (!ReadPieces(m_file, pieces, memo)) {
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        return m_options.bKeepPartial ? WriteMemo(OutputPathFor(m_source), memo, false, Outcome::EndRun)
                                      : Outcome::EndRun;
    }
    std::vector<FpxrMemo> memos;
    if (ReadFlashPixMemos(m_file, memos) && ListedMemoOverrides(memos, memo))
        return WriteMemos(memos);
    return WriteMemo(OutputPathFor(m_source), memo, IsWholeRiff(memo));
}

// Writes one memo held whole, as 16-bit PCM when asked and when it is whole.
Outcome CFileExtraction::WriteMemo(const CString& path, const std::vector<unsigned char>& memo, bool complete,
                                   Outcome afterShort)
{
    std::vector<unsigned char> pcm;
    const std::vector<unsigned char>* bytes = &memo;
    if (m_options.bPcm && complete) {
        if (ConvertToPcm16(memo, pcm) == PcmConversion::Converted)
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
            return afterShort;
        }
    }
    if (!output.Commit())
        return OutputFailed(output, path, output.CommitFailedAtName());
    m_written.push_back(path);
    m_report.WriteLogRow(FormatText(complete ? kDone : kPartial, path.c_str()));
    return complete ? Outcome::NextRow : afterShort;
}

// A file that cannot be made or named is a creation failure; one that lost
// data on the way is a write failure.
Outcome CFileExtraction::OutputFailed(const COutputFile& output, const CString& path, bool creating)
{
    m_report.ShowMessage(creating ? kOutputBox : kWriteBox, path, output.GetError());
    m_report.WriteLogRow(creating ? kOutputRow : kWriteRow);
    m_report.WriteLogRow(path);
    return Outcome::EndRun;
}

// Passes everything on and notes, per file, whether it was told of a
// failure or that the file holds no memo.
class CTallyReport final : public IExtractReport {
public:
    explicit CTallyReport(IExtractReport& report) : m_report(report) {}
    void WriteLogRow(const CString& text) override
    {
        if (text == kNoAudio || text == kNotJpeg || text == kNoApp1)
            m_bNoMemo = true;
        m_report.WriteLogRow(text);
    }
    void ShowMessage(const char* format, const CString& path, int error) override
    {
        m_bFailed = true;
        m_report.ShowMessage(format, path, error);
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
    for (size_t done = 0; done < sources.size(); ++done) {
        if (!report.KeepGoing(done, sources.size())) {
            counts.bCancelled = true;
            break;
        }
        const size_t before = written.size();
        const Outcome outcome = CFileExtraction(sources[done], tally, options, written).Run();
        tally.Count(counts, written.size() - before);
        if (outcome == Outcome::EndRun)
            break;
    }
    if (summary)
        *summary = counts;
    return written;
}

bool ReadMemo(const CString& path, std::vector<unsigned char>& wav)
{
    wav.clear();
    CSourceFile file;
    if (!file.Open(path))
        return false;
    file.SetReadAhead(64 * 1024);
    SegmentHeader header;
    if (ReadSegmentHeader(file, 0, header) != HeaderRead::Ok || !header.IsStartOfImage())
        return false;
    // The same choice as the extraction.
    std::vector<FpxrMemo> memos;
    const bool flashPix = ReadFlashPixMemos(file, memos) && !memos.empty();
    std::vector<SoundPiece> pieces;
    if (header.App1Follows() && WalkAudioRun(file, pieces, false) == AudioRun::Memo) {
        if (!ReadPieces(file, pieces, wav))
            return false;
        if (!ListedMemoOverrides(memos, wav))
            return IsWholeRiff(wav);
    }
    if (!flashPix || !memos.front().bComplete)
        return false;
    wav = std::move(memos.front().bytes);
    return true;
}
