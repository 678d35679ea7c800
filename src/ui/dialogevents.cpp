// The game's events as the window shows them, and the controls as the game stands.

#include "maindialog.h"

#include "controlids.h"
#include "eventlog.h"
#include "fleetguide.h"
#include "gamecanvas.h"
#include "gridgeometry.h"
#include "welcomepanel.h"
#include "windowplacement.h"

#include "net/gametexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>

#include <algorithm>
#include <iterator>

void MainDialog::phaseChanged(GamePhase phase)
{
    gameCanvas->phaseChanged(shownPhase, phase);
    shownPhase = phase;
    if (phase == GamePhase::Placing) {
        fleetDeclared = false;
        // The first match of a connection is told by the connection's own lines.
        if (matchEnded)
            addWindowLine(tr("Nova partida."));
        matchEnded = false;
        matchShots = {};
    }
    fleetVisible = session.engine().matchState().showOwnFleet;
    guide->showPhase(phase, session.engine().ownBoard());
    if (guide->ruleLine() != shownRule)
        showStatus();
    updateControls();
}

// A refused fleet, and a cell to take away when none is placed, are a warning; the latter
// changes nothing to draw. The list of ships and the rule line follow the fleet.
void MainDialog::fleetChanged(const FleetChange& change)
{
    guide->showFleet(session.engine().ownBoard(),
        change.kind == FleetChange::Refused ? std::optional(change.cell) : std::nullopt);
    if (guide->ruleLine() != shownRule)
        showStatus();
    if (change.kind == FleetChange::Refused || change.kind == FleetChange::NothingToClear)
        desktopBell.ring(Beep::Warning);
    if (change.kind != FleetChange::NothingToClear)
        gameCanvas->paintGrids();
    updateControls();
}

void MainDialog::readyDeclared(Side side, bool)
{
    if (side == Side::Mine)
        fleetDeclared = true;
    gameCanvas->paintGrids();
    if (side == Side::Opponents)
        desktopBell.ring(Beep::Default);
    updateControls();
}

// Nothing shows of a shot until its reply.
void MainDialog::shotFired(GridCell) { }

void MainDialog::shotRefused(GridCell) { desktopBell.ring(Beep::Error); }

// A hit on the own fleet flashes it, and the log tells it as the engine tells this side's
// hits: the engine logs only what this side learns from the opponent's replies.
void MainDialog::shotAnswered(const Shot& shot)
{
    const bool hit = shot.outcome != Shot::Miss;
    if (shot.shooter == Side::Mine) {
        ++matchShots.mine;
        matchShots.myHits += hit ? 1 : 0;
    } else {
        ++matchShots.opponents;
        matchShots.opponentsHits += hit ? 1 : 0;
        if (hit) {
            gameCanvas->flashHit();
            addWindowLine(opponentsHitText(shot));
        }
    }
    gameCanvas->paintGrids();
}

QString MainDialog::opponentsHitText(const Shot& shot) const
{
    // This side answered the shot from its own board, so the length is a digit; '?' as the
    // engine writes a length it was not told.
    const QString length
        = shot.length == '\0' ? QStringLiteral("?") : QString(QChar::fromLatin1(shot.length));
    const bool one = shot.length == '1';
    if (shot.outcome == Shot::Hit)
        return one ? tr("<ADV> Acertou num barco de 1 cano.")
                   : tr("<ADV> Acertou num barco de %1 canos.").arg(length);
    return one ? tr("<ADV> Afundou um barco de 1 cano.")
               : tr("<ADV> Afundou um barco de %1 canos.").arg(length);
}

// The box opens below the grids and the game goes on; the result counts once it is closed,
// and the status says it meanwhile. In a game against the computer of this process, its fleet
// is shown meanwhile, which the wire could not carry from another player's copy.
void MainDialog::matchDecided(bool won, int match)
{
    const QString result = gameText(won ? TextId::WonText : TextId::LostText);
    QMessageBox* box = openBox(result, gameText(won ? TextId::WonCaption : TextId::LostCaption),
        QMessageBox::NoIcon, [this, match] {
            resultShown.reset();
            statusLabel->setText(statusText);
            session.engine().matchResultSeen(match);
        });
    placeBelowGrids(box);
    logMatchEnd(won);
    countMatch(won);
    resultShown = result;
    statusLabel->setText(result);
    if (computer)
        gameCanvas->revealFleet(computer->declaredFleet());
}

