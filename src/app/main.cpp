#include "gameapp.h"
#include "gameoptions.h"

#include "ui/gamesettings.h"
#include "ui/matchrecord.h"

#include <cstdio>
#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

// The language asked for on the command line, else the one the player chose in the window,
// else the desktop's.
Language chosenLanguage(std::optional<Language> asked, const GameSettings& settings)
{
    return asked.value_or(settings.values().language.value_or(desktopLanguage()));
}

// Reads the command line in the language the game will speak, with a core application of
// its own that ends before the window system is touched, so that --help and a mistake need
// no display. The help names the program as its messages do, however it was called. A
// command line of the program's name alone has nothing to say: the window starts without
// that application.
GameCommandLine readCommandLine(int argc, char** argv, const GameSettings& settings)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (arguments.size() <= 1)
        return readGameCommandLine(arguments);
    char name[] = "quorvel-naval";
    int count = 1;
    char* named[] = { name, nullptr };
    QCoreApplication reader(count, named);
    installLanguage(reader, chosenLanguage(languageInArguments(arguments), settings));
    return readGameCommandLine(arguments);
}

// Fontconfig reads its configuration and the font caches once per process, the longest single
// step before the window can measure its first text. On a thread of its own it overlaps with
// the start of the application, which needs no font; Qt then finds it done, and frees it at
// the end with its font database.
std::jthread readFontConfiguration()
{
    return std::jthread([] { FcInit(); });
}

} // namespace

int main(int argc, char** argv)
{
    GameApp::nameProgram();
    // Read once, before either application: the language comes from it, and the window
    // starts with what it remembers and writes to it.
    GameSettings settings(GameSettings::defaultPath());
    const GameCommandLine commandLine = readCommandLine(argc, argv, settings);
    if (!commandLine.options) {
        std::fputs(commandLine.text.toLocal8Bit().constData(),
            commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    std::jthread fontConfiguration = readFontConfiguration();
    GameApp application(argc, argv);
    const Language language = chosenLanguage(commandLine.options->language, settings);
    installLanguage(application, language);
    // Read once, like the settings; a file set aside is told in the window's log.
    MatchRecord record(MatchRecord::defaultPath());
    fontConfiguration.join(); // before the window measures its first text
    return application.initInstance(*commandLine.options, language, settings, record)
        ? GameApp::exec()
        : 0;
}
