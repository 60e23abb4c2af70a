// vocaline-extract: the extraction run and the presence test for batch use,
// on the same code as the window and with the same rows, texts and stops.
#include <getopt.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "audio/extract.h"
#include "audio/jpegaudio.h"
#include "audio/report.h"
#include "platform/file.h"
#include "search/filesearch.h"

namespace {

// One line: the manual page's synopsis is made from it.
const char* const kUsage = "Usage: vocaline-extract [--check] [-r] [--mask PATTERN] [-o DIR] [--keep-going] [-0] [--pcm] "
                           "[--keep-partial] [--format=json|csv] [--] PATH...\n";
const char* const kFolderHint = "%s is a folder; use -r to search it";

void PrintHelp()
{
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "Copies the voice memo of each camera JPEG file into a WAV file beside it\n"
               "(pic.jpg -> pic.jpg.wav), logging every step on standard output. A WAV\n"
               "appears only when its memo is complete; an earlier one is replaced then.\n"
               "Options may come before or after the paths; after -- every word is a\n"
               "PATH, even one that starts with '-'.\n"
               "\n"
               "  --check             only tell which files carry sound (path<TAB>Yes, No\n"
               "                      or Unreadable); nothing is written\n"
               "  -r, --recursive     every PATH is a folder, searched with its subfolders\n"
               "      --mask PATTERN  file-name patterns for -r, separated by ';' ('*' and\n"
               "                      '?'; default *.jpg;*.jpeg;*.fpx)\n"
               "  -o, --output-dir DIR\n"
               "                      write the WAVs below DIR instead of beside the\n"
               "                      pictures, keeping each picture's path below the\n"
               "                      folder searched (-r PICS: PICS/2003/a.jpg ->\n"
               "                      DIR/2003/a.jpg.wav) or below the files' common\n"
               "                      folder; several folders with -r keep their paths\n"
               "                      below their common folder, so names stay apart.\n"
               "                      Folders are made as needed, never through a\n"
               "                      symbolic link; DIR inside a searched folder is not\n"
               "                      searched. Not with --check, which writes nothing\n"
               "      --keep-going    go on with the next file when a WAV cannot be made\n"
               "                      or written (by default the run stops there)\n"
               "      --pcm           write each memo as plain 16-bit PCM, which every\n"
               "                      player plays (a memo in an encoding not decoded here\n"
               "                      is written as stored, with a log row)\n"
               "      --keep-partial  write what survives of a memo that is cut short or\n"
               "                      cannot be read to its end (logged as Partial)\n"
               "  -0, --null          end each output row with a NUL byte instead of a\n"
               "                      newline, and print paths as they are\n"
               "      --format=FORMAT write a record of each memo found (--check) or\n"
               "                      extracted instead of the rows: json (JSON Lines,\n"
               "                      one object per line) or csv (RFC 4180, a header\n"
               "                      row, CRLF line ends); the fields are below\n"
               "      --help          show this help\n"
               "      --version       show the version\n"
               "\n"
               "Without -0, control characters, bytes that are not UTF-8 and backslashes\n"
               "in printed paths are escaped as in C: \\n, \\t, \\\\ and \\xHH.\n"
               "\n"
               "Report fields, in this order; a field that does not apply is left out\n"
               "of JSON and an empty cell in CSV:\n"
               "  path          the file (UTF-8; invalid bytes as U+FFFD)\n"
               "  path_base64   the path's exact bytes, when it is not valid UTF-8\n"
               "  memo          true or false\n"
               "  source        fixed-layout, flashpix, trailer, fpx-file or beside\n"
               "  memo_file     the memo's file name, for a memo beside the picture\n"
               "  missing_memo  the sound file the camera names that is not beside it\n"
               "  memo_index    1, 2, ... when a picture holds several memos\n"
               "  memo_bytes    the memo's size as stored\n"
               "  memo_sha256   SHA-256 of the memo's bytes as stored\n"
               "  format        IMA ADPCM, PCM, mu-law, A-law or format 0xNNNN\n"
               "  sample_rate   samples per second\n"
               "  channels      1 for mono, 2 for stereo\n"
               "  bits          bits per sample as stored (4 for IMA ADPCM)\n"
               "  duration_s    seconds, from the data chunk\n"
               "  recorded      when the memo or picture says it was made: ISO 8601\n"
               "                local time as written, no zone\n"
               "  camera        the maker and model the memo or picture names\n"
               "  output        the WAV written (extraction)\n"
               "  outcome       done, partial, cut-short, no-memo or failed (extraction)\n"
               "  error         the reason, in words\n"
               "\n"
               "Example:\n"
               "  vocaline-extract --check --format=json -r Pictures\n"
               "  {\"path\":\"Pictures/IM000101.JPG\",\"memo\":true,\"source\":\"fixed-layout\",...}\n"
               "Memos longer than 10 s:\n"
               "  vocaline-extract --check --format=json -r Pictures | jq -r 'select(.duration_s > 10) | .path'\n"
               "\n"
               "Exit status:\n"
               "  0  every file was handled without an error\n"
               "  1  an error was reported on standard error, with its reason (also when\n"
               "     standard output could not be written, or a PATH was a folder\n"
               "     without -r beside other paths)\n"
               "  2  usage error (also when every PATH was a folder without -r)\n",
               stdout);
}

