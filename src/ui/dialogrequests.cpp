// What the match engine and the connection handlers ask of the window, as the dialog
// carries it out.

#include "maindialog.h"

#include "eventlog.h"
#include "gamecanvas.h"

#include "match/controlids.h"
#include "net/gametexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>

#include <algorithm>
#include <iterator>

void MainDialog::setStatusText(std::string_view text)
{
    if (text == statusSource)
        return;
    statusSource = text;
    statusText = gameText(text);
    statusLabel->setText(statusText);
}

ControlValues MainDialog::saveControls()
{
    const bool valid = updateData(true);
    return { socketMode, port, address.toStdString(), valid };
}

void MainDialog::updateTitle(std::string_view baseTitle, int myWins, int peerWins)
{
    setWindowTitle(gameText(baseTitle) + tr(" [ Eu=%1 , Adv=%2 ]").arg(myWins).arg(peerWins));
}

void MainDialog::showListeningPort(int chosen)
{
    port = chosen;
    portEdit->setText(QString::number(chosen));
}

void MainDialog::enableConnectionControls(bool enable)
{
    for (int id : { IDC_LISTEN_CONNECT, IDC_ADDRESS, IDC_PORT, IDC_MODE_CLIENT, IDC_MODE_SERVER,
             IDC_MODE_GROUP, IDC_ADDRESS_GROUP, IDC_PORT_LABEL, IDC_ADDRESS_LABEL })
        enableControl(id, enable);
    // A game against the computer has ended, or never began: what it borrowed goes back to
    // the player once the handler that ended it has returned.
    if (enable && playerControls)
        QMetaObject::invokeMethod(this, &MainDialog::restorePlayerControls, Qt::QueuedConnection);
}

void MainDialog::enableChatControls(bool enable)
{
    for (int id : { IDC_SEND, IDC_CHAT_EDIT, IDC_LOG })
        enableControl(id, enable);
}

void MainDialog::disableGeneratorControls()
{
    for (int id : { IDC_ACCEPT, IDC_RANDOMIZE, IDC_GENERATOR_GROUP })
        enableControl(id, false);
}

void MainDialog::enableControl(int id, bool enable)
{
    QWidget* widget = control(id);
    if (widget == nullptr)
        return;
    const bool hadFocus = !enable && focusWidget() == widget;
    widget->setEnabled(enable);
    if (hadFocus)
        passFocusOn();
}

// A control disabled or hidden while it has the keyboard focus hands it to the chat line if
// that can take it, else to the grids, instead of to whatever comes next in the tab order.
void MainDialog::passFocusOn()
{
    if (chatEdit->isEnabled())
        chatEdit->setFocus(Qt::OtherFocusReason);
    else
        gameCanvas->setFocus(Qt::OtherFocusReason);
}

void MainDialog::setButtonCaption(int id, std::string_view caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control(id)))
        button->setText(gameText(caption));
}

void MainDialog::addLogLine(std::string_view line)
{
    if (line != logSource) {
        logSource = line;
        logText = gameText(line);
    }
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    logList->addLine(QLatin1Char('[') + time + QStringLiteral("] ") + logText);
}

void MainDialog::drawBoard(const Board& board) { gameCanvas->drawBoard(board); }
void MainDialog::eraseCursor(const Board& board) { gameCanvas->eraseCursor(board); }
void MainDialog::drawCursor(const Board& board) { gameCanvas->drawCursor(board); }

void MainDialog::repaint()
{
    logList->trim();
    gameCanvas->paintGrids();
}

void MainDialog::flashHit(const Board& shown) { gameCanvas->flashHit(shown); }
void MainDialog::fadeOut(const Board& leaving) { gameCanvas->fadeOut(leaving); }
void MainDialog::fadeIn(const Board& arriving) { gameCanvas->fadeIn(arriving); }

// The generator's buttons lie over the enemy grid; beneath them the grid's area is a plain
// panel in the cover colour.
void MainDialog::showGenerator(bool show)
{
    QWidget* const generator[] = { generatorGroup, acceptButton, randomizeButton };
    if (show) {
        if (session.engine().matchState().phase == GamePhase::Playing)
            gameCanvas->drawCoverPanel();
        for (QWidget* widget : generator)
            widget->show();
    } else {
        const bool hadFocus = std::ranges::find(generator, focusWidget()) != std::end(generator);
        for (QWidget* widget : generator)
            widget->hide();
        if (hadFocus)
            passFocusOn();
        gameCanvas->drawCoverPanel();
    }
}

// Opens at once, modal to the window; the handler that asked for it goes on, and so does
// the window: its sockets keep being read while the box waits for the player.
void MainDialog::messageBox(
    std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == BoxIcon::Error)
        boxIcon = QMessageBox::Critical;
    else if (icon == BoxIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    auto* box = new QMessageBox(boxIcon, gameText(caption), gameText(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    if (closed)
        connect(box, &QMessageBox::finished, this, [closed = std::move(closed)] { closed(); });
    box->open();
    // The box that ends a match against the computer of this process: its fleet can be
    // shown, which the wire could not carry from another player's copy.
    if (computer && session.engine().matchOver())
        gameCanvas->revealFleet(computer->declaredFleet());
}

void MainDialog::beep(BeepKind) { desktopBell.ring(); }
