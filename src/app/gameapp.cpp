#include "gameapp.h"

#include "ui/maindialog.h"

#include <QIcon>

GameApp::GameApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // No display name: the desktop would append it to the window title, and the title
    // carries the game's own texts and the score exactly.
    setApplicationName(QStringLiteral("quorvel-naval"));
    setApplicationVersion(QStringLiteral("3.0"));
    setDesktopFileName(QStringLiteral("quorvel-naval"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvel-naval.svg")));
}

bool GameApp::initInstance()
{
    MainDialog dialog;
    dialog.exec();
    return false;
}