// Logged when the match is decided, not when its box is closed: the box may stay open while
// the opponent goes on, and the log keeps the order things happened in. The score is the one
// the title will show once the result counts; the match's number is the one it makes on this
// connection.
void MainDialog::logMatchEnd(bool won)
{
    Score counted = session.engine().score();
    ++(won ? counted.mine : counted.opponents);
    const QString result = won ? tr("Partida %1 ganha. [ Eu=%2 , Adv=%3 ]")
                               : tr("Partida %1 perdida. [ Eu=%2 , Adv=%3 ]");
    addWindowLine(
        result.arg(counted.mine + counted.opponents).arg(counted.mine).arg(counted.opponents));
    addWindowLine(tr("Tiros: eu %1 (%2 acertos), adversário %3 (%4 acertos).")
                      .arg(matchShots.mine)
                      .arg(matchShots.myHits)
                      .arg(matchShots.opponents)
                      .arg(matchShots.opponentsHits));
    matchEnded = true;
}

// In the record as soon as it is decided: the player may never close the box, or the
// connection may end first. The computer of this process counts at its level; any other
// connection is a player.
void MainDialog::countMatch(bool won)
{
    const MatchRecord::Opponent opponent
        = computer ? MatchRecord::computerAt(computerLevel) : MatchRecord::Opponent::Players;
    record->count(opponent, won, matchShots.mine);
}

void MainDialog::reportRecord()
{
    const auto setAside = [this](const QString& path) {
        addWindowLine(
            tr("O registo de partidas estava ilegível; foi guardado em %1 e começa um novo.")
                .arg(path));
    };
    const auto unsaved = [this](const QString& path) {
        addWindowLine(
            tr("O registo de partidas não pode ser guardado em %1; fica só até sair do jogo.")
                .arg(path));
    };
    if (record->started() == MatchRecord::Start::SetAside)
        setAside(record->setAsidePath());
    else if (record->started() == MatchRecord::Start::LeftAlone)
        unsaved(record->path());
    connect(record, &MatchRecord::fileSetAside, this, setAside);
    connect(record, &MatchRecord::saveFailed, this, unsaved);
}

// A result seen after the opponent has left starts no match.
void MainDialog::scoreChanged(const Score&)
{
    setTitle(connection == ConnectionChange::Open ? TextId::NewMatchTitle : TextId::ClosedTitle);
}

void MainDialog::fleetShown(bool shown)
{
    const MatchEngine& engine = session.engine();
    const Board& own = engine.ownBoard();
    const Board& cover = engine.coverBoard();
    gameCanvas->fadeBetween(fleetVisible ? own : cover, shown ? own : cover);
    fleetVisible = shown;
    gameCanvas->paintGrids();
    updateControls();
}

void MainDialog::chatLine(Side side, const std::string& text)
{
    addLogLine({ side == Side::Mine ? TextId::MyChat : TextId::PeerChat, text });
}

// "Enviar" waits for the connection to take more; a lost message of the match is told once
// while its box is open.
void MainDialog::sendFailed(bool chat)
{
    if (chat) {
        chatSendFailed = true;
        updateControls();
    } else if (!sendFailureBox) {
        sendFailureBox = openBox(gameText(TextId::SendFailedText),
            gameText(TextId::SendFailedCaption), QMessageBox::Warning);
    }
}

void MainDialog::sendResumed()
{
    chatSendFailed = false;
    updateControls();
}

void MainDialog::statusChanged(const Text& status)
{
    if (statusSource == status)
        return;
    statusSource = status;
    engineStatus = gameText(status);
    showStatus();
}

void MainDialog::showStatus()
{
    shownRule = guide->ruleLine();
    statusText = shownRule.isEmpty() ? engineStatus : engineStatus + QLatin1Char('\n') + shownRule;
    statusLabel->setText(resultShown.value_or(statusText));
}

void MainDialog::logLine(const Text& line) { addLogLine(line); }

void MainDialog::connectionChanged(const ConnectionChange& change)
{
    connection = change.state;
    switch (change.state) {
    case ConnectionChange::Listening:
        if (change.reason == ConnectionChange::Asked) {
            setTitle(TextId::ServerTitle);
            // Port 0 asked the system for one: the field shows which.
            if (port == 0) {
                port = change.port;
                portEdit->setText(QString::number(port));
            }
        }
        break;
    case ConnectionChange::Connecting:
        break;
    case ConnectionChange::Open:
        if (!change.listened)
            setTitle(TextId::ClientTitle);
        break;
    case ConnectionChange::Closed:
        chatSendFailed = false;
        matchEnded = false;
        addressFollowsMode = false;
        // The box says where it failed and why, under its usual text.
        if (change.reason == ConnectionChange::ListenFailed) {
            openBox(failureMessage(TextId::ListenFailedText, change.failure),
                gameText(TextId::ListenFailedCaption), QMessageBox::Critical);
        } else if (change.reason == ConnectionChange::ConnectFailed) {
            openBox(failureMessage(TextId::ConnectFailedText, change.failure),
                gameText(TextId::ConnectFailedCaption), QMessageBox::Critical);
        } else {
            setTitle(TextId::ClosedTitle);
        }
        // A game against the computer has ended, or never began: what it borrowed goes back
        // to the player once the handler that ended it has returned.
        if (playerControls)
            QMetaObject::invokeMethod(
                this, &MainDialog::restorePlayerControls, Qt::QueuedConnection);
        // "Fechar COM" draws the grids again as they stand, as it always has; the other ends
        // leave them be (the labels blend over themselves at each drawing).
        if (change.reason == ConnectionChange::Asked)
            gameCanvas->paintGrids();
        break;
    }
    updateControls();
}

