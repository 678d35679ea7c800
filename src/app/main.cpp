#include "gameapp.h"
#include "gameoptions.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // The command line is read before any window system is touched, so that --help and a
    // mistake need no display.
    GameApp::nameProgram();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const GameCommandLine commandLine = readGameCommandLine(arguments);
    if (!commandLine.options) {
        std::fputs(commandLine.text.toLocal8Bit().constData(),
            commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    GameApp application(argc, argv);
    installLanguage(application, commandLine.options->language.value_or(desktopLanguage()));
    return application.initInstance(*commandLine.options) ? GameApp::exec() : 0;
}
