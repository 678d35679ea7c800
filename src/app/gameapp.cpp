#include "gameapp.h"
#include "commandline.h"

#include "about/aboutdialog.h"
#include "ui/gamestyle.h"
#include "ui/maindialog.h"

#include <QTimer>

GameApp::GameApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    nameProgram();
    // The desktop shows it after every window's own title, so the taskbar always names the
    // game, whatever the title says of the match.
    setApplicationDisplayName(programName());
    setDesktopFileName(QStringLiteral("quorvel-naval"));
    setStyle(new GameStyle);
}

void GameApp::nameProgram()
{
    setApplicationName(QStringLiteral("quorvel-naval"));
    setApplicationVersion(CommandLine::programVersion());
}

bool GameApp::initInstance(
    const GameOptions& options, Language language, GameSettings& settings, MatchRecord& record)
{
    MainDialog dialog(&settings, &record);
    dialog.showLanguage(language);
    // Started once the window is up, as if the player had set the controls and pressed the
    // button.
    QTimer::singleShot(0, &dialog, [&dialog, &options] {
        switch (options.start) {
        case GameOptions::Start::Window:
            break;
        case GameOptions::Start::Listen:
            dialog.startConnection(0, options.port, QString());
            break;
        case GameOptions::Start::Connect:
            dialog.startConnection(1, options.port, options.host);
            break;
        case GameOptions::Start::Computer:
            dialog.computerSettings().level = options.level;
            dialog.playAgainstComputer(dialog.computerSettings());
            break;
        }
    });
    dialog.exec();
    return false;
}
