#include "computeropponent.h"

#include "gametexts.h"

#include "match/displaytext.h"

#include <QRandomGenerator>
#include <QTime>

#include <numeric>
#include <utility>

namespace {

// A text of the game as one line: its line breaks become spaces.
QString oneLine(const Text& text)
{
    QString line = gameText(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QString oneLine(TextId id) { return oneLine(Text { id, {} }); }

} // namespace

ComputerOpponent::ComputerOpponent(const Settings& chosen, QObject* parent)
    : QObject(parent)
    , settings(chosen)
    , player(session.engine(), makeShotPlanner(chosen.level))
{
    session.engine().random().seed(
        settings.seed ? *settings.seed : QRandomGenerator::system()->generate());
    opponentClock.start();
    pace.setSingleShot(true);
    connect(&pace, &QTimer::timeout, this, &ComputerOpponent::move);
    readyWait.setSingleShot(true);
    connect(&readyWait, &QTimer::timeout, this, [this] {
        readyWaitOver = true;
        reconsiderLater();
    });
}

ComputerOpponent::~ComputerOpponent() { stopping = true; }

bool ComputerOpponent::listen(std::uint16_t port, bool loopbackOnly)
{
    session.setLoopbackOnly(loopbackOnly);
    session.listen(port);
    return session.listeningPort() != 0;
}

void ComputerOpponent::connectTo(const QString& host, std::uint16_t port)
{
    session.connectTo(host, port);
}

void ComputerOpponent::close()
{
    finish(Outcome::ConnectionEnded);
    session.close();
}

double ComputerOpponent::meanShotsPerWonMatch() const
{
    if (wonShots.empty())
        return 0;
    return std::accumulate(wonShots.begin(), wonShots.end(), 0.0)
        / static_cast<double>(wonShots.size());
}

// Our own texts are made one line by oneLine; what a peer's bytes reach is made one line
// here, with its controls escaped.
void ComputerOpponent::print(const QString& line)
{
    printOmittedLines();
    const QByteArray utf8 = line.toUtf8();
    Q_EMIT eventLine(QString::fromStdString(
        displayText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
            ControlMarks::Escapes)));
}

bool ComputerOpponent::admitOpponentsLine()
{
    const qint64 now = opponentClock.elapsed();
    if (now - opponentSecondStart >= 1000) {
        opponentSecondStart = now;
        opponentLinesThisSecond = 0;
    }
    if (opponentLinesThisSecond >= OpponentLinesPerSecond) {
        ++omittedLines;
        return false;
    }
    ++opponentLinesThisSecond;
    return true;
}

void ComputerOpponent::printOmittedLines()
{
    const qint64 omitted = std::exchange(omittedLines, 0);
    if (omitted == 1)
        Q_EMIT eventLine(tr("(1 linha do adversário omitida)"));
    else if (omitted > 1)
        Q_EMIT eventLine(tr("(%1 linhas do adversário omitidas)").arg(omitted));
}

// The engine calls these from inside its handlers; the player moves only once they have
// returned, from the event loop.
void ComputerOpponent::reconsiderLater()
{
    if (reconsidering || stopping)
        return;
    reconsidering = true;
    QMetaObject::invokeMethod(this, &ComputerOpponent::reconsider, Qt::QueuedConnection);
}

void ComputerOpponent::reconsider()
{
    reconsidering = false;
    if (stopping || !isConnected)
        return;
    const AutoPlayer::Move next = player.nextMove();
    if (next == AutoPlayer::Move::None)
        return;
    if (player.waitsForOpponent() && !readyWaitOver) {
        if (!readyWait.isActive())
            readyWait.start(settings.readyWaitMs);
        return;
    }
    if (!pace.isActive())
        pace.start(settings.delayMs);
}

void ComputerOpponent::move()
{
    if (stopping || !isConnected)
        return;
    if (player.waitsForOpponent() && !readyWaitOver)
        return;
    const AutoPlayer::Move done = player.play();
    if (done == AutoPlayer::Move::DeclareFleet) {
        fleet = session.engine().ownBoard();
        readyWait.stop();
        readyWaitOver = false;
    }
    if (done == AutoPlayer::Move::NoCellLeft) {
        failure = tr("As respostas do adversário não deixam casa onde atirar: violam as regras "
                     "do jogo. A ligação é fechada.");
        finish(Outcome::RulesBroken, true);
        return;
    }
    reconsiderLater();
}

// The first reason to stop is the one reported, once the engine's handler that brought it
// has returned (and, when asked, the connection has been closed).
void ComputerOpponent::finish(Outcome outcome, bool closeConnection)
{
    if (stopping)
        return;
    stopping = true;
    pace.stop();
    readyWait.stop();
    QMetaObject::invokeMethod(
        this,
        [this, outcome, closeConnection] {
            if (closeConnection)
                session.close();
            printOmittedLines();
            Q_EMIT finished(outcome);
        },
        Qt::QueuedConnection);
}

void ComputerOpponent::printTitle(TextId base)
{
    print(oneLine(base) + tr(" [ Eu=%1 , Adv=%2 ]").arg(myWins()).arg(peerWins()));
}

void ComputerOpponent::printLogLine(const Text& line)
{
    print(QLatin1Char('[') + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))
        + QStringLiteral("] ") + gameText(line));
}

