// Games started other than by the connection controls: the computer opponent from the
// window's menu, and a listen or connect asked for on the command line.

#include "maindialog.h"

#include "controlids.h"

#include "net/gametexts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

void MainDialog::contextMenuEvent(QContextMenuEvent* event)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fillContextMenu(*menu);
    menu->popup(event->globalPos());
}

// The window's own commands, offered on a right click outside the grid in play.
void MainDialog::fillContextMenu(QMenu& menu)
{
    menu.addAction(tr("Acerca do quorvel..."), this, [this] { onSysCommand(IDM_ABOUTBOX); });
    QMenu* levels = menu.addMenu(tr("Jogar contra o computador"));
    levels->setEnabled(listenConnectButton->isEnabled());
    addLevelActions(*levels);
    menu.addAction(tr("Registo de partidas..."), this, &MainDialog::showRecord);
    QAction* help = menu.addAction(tr("Como jogar"), this, &MainDialog::showHelp);
    help->setShortcut(QKeySequence::HelpContents);
}

void MainDialog::playAgainstComputer(const ComputerOpponent::Settings& settings)
{
    if (!listenConnectButton->isEnabled())
        return;
    if (computer)
        computer->close();
    auto* opponent = new ComputerOpponent(settings, this);
    connect(opponent, &ComputerOpponent::finished, opponent, &QObject::deleteLater);
    if (!opponent->listen(0, true)) {
        openBox(
            opponent->failureText(), gameText(TextId::ListenFailedCaption), QMessageBox::Critical);
        return;
    }
    computer = opponent;
    computerLevel = settings.level;
    if (!playerControls)
        playerControls
            = PlayerControls { modeButtons->checkedId(), portEdit->text(), addressEdit->text() };
    startConnection(1, opponent->listeningPort(), QStringLiteral("127.0.0.1"));
}

void MainDialog::startConnection(int mode, int chosenPort, const QString& chosenAddress)
{
    if (!listenConnectButton->isEnabled())
        return;
    socketMode = mode;
    port = chosenPort;
    if (mode == 1)
        address = chosenAddress;
    updateData(false);
    onModeChanged();
    listenOrConnect(false);
}

// The connection controls are the player's again: what they had set comes back. The game
// against the computer is over, and the computer goes with it: had the player left before
// sending it a word, it would take that for a probe and wait on for another connection.
void MainDialog::restorePlayerControls()
{
    if (computer)
        computer->close();
    if (!playerControls || !listenConnectButton->isEnabled())
        return;
    if (QAbstractButton* mode = modeButtons->button(playerControls->mode))
        mode->setChecked(true);
    portEdit->setText(playerControls->port);
    addressEdit->setText(playerControls->address);
    playerControls.reset();
    onModeChanged();
}
