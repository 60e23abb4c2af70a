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

// Sound bytes are gathered and written in pieces of this size at most.
constexpr size_t kWriteChunk = 1 << 20;
// What a RIFF header needs to tell its length: "RIFF" and the size field.
constexpr size_t kRiffHead = 8;

enum class Outcome { NextRow, EndRun };

uint64_t RiffLength(const unsigned char* head)
{
    return kRiffHead + (uint64_t{head[4]} | uint64_t{head[5]} << 8 | uint64_t{head[6]} << 16 | uint64_t{head[7]} << 24);
}

class CFileExtraction {
public:
    CFileExtraction(const CString& source, IExtractReport& report, const CExtractOptions& options,
                    std::vector<unsigned char>& buffer, std::vector<CString>& written)
        : m_source(source), m_report(report), m_options(options), m_buffer(buffer), m_written(written)
    {
    }

    Outcome Run();

private:
    Outcome CopyPieces(const std::vector<SoundPiece>& pieces);
    Outcome FlashPix(bool app1First);
    bool FixedLayoutHolds(const std::vector<SoundPiece>& pieces, const std::vector<unsigned char>& memo);
    Outcome WriteMemos(const std::vector<FpxrMemo>& memos);
    Outcome WriteMemo(const CString& path, const std::vector<unsigned char>& memo, bool complete);
    Outcome Finish(COutputFile& output, const CString& path, bool complete, Outcome afterShort);
    Outcome OutputFailed(const COutputFile& output, const CString& path, bool creating);

    const CString& m_source;
    IExtractReport& m_report;
    const CExtractOptions& m_options;
    std::vector<unsigned char>& m_buffer;
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
    case AudioRun::Memo: {
        // A FlashPix camera that writes its pieces in another order can put
        // "RIFF" where the fixed layout looks; its contents list then says
        // what the memo really is.
        std::vector<FpxrMemo> memos;
        if (ReadFlashPixMemos(m_file, memos) && !memos.empty() && !FixedLayoutHolds(pieces, memos.front().bytes))
            return WriteMemos(memos);
        return CopyPieces(pieces);
    }
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

// True when the fixed layout's bytes begin with the FlashPix memo, as on
// the camera that layout describes: its bytes are then kept exactly. A read
// error counts as agreement; the copy reports it.
bool CFileExtraction::FixedLayoutHolds(const std::vector<SoundPiece>& pieces, const std::vector<unsigned char>& memo)
{
    size_t at = 0;
    for (const SoundPiece& piece : pieces) {
        if (at >= memo.size())
            return true;
        const size_t count = std::min(piece.count, memo.size() - at);
        m_buffer.resize(count);
        const long got = m_file.ReadAt(piece.offset, m_buffer.data(), count);
        if (got < 0)
            return true;
        if (std::memcmp(m_buffer.data(), memo.data() + at, static_cast<size_t>(got)) != 0 || static_cast<size_t>(got) < count)
            return false;
        at += count;
    }
    return at >= memo.size();
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

// Copies the fixed layout's sound pieces into a new output file, streaming
// them unless the whole memo is needed at once for a PCM copy.
Outcome CFileExtraction::CopyPieces(const std::vector<SoundPiece>& pieces)
{
    const CString path = OutputPathFor(m_source);
    COutputFile output;
    if (!m_options.bPcm && !output.Create(path, m_file.GetPermissions()))
        return OutputFailed(output, path, true);
    std::vector<unsigned char> memo;
    m_buffer.clear();
    unsigned char head[kRiffHead] = {};
    uint64_t copied = 0;
    bool readError = false;
    for (const SoundPiece& piece : pieces) {
        std::vector<unsigned char>& into = m_options.bPcm ? memo : m_buffer;
        const size_t start = into.size();
        into.resize(start + piece.count);
        const long got = m_file.ReadAt(piece.offset, into.data() + start, piece.count);
        into.resize(start + static_cast<size_t>(std::max(got, 0L)));
        if (got < 0) {
            readError = true;
            break;
        }
        if (copied < kRiffHead)
            std::memcpy(head + copied, into.data() + start, std::min<size_t>(kRiffHead - copied, static_cast<size_t>(got)));
        copied += static_cast<uint64_t>(got);
        if (m_buffer.size() >= kWriteChunk) {
            const bool ok = output.Write(m_buffer.data(), m_buffer.size());
            m_buffer.clear();
            if (!ok)
                return OutputFailed(output, path, false);
        }
        // Past the end of the source nothing is invented.
        if (static_cast<size_t>(got) < piece.count)
            break;
    }
    if (readError)
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
    const bool complete = !readError && copied >= RiffLength(head);
    if (m_options.bPcm)
        return readError && !m_options.bKeepPartial ? Outcome::EndRun : WriteMemo(path, memo, complete);
    if (!m_buffer.empty() && !output.Write(m_buffer.data(), m_buffer.size()))
        return OutputFailed(output, path, false);
    if (readError)
        return Finish(output, path, false, Outcome::EndRun);
    return Finish(output, path, complete, Outcome::NextRow);
}

// Writes one memo held whole, as 16-bit PCM when asked and when it is whole.
Outcome CFileExtraction::WriteMemo(const CString& path, const std::vector<unsigned char>& memo, bool complete)
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
    return Finish(output, path, complete, Outcome::NextRow);
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

} // namespace

std::vector<CString> RunExtraction(const std::vector<CString>& sources, IExtractReport& report,
                                   const CExtractOptions& options)
{
    std::vector<CString> written;
    if (sources.empty()) {
        report.ShowMessage(kNoSelection, "", 0);
        return written;
    }
    // One buffer serves the whole run.
    std::vector<unsigned char> buffer;
    for (const CString& source : sources) {
        if (CFileExtraction(source, report, options, buffer, written).Run() == Outcome::EndRun)
            break;
    }
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
    // The same choice as the extraction: the fixed layout unless the
    // FlashPix contents list says its bytes are something else.
    std::vector<FpxrMemo> memos;
    const bool flashPix = ReadFlashPixMemos(file, memos) && !memos.empty();
    std::vector<SoundPiece> pieces;
    if (header.App1Follows() && WalkAudioRun(file, pieces, false) == AudioRun::Memo) {
        for (const SoundPiece& piece : pieces) {
            const size_t start = wav.size();
            wav.resize(start + piece.count);
            const long got = file.ReadAt(piece.offset, wav.data() + start, piece.count);
            if (got < 0)
                return false;
            wav.resize(start + static_cast<size_t>(got));
            if (static_cast<size_t>(got) < piece.count)
                break;
        }
        const bool agrees = !flashPix || (memos.front().bytes.size() <= wav.size()
                                          && std::equal(memos.front().bytes.begin(), memos.front().bytes.end(), wav.begin()));
        if (agrees)
            return wav.size() >= kRiffHead && wav.size() >= RiffLength(wav.data());
    }
    if (!flashPix || !memos.front().bComplete)
        return false;
    wav = std::move(memos.front().bytes);
    return true;
}
