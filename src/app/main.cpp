#include "gameapp.h"
#include "gameoptions.h"

#include "ui/gamesettings.h"

#include <cstdio>

namespace {

// The language asked for on the command line, else the one the player chose in the window,
// else the desktop's.
Language chosenLanguage(std::optional<Language> asked)
{
    if (asked)
        return *asked;
    return GameSettings(GameSettings::defaultPath()).values().language.value_or(desktopLanguage());
}

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
    installLanguage(reader, chosenLanguage(languageInArguments(arguments)));
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
    const Language language = chosenLanguage(commandLine.options->language);
    installLanguage(application, language);
    return application.initInstance(*commandLine.options, language) ? GameApp::exec() : 0;
}