void MainDialog::setTitle(TextId base)
{
    const Score score = session.engine().score();
    setWindowTitle(gameText(base) + tr(" [ Eu=%1 , Adv=%2 ]").arg(score.mine).arg(score.opponents));
}

void MainDialog::addLogLine(const Text& line)
{
    if (logSource != line) {
        logSource = line;
        logText = gameText(line);
    }
    addWindowLine(logText);
}

void MainDialog::addWindowLine(const QString& line)
{
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    logList->addLine(QLatin1Char('[') + time + QStringLiteral("] ") + line);
}

// The connection controls and the welcome while there is no connection; "Fechar COM" while
// there is one, or one is being waited for; the chat while one is open; the generator while
// the fleet is built, over the enemy grid's area whenever no fleet is declared and a
// connection is there or awaited, and "Frota anterior" with it once a fleet was declared;
// "Ocultar" once the fleet is declared, until the next match begins, and "Mostrar" while it
// is hidden.
void MainDialog::updateControls()
{
    const MatchEngine& engine = session.engine();
    const GamePhase phase = engine.phase();
    const bool shown = engine.matchState().showOwnFleet;
    const ControlsSource source { connection, phase, clientRadio->isChecked(), addressFollowsMode,
        chatSendFailed, engine.wholeFleetReady(), engine.mayRepeatFleet(), shown, fleetDeclared };
    if (controlsSource == source)
        return;
    controlsSource = source;

    const bool closed = connection == ConnectionChange::Closed;
    const bool open = connection == ConnectionChange::Open;
    for (int id : { IDC_LISTEN_CONNECT, IDC_PORT, IDC_MODE_CLIENT, IDC_MODE_SERVER, IDC_MODE_GROUP,
             IDC_ADDRESS_GROUP, IDC_PORT_LABEL, IDC_ADDRESS_LABEL })
        enableControl(id, closed);
    enableControl(IDC_ADDRESS, closed && (clientRadio->isChecked() || !addressFollowsMode));
    enableControl(IDC_CLOSE_COM, !closed);
    enableControl(IDC_CHAT_EDIT, open);
    enableControl(IDC_LOG, open);
    enableControl(IDC_SEND, open && !chatSendFailed);
    for (QAction* action : { listenAction, connectAction })
        action->setEnabled(closed);
    computerMenu->setEnabled(closed);
    closeAction->setEnabled(!closed);

    const bool placing = phase == GamePhase::Placing;
    enableControl(IDC_RANDOMIZE, placing);
    enableControl(IDC_GENERATOR_GROUP, placing);
    enableControl(IDC_ACCEPT, source.wholeFleetReady);
    enableControl(IDC_REPEAT_FLEET, source.fleetRepeatable);
    enableControl(IDC_HIDE_SHOW, fleetDeclared || !shown);
    hideShowButton->setText(gameText(shown ? TextId::Hide : TextId::Show));

    // With no connection the right half tells how to start a game, in the generator's place;
    // once a game is under way it is the generator's, and the cover panel's.
    if (!closed && welcome->isAncestorOf(focusWidget()))
        passFocusOn();
    welcome->setVisible(closed);

    QWidget* const generator[]
        = { generatorGroup, acceptButton, randomizeButton, repeatFleetButton };
    const bool generatorShown = !closed && (phase == GamePhase::Idle || placing);
    const bool hadFocus = std::ranges::find(generator, focusWidget()) != std::end(generator);
    for (QWidget* widget : generator)
        widget->setVisible(generatorShown);
    if (!generatorShown && hadFocus)
        passFocusOn();
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

// Opens at once, modal to the window; the handler that asked for it goes on, and so does
// the window: its sockets keep being read while the box waits for the player.
QMessageBox* MainDialog::openBox(const QString& text, const QString& caption,
    QMessageBox::Icon icon, std::function<void()> closed)
{
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    if (closed)
        connect(box, &QMessageBox::finished, this, [closed = std::move(closed)] { closed(); });
    placeOver(box, *this);
    box->open();
    return box;
}

void MainDialog::placeBelowGrids(QWidget* box) const
{
    placeOver(box, *this);
    const int gridsEnd = std::max(ownGrid.focusFrame().bottom(), enemyGrid.focusFrame().bottom());
    box->move(box->x(), gamePage->mapToGlobal(QPoint(0, gridsEnd + 1)).y());
}
