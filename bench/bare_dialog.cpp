// The floor of the game window's start-up: a Qt dialog of the same size with one line of
// text, shown and run as the game runs its window. The line makes it load the fonts, as any
// window that says something must.

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("TCP/IP - Quorvel Naval"));
    dialog.setFixedSize(579, 489);
    auto* line = new QLabel(QStringLiteral("Verifique as ligações cliente-server."), &dialog);
    line->move(10, 10);
    return dialog.exec();
}
