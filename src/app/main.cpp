#include "gameapp.h"
#include "gameoptions.h"

#include <cstdio>

namespace {

// Reads the command line in the language the game will speak, with a core application of
// its own that ends before the window system is touched, so that --help and a mistake need
// no display. The help names the program as its messages do, however it was called.
GameCommandLine readCommandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    char name[] = "quorvel-naval";
    int count = 1;
    char* named[] = { name, nullptr };
    QCoreApplication reader(count, named);
    installLanguage(reader, languageInArguments(arguments).value_or(desktopLanguage()));
    return readGameCommandLine(arguments);
}

} // namespace

int main(int argc, char** argv)
{
    GameApp::nameProgram();
    const GameCommandLine commandLine = readCommandLine(argc, argv);
    if (!commandLine.options) {
        std::fputs(commandLine.text.toLocal8Bit().constData(),
            commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    GameApp application(argc, argv);
    installLanguage(application, commandLine.options->language.value_or(desktopLanguage()));
    return application.initInstance(*commandLine.options) ? GameApp::exec() : 0;
}