// Characters that would split a row or change how it reads: C0 and C1
// controls, and the line separators and direction overrides of Unicode.
bool IsPrintable(char32_t code)
{
    return code >= 0x20 && code != 0x7F && !(code >= 0x80 && code <= 0x9F) && code != 0x2028 && code != 0x2029
        && !(code >= 0x202A && code <= 0x202E) && !(code >= 0x2066 && code <= 0x2069);
}

// Rows must not be forged or split by what a file name holds: every byte
// that is not part of printable UTF-8 is written as \xHH.
CString Escape(const CString& text)
{
    CString out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const size_t length = Utf8SequenceAt(bytes + i, text.size() - i, code);
        const size_t step = std::max<size_t>(length, 1);
        if (length == 1 && code == '\\')
            out += "\\\\";
        else if (length == 1 && code == '\n')
            out += "\\n";
        else if (length == 1 && code == '\t')
            out += "\\t";
        else if (length > 0 && IsPrintable(code))
            out.append(text, i, length);
        else
            for (size_t j = i; j < i + step; ++j)
                out += FormatText("\\x%02x", bytes[j]);
        i += step;
    }
    return out;
}

// The file layer opens regular files only; for a folder the user wants the
// way to search it rather than "Not a regular file".
bool IsFolder(const CString& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder given as a file: refused as no regular file, or, named with a
// trailing '/', as a file without a name in it.
bool IsFolderError(int error, const CString& path)
{
    return (error == ERROR_NOT_REGULAR_FILE || error == ENOENT) && IsFolder(path);
}

class CConsole {
public:
    explicit CConsole(bool nullEnded) : m_bNull(nullEnded) {}

    // A row: text (escaped unless rows end in NUL), then a suffix of ours.
    void Row(const CString& text, const CString& suffix = "")
    {
        const CString row = (m_bNull ? text : Escape(text)) + suffix;
        std::fwrite(row.data(), 1, row.size(), stdout);
        std::fputc(m_bNull ? '\0' : '\n', stdout);
    }
    // Text of ours, written as it is.
    void Raw(const CString& text) { std::fwrite(text.data(), 1, text.size(), stdout); }
    // One line on standard error, with the reason when there is one.
    void Error(const CString& text, int error)
    {
        std::fflush(stdout);
        std::fprintf(stderr, "vocaline-extract: %s%s%s\n", Escape(text).c_str(), error != 0 ? ": " : "",
                     DescribeError(error));
        m_bFailed = true;
    }
    bool Failed() const { return m_bFailed; }
    // What each file gave is out before the next file is read: a file that
    // ends the process (or a reader of the pipe that stops) loses nothing
    // of the files before it.
    void EndOfFile() { std::fflush(stdout); }
    // False when standard output could not take everything.
    bool Finish()
    {
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            const int error = errno;
            std::fprintf(stderr, "vocaline-extract: cannot write standard output: %s\n", std::strerror(error));
            return false;
        }
        return true;
    }

private:
    bool m_bNull;
    bool m_bFailed = false;
};

