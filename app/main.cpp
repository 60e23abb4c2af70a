// The window program. It reads no command line: arguments change nothing.
#include <QApplication>

#include "app/mainapp.h"

int main(int argc, char** argv)
{
    // Qt sees only the program name, so no argument can change its behaviour.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    (void)argc;
    QApplication app(qtArgc, qtArgv);
    theApp.InitInstance();
    return 0;
}
