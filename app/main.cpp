// The window program. It reads no command line: arguments change nothing.
#include <QApplication>

#include "app/mainapp.h"
#include "res/templates.h"

int main(int argc, char** argv)
{
    // Qt sees only the program name, so no argument can change its behaviour.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    (void)argc;
    QApplication app(qtArgc, qtArgv);
    const res::VersionInfo& version = res::GetVersionInfo();
    QApplication::setApplicationVersion(QString("%1.%2.%3.%4")
                                            .arg(version.fileVersion[0])
                                            .arg(version.fileVersion[1])
                                            .arg(version.fileVersion[2])
                                            .arg(version.fileVersion[3]));
    theApp.InitInstance();
    return 0;
}