// The engine calls these from inside its handlers; the player moves only once they have
// returned (see reconsiderLater).
void ComputerOpponent::phaseChanged(GamePhase) { reconsiderLater(); }
void ComputerOpponent::fleetChanged(const FleetChange&) { }
void ComputerOpponent::readyDeclared(Side, bool) { reconsiderLater(); }
void ComputerOpponent::shotFired(GridCell) { }
void ComputerOpponent::shotRefused(GridCell) { }
void ComputerOpponent::shotAnswered(const Shot&) { reconsiderLater(); }
void ComputerOpponent::fleetShown(bool) { }
void ComputerOpponent::sendResumed() { }

// The result is taken in at once: the match is counted, and the next one starts.
void ComputerOpponent::matchDecided(bool won, int match)
{
    print(won ? oneLine(TextId::WonCaption) + QStringLiteral(": ") + oneLine(TextId::WonText)
              : oneLine(TextId::LostCaption) + QStringLiteral(": ") + oneLine(TextId::LostText));
    const int shots = static_cast<int>(session.engine().shotResults().size());
    if (won)
        wonShots.push_back(shots);
    else
        ++lostMatches;
    QMetaObject::invokeMethod(
        this, [this, won, shots] { Q_EMIT matchFinished(won, shots); }, Qt::QueuedConnection);
    session.engine().matchResultSeen(match);
    if (settings.matches > 0 && matchesPlayed() >= settings.matches)
        finish(Outcome::MatchesPlayed, true);
}

void ComputerOpponent::scoreChanged(const Score&) { printTitle(TextId::NewMatchTitle); }

void ComputerOpponent::chatLine(Side side, const std::string& text)
{
    if (side == Side::Opponents && !admitOpponentsLine())
        return;
    printLogLine({ side == Side::Mine ? TextId::MyChat : TextId::PeerChat, text });
}

void ComputerOpponent::sendFailed(bool chat)
{
    if (!chat) {
        print(oneLine(TextId::SendFailedCaption) + QStringLiteral(": ")
            + oneLine(TextId::SendFailedText));
    }
}

// The opponent may declare as often as it likes, and in any phase: its readies are limited as
// its chat is.
void ComputerOpponent::statusChanged(const Text& status)
{
    const bool opponents
        = status.id == TextId::OpponentReady || status.id == TextId::OpponentReadyRandomized;
    if (opponents && !admitOpponentsLine()) {
        reconsiderLater();
        return;
    }
    const QString line = oneLine(status);
    if (line != lastStatus) {
        lastStatus = line;
        print(line);
    }
    reconsiderLater();
}

void ComputerOpponent::logLine(const Text& line) { printLogLine(line); }

// A failure to listen or connect is kept for whoever started it. A listening side that lost
// a connection that said nothing waits on.
void ComputerOpponent::connectionChanged(const ConnectionChange& change)
{
    switch (change.state) {
    case ConnectionChange::Listening:
        isConnected = false;
        if (change.reason == ConnectionChange::Asked)
            printTitle(TextId::ServerTitle);
        return;
    case ConnectionChange::Connecting:
        return;
    case ConnectionChange::Open:
        isConnected = true;
        if (!change.listened)
            printTitle(TextId::ClientTitle);
        reconsiderLater();
        return;
    case ConnectionChange::Closed:
        break;
    }
    const bool wasConnected = std::exchange(isConnected, false);
    if (change.reason == ConnectionChange::ListenFailed) {
        failure = failureMessage(TextId::ListenFailedText, change.failure);
    } else if (change.reason == ConnectionChange::ConnectFailed) {
        failure = failureMessage(TextId::ConnectFailedText, change.failure);
    } else {
        printTitle(TextId::ClosedTitle);
    }
    finish(wasConnected ? Outcome::ConnectionEnded : Outcome::ConnectionFailed);
}
