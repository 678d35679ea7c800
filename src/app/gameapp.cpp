#include "gameapp.h"

#include "ui/maindialog.h"

#include <QIcon>

GameApp::GameApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("quorvel-naval"));
    setApplicationDisplayName(QStringLiteral("Quorvel Naval"));
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
