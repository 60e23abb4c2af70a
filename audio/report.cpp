#include "audio/report.h"

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>
#include <openssl/evp.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>

#include "audio/beside.h"
#include "audio/wav.h"
#include "platform/file.h"
#include "platform/library.h"

namespace {

constexpr std::array<const char*, REPORT_FIELD_COUNT> kFieldNames = {
    "path",       "path_base64", "memo",        "source",      "memo_file", "missing_memo", "memo_index",
    "memo_bytes", "memo_sha256", "format",      "sample_rate", "channels",  "bits",         "duration_s",
    "recorded",   "camera",      "output",      "outcome",     "error",
};

const char* OutcomeName(ExtractOutcome outcome)
{
    switch (outcome) {
    case ExtractOutcome::Done: return "done";
    case ExtractOutcome::Partial: return "partial";
    case ExtractOutcome::CutShort: return "cut-short";
    case ExtractOutcome::NoMemo: return "no-memo";
    case ExtractOutcome::Failed: return "failed";
    }
    return "";
}

// The text with every byte that starts no valid sequence as U+FFFD.
CString ToUtf8(const CString& text)
{
    CString out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const size_t length = Utf8SequenceAt(bytes + at, text.size() - at, code);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

CString JsonString(const CString& text)
{
    CString out = "\"";
    for (const char c : ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += FormatText("\\u%04x", byte);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Guarded, a free text a spreadsheet would take for a formula (a picture
// named "=HYPERLINK(...)", a camera maker "=2+3") is written as text. Base64
// and numbers are not guarded: scripts decode them, and they call nothing.
CString CsvCell(const CString& text, bool guard)
{
    CString utf8 = ToUtf8(text);
    if (guard && !utf8.empty() && CString("=+-@\t\r").find(utf8.front()) != CString::npos)
        utf8.insert(0, 1, '\'');
    if (utf8.find_first_of(",\"\r\n") == CString::npos)
        return utf8;
    CString out = "\"";
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// The value as JSON would write it; strings come back unquoted and unescaped.
CString PlainText(const CReportRecord::Value& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    // Numbers never follow the user's locale: the window's Export list and
    // the command line write the same bytes, "5.997" and never "5,997".
    char number[32];
    if (const int64_t* integer = std::get_if<int64_t>(&value)) {
        const auto end = std::to_chars(number, number + sizeof number, *integer).ptr;
        return CString(number, end);
    }
    if (const double* real = std::get_if<double>(&value)) {
        const auto end = std::to_chars(number, number + sizeof number, *real, std::chars_format::fixed, 3).ptr;
        return CString(number, end);
    }
    return std::get<CString>(value);
}

// "YYYY:MM:DD HH:MM:SS", as Exif writes times, in ISO 8601 with no zone;
// a bare "HH:MM:SS" is one already. Anything else (the zeros of a camera
// without a clock, a text of the camera's own) gives nothing.
CString IsoTime(const CString& exif)
{
    const auto digits = [&](size_t at, size_t n) {
        for (size_t i = at; i < at + n; ++i)
            if (i >= exif.size() || exif[i] < '0' || exif[i] > '9')
                return false;
        return true;
    };
    const auto isTime = [&](size_t at) {
        return digits(at, 2) && exif.size() > at + 5 && exif[at + 2] == ':' && digits(at + 3, 2)
            && exif[at + 5] == ':' && digits(at + 6, 2);
    };
    if (exif.size() >= 19 && digits(0, 4) && exif[4] == ':' && digits(5, 2) && exif[7] == ':' && digits(8, 2)
        && exif[10] == ' ' && isTime(11)) {
        if (exif.compare(0, 10, "0000:00:00") == 0)
            return {};
        CString iso = exif.substr(0, 19);
        iso[4] = iso[7] = '-';
        iso[10] = 'T';
        return iso;
    }
    if (exif.size() >= 8 && isTime(0) && exif.compare(0, 8, "00:00:00") != 0)
        return exif.substr(0, 8);
    return {};
}

// What the picture's Exif says of when and with what it was taken.
struct PictureFacts {
    CString strTaken;   // DateTimeOriginal
    CString strChanged; // DateTime
    CString strMake;
    CString strModel;
};

CString ExifValue(ExifData* data, ExifIfd ifd, ExifTag tag)
{
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data)
        return {};
    CString text(reinterpret_cast<const char*>(entry->data), entry->size);
    text = text.substr(0, text.find('\0'));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

PictureFacts ReadPictureFacts(const CString& path)
{
    PictureFacts facts;
    CSourceFile file;
    if (!file.Open(path))
        return facts;
    // The loader finds the Exif segment itself and asks for no more bytes
    // than it needs.
    const std::unique_ptr<ExifLoader, void (*)(ExifLoader*)> loader(exif_loader_new(), exif_loader_unref);
    if (!loader)
        return facts;
    unsigned char buffer[4096];
    for (int64_t offset = 0;;) {
        const long got = file.ReadAt(offset, buffer, sizeof buffer);
        if (got <= 0 || !exif_loader_write(loader.get(), buffer, static_cast<unsigned>(got)))
            break;
        offset += got;
    }
    const std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_loader_get_data(loader.get()), exif_data_unref);
    if (!data)
        return facts;
    facts.strTaken = IsoTime(ExifValue(data.get(), EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL));
    facts.strChanged = IsoTime(ExifValue(data.get(), EXIF_IFD_0, EXIF_TAG_DATE_TIME));
    facts.strMake = ExifValue(data.get(), EXIF_IFD_0, EXIF_TAG_MAKE);
    facts.strModel = ExifValue(data.get(), EXIF_IFD_0, EXIF_TAG_MODEL);
    return facts;
}

// The memo's own Exif chunk first, the picture's after it (a full date
// beats a bare time).
CMemoOrigin Origin(const WavInfo& info, const PictureFacts& picture, bool orChanged)
{
    CMemoOrigin origin;
    const CString recorded = IsoTime(info.strTimeCreated);
    const CString taken = picture.strTaken.empty() && orChanged ? picture.strChanged : picture.strTaken;
    origin.strRecorded = recorded.size() > 8 || taken.empty() ? recorded : taken;
    const bool own = !JoinCamera(info.strMake, info.strModel).empty();
    origin.strMake = own ? info.strMake : picture.strMake;
    origin.strModel = own ? info.strModel : picture.strModel;
    return origin;
}

// A file without a memo: and the memo its camera named, when that is gone.
void AddNoMemo(CReportRecord& record, const CString& path)
{
    record.Set(ReportField::Memo, false);
    if (CString missing = FindMissingMemo(path); !missing.empty())
        record.Set(ReportField::MissingMemo, std::move(missing));
}

CReportRecord PathRecord(const CString& path)
{
    CReportRecord record;
    CString utf8 = ToUtf8(path);
    // Each byte that is no UTF-8 became three: the lengths differ exactly then.
    const bool exact = utf8.size() == path.size();
    record.Set(ReportField::Path, std::move(utf8));
    if (!exact)
        record.Set(ReportField::PathBase64,
                   Base64({reinterpret_cast<const unsigned char*>(path.data()), path.size()}));
    return record;
}

// Where the memo lies and what it is; the memo's own Exif chunk, else the
// picture's, for when and with what it was recorded (a full date beats a
// bare time).
void AddMemo(CReportRecord& record, const CMemo& memo, int index, int count, const PictureFacts& picture)
{
    record.Set(ReportField::Memo, true);
    record.Set(ReportField::Source, CString(MemoSourceKey(memo.source)));
    if (!memo.strBesideName.empty())
        record.Set(ReportField::MemoFile, memo.strBesideName);
    if (count > 1)
        record.Set(ReportField::MemoIndex, int64_t{index});
    if (memo.bTooLarge) {
        record.Set(ReportField::Error, CString("sound data larger than 256 MB"));
        return;
    }
    record.Set(ReportField::MemoBytes, static_cast<int64_t>(memo.bytes.size()));
    record.Set(ReportField::MemoSha256, Sha256Hex(memo.bytes));
    WavInfo info;
    if (!ParseWavInfo(memo.bytes, info))
        return;
    record.Set(ReportField::Format, info.strFormat);
    record.Set(ReportField::SampleRate, int64_t{info.nSampleRate});
    record.Set(ReportField::Channels, int64_t{info.nChannels});
    record.Set(ReportField::Bits, int64_t{info.nBitsPerSample});
    record.Set(ReportField::DurationS, info.dSeconds);
    const CMemoOrigin origin = Origin(info, picture, false);
    if (!origin.strRecorded.empty())
        record.Set(ReportField::Recorded, origin.strRecorded);
    if (const CString camera = JoinCamera(origin.strMake, origin.strModel); !camera.empty())
        record.Set(ReportField::Camera, camera);
}

} // namespace

CMemoOrigin MemoOrigin(const CString& path, const WavInfo& info)
{
    return Origin(info, ReadPictureFacts(path), true);
}

std::vector<CReportRecord> CheckRecords(const CString& path, int* unreadable)
{
    std::vector<CMemo> memos;
    int error = 0;
    const SoundCheck read = ReadMemos(path, memos, &error);
    if (unreadable)
        *unreadable = read == SoundCheck::Unreadable ? error : 0;
    CReportRecord record = PathRecord(path);
    if (read == SoundCheck::Unreadable) {
        record.Set(ReportField::Error, FormatText("cannot read the file: %s", DescribeError(error)));
        return {record};
    }
    if (read != SoundCheck::Yes) {
        AddNoMemo(record, path);
        return {record};
    }
    const PictureFacts picture = ReadPictureFacts(path);
    std::vector<CReportRecord> records;
    for (size_t i = 0; i < memos.size(); ++i) {
        records.push_back(record);
        AddMemo(records.back(), memos[i], static_cast<int>(i) + 1, static_cast<int>(memos.size()), picture);
    }
    return records;
}

CReportRecord ExtractRecord(const CExtractResult& result)
{
    CReportRecord record = PathRecord(result.strSource);
    if (result.memo)
        AddMemo(record, *result.memo, result.nMemo, result.nMemos, ReadPictureFacts(result.strSource));
    else if (result.outcome == ExtractOutcome::NoMemo)
        AddNoMemo(record, result.strSource);
    if (!result.strOutput.empty())
        record.Set(ReportField::Output, ToUtf8(result.strOutput));
    record.Set(ReportField::Outcome, CString(OutcomeName(result.outcome)));
    if (!result.strError.empty())
        record.Set(ReportField::Error, result.strError);
    return record;
}

CString CsvHeader()
{
    CString header;
    for (const char* name : kFieldNames)
        header += (header.empty() ? "" : ",") + CString(name);
    return header + "\r\n";
}

CString FormatRecord(const CReportRecord& record, ReportFormat format)
{
    CString line;
    for (size_t i = 0; i < REPORT_FIELD_COUNT; ++i) {
        const auto& value = record.Get(static_cast<ReportField>(i));
        if (format == ReportFormat::Csv) {
            if (i > 0)
                line += ',';
            if (value)
                line += CsvCell(PlainText(*value), std::holds_alternative<CString>(*value)
                                                       && static_cast<ReportField>(i) != ReportField::PathBase64);
        } else if (value) {
            line += line.empty() ? "{" : ",";
            line += JsonString(kFieldNames[i]) + ":";
            line += std::holds_alternative<CString>(*value) ? JsonString(PlainText(*value)) : PlainText(*value);
        }
    }
    if (format == ReportFormat::Csv)
        return line + "\r\n";
    return (line.empty() ? "{" : line) + "}\n";
}

bool WriteCsvReport(const CString& path, const std::vector<CString>& files, int* error,
                    const std::function<bool(size_t done)>& keepGoing)
{
    CString text = CsvHeader();
    for (size_t done = 0; done < files.size(); ++done) {
        if (keepGoing && !keepGoing(done)) {
            if (error)
                *error = ECANCELED;
            return false;
        }
        for (const CReportRecord& record : CheckRecords(files[done]))
            text += FormatRecord(record, ReportFormat::Csv);
    }
    COutputFile output;
    if (output.Create(path, 0666) && output.Write(text.data(), text.size()) && output.Commit())
        return true;
    if (error)
        *error = output.GetError();
    return false;
}

namespace {

// libcrypto costs every start a few milliseconds in the dynamic loader, and
// only a report uses it: it is loaded for the first report.
struct CCrypto {
    decltype(&EVP_Digest) digest;
    decltype(&EVP_sha256) sha256;
    decltype(&EVP_EncodeBlock) encodeBlock;
};

/// The library, or null when it cannot be loaded.
const CCrypto* Crypto()
{
    static const CCrypto* const loaded = []() -> const CCrypto* {
        void* library = LoadLibrary(VOCALINE_CRYPTO_SONAME);
        static CCrypto crypto;
        if (!Resolve(library, crypto.digest, "EVP_Digest") || !Resolve(library, crypto.sha256, "EVP_sha256")
            || !Resolve(library, crypto.encodeBlock, "EVP_EncodeBlock"))
            return nullptr;
        return &crypto;
    }();
    return loaded;
}

} // namespace

CString Sha256Hex(std::span<const unsigned char> bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    const CCrypto* crypto = Crypto();
    if (!crypto || !crypto->digest(bytes.data(), bytes.size(), digest, &length, crypto->sha256(), nullptr))
        return {};
    CString hex;
    for (unsigned i = 0; i < length; ++i)
        hex += FormatText("%02x", digest[i]);
    return hex;
}

CString Base64(std::span<const unsigned char> bytes)
{
    CString text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const CCrypto* crypto = Crypto();
    if (!crypto)
        return {};
    const int length = crypto->encodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                           static_cast<int>(bytes.size()));
    text.resize(static_cast<size_t>(length));
    return text;
}
