// vocaline-extract: the extraction run and the presence test for batch use,
// on the same code as the window and with the same rows, texts and stops.
#include <getopt.h>

#include <cstdio>
#include <vector>

#include "audio/extract.h"
#include "audio/jpegaudio.h"
#include "search/filesearch.h"

namespace {

const char* const kUsage = "Usage: vocaline-extract [--check] [-r] [--mask PATTERN] PATH...\n";

void PrintHelp()
{
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "Copies the voice memo of each camera JPEG file into a WAV file beside it\n"
               "(pic.jpg -> pic.jpg.wav), logging every step on standard output.\n"
               "\n"
               "  --check            only tell which files carry sound (path<TAB>Yes|No);\n"
               "                     nothing is written\n"
               "  -r, --recursive    every PATH is a folder, searched with its subfolders\n"
               "      --mask PATTERN file-name pattern for -r ('*' and '?'; default *.jpg)\n"
               "      --help         show this help\n"
               "      --version      show the version\n"
               "\n"
               "Exit status: 0 when no error message was raised, 1 when one was, 2 for a\n"
               "usage error.\n",
               stdout);
}

// Log rows go to standard output, message boxes to standard error.
class CConsoleReport : public IExtractReport {
public:
    void WriteLogRow(const CString& text) override
    {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    }
    void ShowMessage(const CString& text) override
    {
        std::fflush(stdout);
        std::fprintf(stderr, "vocaline-extract: %s\n", text.c_str());
        m_bRaised = true;
    }
    bool Raised() const { return m_bRaised; }

private:
    bool m_bRaised = false;
};

std::vector<CString> FindRows(const std::vector<CString>& folders, const CString& mask)
{
    std::vector<CString> rows;
    CFileSearch finder;
    for (const CString& folder : folders) {
        CSearchOptions options;
        options.Reset();
        options.strBaseFolder = folder;
        options.strFileMask = mask;
        options.bSubfolders = 1;
        finder.RemoveAll();
        const int count = finder.FindFiles(options);
        for (int i = 0; i < count; ++i)
            rows.push_back(finder.GetFilePath(i).GetPath());
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    enum { OPT_MASK = 1000, OPT_HELP, OPT_VERSION };
    static const option longOptions[] = {
        {"check", no_argument, nullptr, 'c'},
        {"recursive", no_argument, nullptr, 'r'},
        {"mask", required_argument, nullptr, OPT_MASK},
        {"help", no_argument, nullptr, OPT_HELP},
        {"version", no_argument, nullptr, OPT_VERSION},
        {nullptr, 0, nullptr, 0},
    };
    bool check = false;
    bool recursive = false;
    bool maskGiven = false;
    CString mask = "*.jpg";
    opterr = 0;
    int opt;
    while ((opt = getopt_long(argc, argv, "+r", longOptions, nullptr)) != -1) {
        switch (opt) {
        case 'c':
            check = true;
            break;
        case 'r':
            recursive = true;
            break;
        case OPT_MASK:
            mask = optarg;
            maskGiven = true;
            break;
        case OPT_HELP:
            PrintHelp();
            return 0;
        case OPT_VERSION:
            std::puts("vocaline-extract 1.0.0.2");
            return 0;
        default:
            std::fprintf(stderr, "vocaline-extract: unknown or incomplete option '%s'\n%s",
                         argv[optind - 1], kUsage);
            return 2;
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
    std::vector<CString> paths(argv + optind, argv + argc);
    const std::vector<CString> rows = recursive ? FindRows(paths, mask) : paths;

    if (check) {
        for (const CString& row : rows)
            std::printf("%s\t%s\n", row.c_str(), HasSound("", row) ? "Yes" : "No");
        return 0;
    }
    CConsoleReport report;
    RunExtraction(rows, report);
    std::fflush(stdout);
    return report.Raised() ? 1 : 0;
}
