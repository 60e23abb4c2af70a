#include "audio/extract.h"

#include <cstdint>

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
const char* const kDone = "Output file: %s Done";
const char* const kNoAudio = "No Audio in file....................................................";

enum class Outcome { NextRow, EndRun };

class CFileExtraction {
public:
    CFileExtraction(const CString& source, IExtractReport& report, std::vector<unsigned char>& buffer)
        : m_source(source), m_output(OutputPathFor(source)), m_report(report), m_buffer(buffer)
    {
    }

    Outcome Run();

private:
    Outcome Walk();
    bool CopySegment(int64_t offset, unsigned length, bool first);
    bool OutputFailed();

    const CString& m_source;
    const CString m_output;
    IExtractReport& m_report;
    std::vector<unsigned char>& m_buffer;
    CSourceFile m_file;
};

Outcome CFileExtraction::Run()
{
    m_report.WriteLogRow(m_source);
    if (!m_file.Open(m_source)) {
        m_report.ShowMessage(FormatText(kCannotOpen, m_source.c_str()));
        return Outcome::NextRow;
    }
    // The walk reads headers and the sound behind them, front to back: one
    // large read serves many small ones.
    m_file.SetReadAhead(64 * 1024);
    SegmentHeader header;
    if (ReadSegmentHeader(m_file, 0, header) == HeaderRead::Error) {
        m_report.ShowMessage(kFirstReadError);
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
// first segment that is neither (the end of the file included).
Outcome CFileExtraction::Walk()
{
    int64_t offset = 2;
    int app2Count = 0;
    for (;;) {
        SegmentHeader header;
        if (ReadSegmentHeader(m_file, offset, header) == HeaderRead::Error) {
            m_report.ShowMessage(kHeaderReadError);
            return Outcome::EndRun;
        }
        if (header.IsMarker(MARKER_APP2)) {
            ++app2Count;
            if (app2Count >= AUDIO_START_SEGMENT
                && !CopySegment(offset, header.Length(), app2Count == AUDIO_START_SEGMENT))
                return Outcome::EndRun;
        } else if (!header.IsMarker(MARKER_APP1)) {
            if (app2Count >= AUDIO_START_SEGMENT)
                m_report.WriteLogRow(FormatText(kDone, m_output.c_str()));
            else
                m_report.WriteLogRow(kNoAudio);
            return Outcome::NextRow;
        }
        offset = header.Next(offset);
    }
}

// Copies one segment's sound bytes to the output. The first audio segment
// replaces any old output file; later ones append to it. A segment too short
// for its head adds nothing, and past the end of the source only the bytes
// actually read are written. False when the run must end.
bool CFileExtraction::CopySegment(int64_t offset, unsigned length, bool first)
{
    const unsigned headLength = first ? AUDIO_START_OFFSET - 2 : AUDIO_NEXT_OFFSET - 2;
    const int64_t soundStart = offset + (first ? AUDIO_START_OFFSET : AUDIO_NEXT_OFFSET);
    const size_t count = length > headLength ? length - headLength : 0;

    COutputFile output;
    if (first) {
        DeleteFile(m_output);
        if (!output.Create(m_output)) {
            m_report.ShowMessage(FormatText(kOutputBox, m_output.c_str()));
            m_report.WriteLogRow(kOutputRow);
            m_report.WriteLogRow(m_output);
            return false;
        }
    } else if (!output.OpenAppend(m_output)) {
        m_report.WriteLogRow(kOutputRow);
        m_report.WriteLogRow(m_output);
        m_report.ShowMessage(FormatText(kOutputBox, m_output.c_str()));
        return false;
    }

    m_buffer.resize(count);
    const long got = count > 0 ? m_file.ReadAt(soundStart, m_buffer.data(), count) : 0;
    const bool written = got <= 0 || output.Write(m_buffer.data(), static_cast<size_t>(got));
    if (!output.Close() || !written)
        return OutputFailed();
    return true;
}

bool CFileExtraction::OutputFailed()
{
    m_report.ShowMessage(FormatText(kWriteBox, m_output.c_str()));
    m_report.WriteLogRow(kWriteRow);
    m_report.WriteLogRow(m_output);
    return false;
}

} // namespace

void RunExtraction(const std::vector<CString>& sources, IExtractReport& report)
{
    if (sources.empty()) {
        report.ShowMessage(kNoSelection);
        return;
    }
    // One buffer serves every segment of the run: a segment is at most 65,535 bytes.
    std::vector<unsigned char> buffer;
    buffer.reserve(65535);
    for (const CString& source : sources) {
        if (CFileExtraction(source, report, buffer).Run() == Outcome::EndRun)
            return;
    }
}
