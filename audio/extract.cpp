#include "audio/extract.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "audio/jpegaudio.h"
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
const char* const kDone = "Output file: %s Done";
const char* const kNoAudio = "No Audio in file....................................................";

// Sound bytes are gathered and written in pieces of this size at most.
constexpr size_t kWriteChunk = 1 << 20;
// What a RIFF header needs to tell its length: "RIFF" and the size field.
constexpr size_t kRiffHead = 8;

enum class Outcome { NextRow, EndRun };

// Where one APP2 segment's sound bytes lie in the source.
struct SoundPiece {
    int64_t offset;
    size_t count;
};

class CFileExtraction {
public:
    CFileExtraction(const CString& source, IExtractReport& report, const CExtractOptions& options,
                    std::vector<unsigned char>& buffer)
        : m_source(source), m_output(OutputPathFor(source)), m_report(report), m_options(options), m_buffer(buffer)
    {
    }

    Outcome Run();
    bool Wrote() const { return m_bWrote; }

private:
    Outcome Walk();
    Outcome Copy(const std::vector<SoundPiece>& pieces);
    bool Flush(COutputFile& output);
    Outcome Keep(COutputFile& output, Outcome after);
    Outcome OutputFailed(const COutputFile& output, bool creating);

    const CString& m_source;
    const CString m_output;
    IExtractReport& m_report;
    const CExtractOptions& m_options;
    std::vector<unsigned char>& m_buffer;
    CSourceFile m_file;
    bool m_bWrote = false;
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
    m_file.SetReadAhead(64 * 1024);
    SegmentHeader header;
    if (ReadSegmentHeader(m_file, 0, header) == HeaderRead::Error) {
        m_report.ShowMessage(kFirstReadError, "", m_file.GetError());
        return Outcome::NextRow;
    }
    if (!header.IsStartOfImage()) {
        m_report.WriteLogRow(kNotJpeg);
        return Outcome::NextRow;
    }
    if (!header.App1Follows()) {
        m_report.WriteLogRow(kNoApp1);
        return Outcome::NextRow;
    }
    return Walk();
}

// Follows the audio run: APP1 and APP2 segments from offset 2 until the
// first segment that is neither (the end of the file included), noting
// where the sound lies. Nothing is written until the whole run is known.
Outcome CFileExtraction::Walk()
{
    int64_t offset = 2;
    int app2Count = 0;
    std::vector<SoundPiece> pieces;
    for (;;) {
        SegmentHeader header;
        if (ReadSegmentHeader(m_file, offset, header) == HeaderRead::Error) {
            m_report.ShowMessage(kHeaderReadError, "", m_file.GetError());
            return Outcome::EndRun;
        }
        if (header.IsMarker(MARKER_APP2)) {
            ++app2Count;
            const int64_t start = app2Count == AUDIO_START_SEGMENT ? AUDIO_START_OFFSET : AUDIO_NEXT_OFFSET;
            const int64_t count = static_cast<int64_t>(header.Length()) + 2 - start;
            // A segment too short for its head adds nothing; the fifth must
            // at least hold the "RIFF" that makes it sound.
            if (app2Count == AUDIO_START_SEGMENT && count < 4)
                break;
            if (app2Count >= AUDIO_START_SEGMENT && count > 0)
                pieces.push_back({offset + start, static_cast<size_t>(count)});
        } else if (!header.IsMarker(MARKER_APP1)) {
            break;
        }
        offset = header.Next(offset);
    }
    // Only a memo that starts "RIFF" is sound: anything else in the fifth
    // segment (another maker's thumbnail, a colour profile) is not.
    char riff[4] = {};
    if (!pieces.empty() && m_file.ReadAt(pieces.front().offset, riff, sizeof riff) < 0) {
        m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
        return Outcome::EndRun;
    }
    if (pieces.empty() || std::memcmp(riff, "RIFF", sizeof riff) != 0) {
        m_report.WriteLogRow(kNoAudio);
        return Outcome::NextRow;
    }
    return Copy(pieces);
}

// Copies the sound pieces into a new output file, which replaces the old
// one only when the memo is whole: as long as its RIFF header says.
Outcome CFileExtraction::Copy(const std::vector<SoundPiece>& pieces)
{
    COutputFile output;
    if (!output.Create(m_output, m_file.GetPermissions()))
        return OutputFailed(output, true);
    m_buffer.clear();
    unsigned char head[kRiffHead] = {};
    uint64_t copied = 0;
    for (const SoundPiece& piece : pieces) {
        const size_t start = m_buffer.size();
        m_buffer.resize(start + piece.count);
        const long got = m_file.ReadAt(piece.offset, m_buffer.data() + start, piece.count);
        if (got < 0) {
            m_buffer.resize(start);
            m_report.ShowMessage(kReadBox, m_source, m_file.GetError());
            return Keep(output, Outcome::EndRun);
        }
        m_buffer.resize(start + static_cast<size_t>(got));
        if (copied < kRiffHead)
            std::memcpy(head + copied, m_buffer.data() + start,
                        std::min<size_t>(kRiffHead - copied, static_cast<size_t>(got)));
        copied += static_cast<uint64_t>(got);
        if (m_buffer.size() >= kWriteChunk && !Flush(output))
            return OutputFailed(output, false);
        // Past the end of the source nothing is invented.
        if (static_cast<size_t>(got) < piece.count)
            break;
    }
    if (!Flush(output))
        return OutputFailed(output, false);
    const uint64_t riffLength = kRiffHead
        + (uint64_t{head[4]} | uint64_t{head[5]} << 8 | uint64_t{head[6]} << 16 | uint64_t{head[7]} << 24);
    if (copied < riffLength) {
        m_report.ShowMessage(kShortBox, m_source, 0);
        if (!m_options.bKeepPartial)
            m_report.WriteLogRow(kShortRow);
        return Keep(output, Outcome::NextRow);
    }
    if (!output.Commit())
        return OutputFailed(output, output.CommitFailedAtName());
    m_bWrote = true;
    m_report.WriteLogRow(FormatText(kDone, m_output.c_str()));
    return Outcome::NextRow;
}

bool CFileExtraction::Flush(COutputFile& output)
{
    const bool ok = m_buffer.empty() || output.Write(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

// An incomplete memo: written only when the user asked for what survives.
Outcome CFileExtraction::Keep(COutputFile& output, Outcome after)
{
    if (!m_options.bKeepPartial)
        return after;
    if (!Flush(output))
        return OutputFailed(output, false);
    if (!output.Commit())
        return OutputFailed(output, output.CommitFailedAtName());
    m_bWrote = true;
    m_report.WriteLogRow(FormatText(kPartial, m_output.c_str()));
    return after;
}

// A file that cannot be made or named is a creation failure; one that lost
// data on the way is a write failure.
Outcome CFileExtraction::OutputFailed(const COutputFile& output, bool creating)
{
    m_report.ShowMessage(creating ? kOutputBox : kWriteBox, m_output, output.GetError());
    m_report.WriteLogRow(creating ? kOutputRow : kWriteRow);
    m_report.WriteLogRow(m_output);
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
        CFileExtraction file(source, report, options, buffer);
        const Outcome outcome = file.Run();
        if (file.Wrote())
            written.push_back(OutputPathFor(source));
        if (outcome == Outcome::EndRun)
            break;
    }
    return written;
}
