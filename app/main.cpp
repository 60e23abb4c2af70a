// The window program. --help and --version answer before any window system
// is touched; a FOLDER (or a picture in it) fills "Look in".
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "app/mainapp.h"

namespace {

void PrintHelp()
{
    std::fputs("Usage: vocaline [--help] [--version] [FOLDER]\n"
               "\n"
               "Opens the Vocaline window, which finds the pictures of a still camera that\n"
               "hold a voice memo, lists them, tells which carry sound, copies each memo to\n"
               "a WAV file beside its picture (pic.jpg -> pic.jpg.wav) and plays it.\n"
               "\n"
               "FOLDER is put in \"Look in\" and searched at once; a picture given stands\n"
               "for its folder and is selected once found. Without it the window opens\n"
               "with the folder, mask and options of the last run (the first time: the\n"
               "Pictures folder, searched with its subfolders for pictures with sound).\n"
               "\n"
               "      --help     show this help and exit\n"
               "      --version  show the version and exit\n"
               "\n"
               "Any further argument is ignored. vocaline-extract does the same extraction\n"
               "from the command line.\n"
               "\n"
               "Exit status:\n"
               "  0  the window was closed, or help or version was shown\n",
               stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (folder == nullptr && argv[i][0] != '-')
            folder = argv[i];
        if (std::strcmp(argv[i], "--help") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("vocaline " VOCALINE_VERSION);
            return 0;
        }
    }
    // Qt sees only the program name, so no other argument can change its behaviour.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationVersion(VOCALINE_VERSION);
    // Message boxes are captioned with this name, which is also the class of
    // the window (WM_CLASS) that docks match to the desktop entry.
    QApplication::setApplicationName("Vocaline");
    QApplication::setDesktopFileName("io.github.vocaline.Vocaline");
    InstallTranslations();
    if (folder != nullptr)
        theApp.m_strStartFolder = folder;
    theApp.InitInstance();
    return 0;
}