// Log rows go to standard output, message boxes to standard error, each
// on one line: the message's own line breaks become ": ".
// With a report format, a record per memo takes the place of the log rows.
class CConsoleReport : public IExtractReport {
public:
    CConsoleReport(CConsole& console, std::optional<ReportFormat> format) : m_console(console), m_format(format) {}
    void WriteLogRow(const CString& text) override
    {
        if (!m_format)
            m_console.Row(text);
    }
    void Result(const CExtractResult& result) override
    {
        if (m_format)
            m_console.Raw(FormatRecord(ExtractRecord(result), *m_format));
    }
    void ShowMessage(const char* format, const CString& path, int error) override
    {
        if (IsFolderError(error, path)) {
            m_console.Error(FormatText(kFolderHint, path.c_str()), 0);
            return;
        }
        CString oneLine;
        for (const char* c = format; *c; ++c) {
            if (*c != '\n')
                oneLine += *c;
            else if (c[1] != '\n')
                oneLine += ": ";
        }
        m_console.Error(FormatText(oneLine.c_str(), path.c_str()), error);
    }
    bool KeepGoing(size_t, size_t) override
    {
        m_console.EndOfFile();
        return true;
    }

private:
    CConsole& m_console;
    std::optional<ReportFormat> m_format;
};

std::vector<CString> FindRows(const std::vector<CString>& folders, const CString& mask,
                              const std::vector<std::pair<dev_t, ino_t>>& skip, CConsole& console)
{
    std::vector<CString> rows;
    CFileSearch finder;
    for (const CString& folder : folders) {
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = folder;
        options.strFileMask = mask;
        options.bSubfolders = 1;
        options.arrSkipFolders = skip;
        finder.RemoveAll();
        const int count = finder.FindFiles(options);
        for (const auto& [unreadable, error] : finder.GetUnreadableFolders())
            console.Error("cannot read folder " + unreadable, error);
        // A folder that matches the mask is no file to read: the window
        // lists it, the rows here leave it out.
        for (int i = 0; i < count; ++i) {
            CString path = finder.GetFilePath(i).GetPath();
            if (path.empty() || path.back() != '/')
                rows.push_back(std::move(path));
        }
    }
    return rows;
}

void CannotRead(const CString& row, int error, CConsole& console)
{
    if (IsFolderError(error, row))
        console.Error(FormatText(kFolderHint, row.c_str()), 0);
    else
        console.Error("cannot read " + row, error);
}

void Check(const std::vector<CString>& rows, CConsole& console, std::optional<ReportFormat> format)
{
    for (const CString& row : rows) {
        if (format) {
            int error = 0;
            for (const CReportRecord& record : CheckRecords(row, &error))
                console.Raw(FormatRecord(record, *format));
            if (error != 0)
                CannotRead(row, error, console);
            console.EndOfFile();
            continue;
        }
        int error = 0;
        const SoundCheck answer = CheckSound(row, &error);
        if (answer == SoundCheck::Unreadable)
            CannotRead(row, error, console);
        console.Row(row, answer == SoundCheck::Yes ? "\tYes" : answer == SoundCheck::No ? "\tNo" : "\tUnreadable");
        console.EndOfFile();
    }
}

} // namespace

