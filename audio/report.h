#pragma once
// Records of what was found and what was written, for archives: one per
// memo, or one for a file that gave none, as JSON Lines or as CSV (RFC 4180).
// The command line and the window's "Export list" both write them from here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "audio/extract.h"
#include "audio/wav.h"
#include "platform/cstring.h"

// The fields, in the order they are written.
enum class ReportField {
    Path,
    PathBase64,
    Memo,
    Source,
    MemoFile,
    MissingMemo,
    MemoIndex,
    MemoBytes,
    MemoSha256,
    Format,
    SampleRate,
    Channels,
    Bits,
    DurationS,
    Recorded,
    Camera,
    Output,
    Outcome,
    Error,
};
constexpr size_t REPORT_FIELD_COUNT = static_cast<size_t>(ReportField::Error) + 1;

// A field that was never set does not apply: left out of JSON, an empty
// cell in CSV.
class CReportRecord {
public:
    using Value = std::variant<bool, int64_t, double, CString>;
    void Set(ReportField field, Value value) { m_values[static_cast<size_t>(field)] = std::move(value); }
    const std::optional<Value>& Get(ReportField field) const { return m_values[static_cast<size_t>(field)]; }

private:
    std::array<std::optional<Value>, REPORT_FIELD_COUNT> m_values;
};

enum class ReportFormat { Json, Csv };

// When and with what a memo was made: ISO 8601 local time as written
// ("2021-11-16T09:04:04", or a bare "11:09:23"), empty for the zeros of a
// camera without a clock; maker and model as stored.
struct CMemoOrigin {
    CString strRecorded;
    CString strMake;
    CString strModel;
};

/// What the memo's own Exif chunk says, else the picture's Exif at path
/// (DateTimeOriginal, else DateTime).
CMemoOrigin MemoOrigin(const CString& path, const WavInfo& info);

/// The records of what the file at path holds, as the presence test sees
/// it: one per memo, or one with memo false, or one with the error when
/// the file cannot be read (its errno value then in *error, else 0).
std::vector<CReportRecord> CheckRecords(const CString& path, int* error = nullptr);

/// The record of one memo's extraction, or of a file that gave none.
CReportRecord ExtractRecord(const CExtractResult& result);

/// The CSV header row (every field, in order), CRLF-ended.
CString CsvHeader();

/// One record as a JSON object on one line (ending in "\n") or as a CSV
/// row (ending in CRLF).
CString FormatRecord(const CReportRecord& record, ReportFormat format);

/// Writes the CSV of what each file holds, header first; false (with the
/// reason in *error) when the file could not be written, or ECANCELED when
/// keepGoing, asked before each file with the number done, said no. Nothing
/// replaces an earlier file at path unless all was written.
bool WriteCsvReport(const CString& path, const std::vector<CString>& files, int* error = nullptr,
                    const std::function<bool(size_t done)>& keepGoing = {});

// The SHA-256 of bytes, in lowercase hexadecimal.
CString Sha256Hex(std::span<const unsigned char> bytes);
// Standard base64 with padding.
CString Base64(std::span<const unsigned char> bytes);
