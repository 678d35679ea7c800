#include "computeropponent.h"

#include "gametexts.h"

#include "match/displaytext.h"

#include <QRandomGenerator>
#include <QTime>

#include <numeric>
#include <utility>

namespace {

// A text of the game as one line: its line breaks become spaces.
QString oneLine(std::string_view text)
{
    QString line = gameText(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

// The engine logs the opponent's chat lines with this before their text.
constexpr std::string_view PeerChat = "<ADV> ";

} // namespace

ComputerOpponent::ComputerOpponent(const Settings& chosen, QObject* parent)
    : QObject(parent)
    , settings(chosen)
    , player(session.engine(), makeShotPlanner(chosen.level))
{
    session.engine().random().seed(
        settings.seed ? *settings.seed : QRandomGenerator::system()->generate());
    chatClock.start();
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
    controls = { 0, port, "127.0.0.1", true };
    session.setLoopbackOnly(loopbackOnly);
    session.onListenConnect();
    return session.listeningPort() != 0;
}

void ComputerOpponent::connectTo(const QString& host, std::uint16_t port)
{
    controls = { 1, port, host.toStdString(), true };
    session.onListenConnect();
}

void ComputerOpponent::close()
{
    finish(Outcome::ConnectionEnded);
    session.onCloseConnection();
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
    printOmittedChat();
    const QByteArray utf8 = line.toUtf8();
    Q_EMIT eventLine(QString::fromStdString(
        displayText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
            ControlMarks::Escapes)));
}

bool ComputerOpponent::admitChatLine()
{
    const qint64 now = chatClock.elapsed();
    if (now - chatSecondStart >= 1000) {
        chatSecondStart = now;
        chatLinesThisSecond = 0;
    }
    if (chatLinesThisSecond >= ChatLinesPerSecond) {
        ++omittedChatLines;
        return false;
    }
    ++chatLinesThisSecond;
    return true;
}

void ComputerOpponent::printOmittedChat()
{
    const qint64 omitted = std::exchange(omittedChatLines, 0);
    if (omitted == 1)
        Q_EMIT eventLine(tr("(1 linha de conversa omitida)"));
    else if (omitted > 1)
        Q_EMIT eventLine(tr("(%1 linhas de conversa omitidas)").arg(omitted));
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
                session.onCloseConnection();
            printOmittedChat();
            Q_EMIT finished(outcome);
        },
        Qt::QueuedConnection);
}

void ComputerOpponent::setStatusText(std::string_view text)
{
    const QString line = oneLine(text);
    if (line != lastStatus) {
        lastStatus = line;
        print(line);
    }
    reconsiderLater();
}

ControlValues ComputerOpponent::saveControls() { return controls; }

// The score in the title tells how a match ended: it rises by one for the winner.
void ComputerOpponent::updateTitle(std::string_view baseTitle, int myWins, int peerWins)
{
    print(oneLine(baseTitle) + tr(" [ Eu=%1 , Adv=%2 ]").arg(myWins).arg(peerWins));
    const bool won = myWins == knownMyWins + 1 && peerWins == knownPeerWins;
    const bool lost = peerWins == knownPeerWins + 1 && myWins == knownMyWins;
    knownMyWins = myWins;
    knownPeerWins = peerWins;
    if (!won && !lost)
        return;
    const int shots = static_cast<int>(session.engine().shotResults().size());
    if (won)
        wonShots.push_back(shots);
    else
        ++lostMatches;
    QMetaObject::invokeMethod(
        this, [this, won, shots] { Q_EMIT matchFinished(won, shots); }, Qt::QueuedConnection);
    // The engine goes on to start the next match, which is left unplayed.
    if (settings.matches > 0 && matchesPlayed() >= settings.matches)
        finish(Outcome::MatchesPlayed, true);
}

// The status line that follows tells the port.
void ComputerOpponent::showListeningPort(int) { }

// The connection controls come back when the connection has ended, or never came about.
void ComputerOpponent::enableConnectionControls(bool enable)
{
    if (!enable)
        return;
    const bool wasConnected = isConnected;
    isConnected = false;
    finish(wasConnected ? Outcome::ConnectionEnded : Outcome::ConnectionFailed);
}

// The chat controls are enabled while a connection is open. They go without the connection
// controls when a listening side lost a connection that said nothing: it waits on.
void ComputerOpponent::enableChatControls(bool enable)
{
    isConnected = enable;
    if (enable)
        reconsiderLater();
}

void ComputerOpponent::disableGeneratorControls() { }
void ComputerOpponent::enableControl(int, bool) { }
void ComputerOpponent::setButtonCaption(int, std::string_view) { }

void ComputerOpponent::addLogLine(std::string_view line)
{
    if (line.starts_with(PeerChat) && !admitChatLine())
        return;
    print(QLatin1Char('[') + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))
        + QStringLiteral("] ") + gameText(line));
}

void ComputerOpponent::drawBoard(const Board&) { }
void ComputerOpponent::eraseCursor(const Board&) { }
void ComputerOpponent::drawCursor(const Board&) { }
void ComputerOpponent::repaint() { reconsiderLater(); }
void ComputerOpponent::flashHit(const Board&) { }
void ComputerOpponent::fadeOut(const Board&) { }
void ComputerOpponent::fadeIn(const Board&) { }
void ComputerOpponent::showGenerator(bool) { }

// Answered at once. A failure to listen or connect is kept for whoever started it.
void ComputerOpponent::messageBox(
    std::string_view text, std::string_view caption, BoxIcon icon, BoxClosed closed)
{
    if (icon == BoxIcon::Error)
        failure = gameText(text);
    else
        print(oneLine(caption) + QStringLiteral(": ") + oneLine(text));
    if (closed)
        closed();
}

void ComputerOpponent::beep(BeepKind) { }
