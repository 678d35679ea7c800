#include "gameapp.h"

#include "about/aboutdialog.h"
#include "ui/maindialog.h"

#include <QTimer>

GameApp::GameApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    nameProgram();
    setDesktopFileName(QStringLiteral("quorvel-naval"));
    setWindowIcon(programIcon());
}

// No display name: the desktop would append it to the window title, and the title carries
// the game's own texts and the score exactly.
void GameApp::nameProgram()
{
    setApplicationName(QStringLiteral("quorvel-naval"));
    setApplicationVersion(QStringLiteral("3.0"));
}

bool GameApp::initInstance(const GameOptions& options)
{
    MainDialog dialog;
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