int main(int argc, char** argv)
{
    enum { OPT_MASK = 1000, OPT_HELP, OPT_VERSION, OPT_KEEP_PARTIAL, OPT_KEEP_GOING, OPT_PCM, OPT_FORMAT };
    static const option longOptions[] = {
        {"check", no_argument, nullptr, 'c'},
        {"recursive", no_argument, nullptr, 'r'},
        {"null", no_argument, nullptr, '0'},
        {"mask", required_argument, nullptr, OPT_MASK},
        {"output-dir", required_argument, nullptr, 'o'},
        {"keep-partial", no_argument, nullptr, OPT_KEEP_PARTIAL},
        {"keep-going", no_argument, nullptr, OPT_KEEP_GOING},
        {"pcm", no_argument, nullptr, OPT_PCM},
        {"format", required_argument, nullptr, OPT_FORMAT},
        {"help", no_argument, nullptr, OPT_HELP},
        {"version", no_argument, nullptr, OPT_VERSION},
        {nullptr, 0, nullptr, 0},
    };
    bool check = false;
    bool recursive = false;
    bool nullEnded = false;
    bool maskGiven = false;
    std::optional<ReportFormat> format;
    CExtractOptions extractOptions;
    CString mask = kDefaultFileMask;
    opterr = 0;
    int opt;
    // GNU order: options anywhere among the paths, "--" ends them.
    while ((opt = getopt_long(argc, argv, "r0o:", longOptions, nullptr)) != -1) {
        switch (opt) {
        case 'c':
            check = true;
            break;
        case 'r':
            recursive = true;
            break;
        case '0':
            nullEnded = true;
            break;
        case OPT_MASK:
            mask = optarg;
            maskGiven = true;
            break;
        case 'o':
            // An empty name would quietly write beside the pictures.
            if (*optarg == '\0') {
                std::fprintf(stderr, "vocaline-extract: empty folder name\n%s", kUsage);
                return 2;
            }
            extractOptions.strOutputDir = optarg;
            break;
        case OPT_KEEP_PARTIAL:
            extractOptions.bKeepPartial = true;
            break;
        case OPT_KEEP_GOING:
            extractOptions.bKeepGoing = true;
            break;
        case OPT_PCM:
            extractOptions.bPcm = true;
            break;
        case OPT_FORMAT:
            if (std::strcmp(optarg, "json") == 0) {
                format = ReportFormat::Json;
            } else if (std::strcmp(optarg, "csv") == 0) {
                format = ReportFormat::Csv;
            } else {
                std::fprintf(stderr, "vocaline-extract: --format is json or csv, not '%s'\n%s", Escape(optarg).c_str(),
                             kUsage);
                return 2;
            }
            break;
        case OPT_HELP:
            PrintHelp();
            return 0;
        case OPT_VERSION:
            std::puts("vocaline-extract " VOCALINE_VERSION);
            return 0;
        default: {
            // A short option inside a group ("-r.jpg") is named by itself:
            // optind does not point at its word then.
            const bool shortOption = optopt > 0 && optopt < 128;
            const CString wrong = shortOption ? FormatText("-%c", optopt) : CString(argv[optind - 1]);
            std::fprintf(stderr, "vocaline-extract: unknown or incomplete option '%s'\n%s", Escape(wrong).c_str(),
                         kUsage);
            return 2;
        }
        }
    }
    if (optind >= argc) {
        std::fprintf(stderr, "vocaline-extract: no PATH given\n%s", kUsage);
        return 2;
    }
    if (maskGiven && !recursive) {
        std::fprintf(stderr, "vocaline-extract: --mask needs -r\n%s", kUsage);
        return 2;
    }
    if (format && nullEnded) {
        std::fprintf(stderr, "vocaline-extract: --format writes its own line ends; -0 does not apply\n%s", kUsage);
        return 2;
    }
    if (check && !extractOptions.strOutputDir.empty()) {
        std::fprintf(stderr, "vocaline-extract: --check writes nothing; -o does not apply\n%s", kUsage);
        return 2;
    }
    CConsole console(nullEnded);
    const std::vector<CString> paths(argv + optind, argv + argc);
    if (!recursive && std::all_of(paths.begin(), paths.end(), IsFolder)) {
        for (const CString& path : paths)
            console.Error(FormatText(kFolderHint, path.c_str()), 0);
        return 2;
    }
    // An empty name would search the working folder, which nobody asked for.
    if (recursive && std::find(paths.begin(), paths.end(), CString()) != paths.end()) {
        std::fprintf(stderr, "vocaline-extract: empty folder name\n%s", kUsage);
        return 2;
    }
    std::vector<std::pair<dev_t, ino_t>> skip;
    if (recursive && !extractOptions.strOutputDir.empty()) {
        // Each picture keeps its path below the folder searched; several
        // folders keep theirs below their common folder, so two folders'
        // 2003/a.jpg do not meet in one WAV.
        extractOptions.strTreeRoot = CommonFolder(paths);
        struct stat st {};
        if (::stat(extractOptions.strOutputDir.c_str(), &st) == 0)
            skip.emplace_back(st.st_dev, st.st_ino);
    } else if (!extractOptions.strOutputDir.empty()) {
        // The files' common folder; a folder named by mistake is no file
        // and must not move the others' place.
        std::vector<CString> parents;
        for (const CString& path : paths) {
            if (!IsFolder(path))
                parents.push_back(path.find('/') == CString::npos ? CString(".") : path.substr(0, path.rfind('/') + 1));
        }
        extractOptions.strTreeRoot = CommonFolder(parents);
    }
    const std::vector<CString> rows = recursive ? FindRows(paths, mask, skip, console) : paths;

    if (format == ReportFormat::Csv)
        console.Raw(CsvHeader());
    if (check) {
        Check(rows, console, format);
    } else if (!rows.empty() || !recursive) {
        // Folders without a matching file are nothing to report.
        CConsoleReport report(console, format);
        RunExtraction(rows, report, extractOptions);
    }
    const bool written = console.Finish();
    return console.Failed() || !written ? 1 : 0;
}
