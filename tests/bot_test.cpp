// The computer opponent over real TCP on the loopback interface: two of them play whole
// matches through a relay that records every byte, and the quorvel-bot executable's command
// line, its failures and a short game between two of its processes.

#include "match/computeropponent.h"
#include "match/protocol.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int Timeout = 60000;

const QString serverFailure = QStringLiteral(
    "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem o protocolo "
    "TCP/IP instalado.");
const QString clientFailure
    = QStringLiteral("Impossível fazer conecção ao servidor/porto\nExpecificado.");

// Runs the event loop until the condition holds, sleeping until the next event in between.
bool waitUntil(const std::function<bool()>& done, int milliseconds = Timeout)
{
    const QDeadlineTimer deadline(milliseconds);
    QTimer wake; // lets the loop see the deadline when nothing else happens
    wake.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A port on which nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

// Stands between a connecting player and a listening one, passing every byte on at once and
// recording it, in the order the bytes pass.
class Relay : public QObject {
public:
    enum Direction { FromClient, FromServer };
    struct Passed {
        Direction from;
        std::string bytes;
    };

    explicit Relay(quint16 serverPort)
    {
        EXPECT_TRUE(listening.listen(QHostAddress::LocalHost, 0));
        connect(&listening, &QTcpServer::newConnection, this, [this, serverPort] {
            client = listening.nextPendingConnection();
            server = new QTcpSocket(this);
            connect(server, &QTcpSocket::connected, this, [this] {
                server->write(waiting);
                waiting.clear();
            });
            connect(client, &QTcpSocket::readyRead, this, [this] { pass(FromClient); });
            connect(server, &QTcpSocket::readyRead, this, [this] { pass(FromServer); });
            connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
            connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
            server->connectToHost(QHostAddress::LocalHost, serverPort);
        });
    }

    quint16 port() const { return listening.serverPort(); }
    std::vector<Passed> passed;

private:
    void pass(Direction from)
    {
        QTcpSocket* source = from == FromClient ? client : server;
        const QByteArray bytes = source->readAll();
        passed.push_back({ from, bytes.toStdString() });
        if (from == FromServer)
            client->write(bytes);
        else if (server->state() == QAbstractSocket::ConnectedState)
            server->write(bytes);
        else
            waiting += bytes;
    }

    QTcpServer listening;
    QTcpSocket* client = nullptr; // child of the server
    QTcpSocket* server = nullptr; // child of this
    QByteArray waiting; // from the client before the connection to the server was made
};

// What the recorded bytes show of the matches, checked message by message in the order they
// passed: every shot answered once, three answered shots to every turn, no cell answered twice
// for a shooter in a match, every match ended by "$WINGAME$".
struct Referee {
    struct Player {
        bool shotPending = false;
        std::pair<int, int> pendingCell;
        int shotsThisTurn = 0;
        bool handOverOwed = false; // its third shot won: "$XCHG_MACHINE$" may follow "$WINGAME$"
        std::set<std::pair<int, int>> answered;
        int wins = 0;
    };
    std::array<Player, 2> players; // indexed by Relay::Direction
    int matches = 0;
    int ignoredOpeningShots = 0;
    std::vector<int> winningShots;

    void check(const std::vector<Relay::Passed>& passed)
    {
        std::array<protocol::MessageReader, 2> readers;
        for (const Relay::Passed& chunk : passed) {
            for (const protocol::Message& message : readers[chunk.from].feed(chunk.bytes))
                act(chunk.from, message);
        }
    }

    void act(int sender, const protocol::Message& message)
    {
        using protocol::MessageKind;
        Player& self = players[static_cast<std::size_t>(sender)];
        Player& other = players[static_cast<std::size_t>(1 - sender)];
        switch (message.kind) {
        case MessageKind::Shot:
            if (other.shotPending) {
                // Both declared ready at once and both fired their opening shot: the side that
                // listened keeps the turn, and the connecting side's shot is never answered.
                Player& connecting = players[Relay::FromClient];
                EXPECT_TRUE(connecting.answered.empty());
                EXPECT_EQ(connecting.shotsThisTurn, 0);
                EXPECT_TRUE(players[Relay::FromServer].answered.empty());
                ++ignoredOpeningShots;
                connecting.shotPending = false;
                if (sender == Relay::FromClient)
                    break;
            }
            EXPECT_FALSE(self.shotPending) << "a shot before the last one was answered";
            EXPECT_LT(self.shotsThisTurn, 3);
            self.shotPending = true;
            self.pendingCell = { message.first - 'A', message.second - '0' };
            break;
        case MessageKind::Reply:
        case MessageKind::Sunk:
            EXPECT_TRUE(other.shotPending) << "a reply to no shot";
            other.shotPending = false;
            EXPECT_TRUE(other.answered.insert(other.pendingCell).second)
                << "a cell answered twice: " << other.pendingCell.first << ","
                << other.pendingCell.second;
            ++other.shotsThisTurn;
            break;
        case MessageKind::ExchangeMachine:
            if (self.handOverOwed && self.shotsThisTurn == 0) {
                self.handOverOwed = false;
                break;
            }
            EXPECT_EQ(self.shotsThisTurn, 3);
            self.shotsThisTurn = 0;
            break;
        case MessageKind::WinGame:
            ++matches;
            ++other.wins;
            EXPECT_FALSE(other.shotPending);
            EXPECT_GE(other.answered.size(), 25u);
            winningShots.push_back(static_cast<int>(other.answered.size()));
            for (Player& player : players) {
                player.handOverOwed = player.shotsThisTurn == 3;
                player.shotPending = false;
                player.shotsThisTurn = 0;
                player.answered.clear();
            }
            break;
        case MessageKind::Ready:
            break;
        case MessageKind::Chat:
            ADD_FAILURE() << "a chat line: " << message.text;
            break;
        }
    }
};

ComputerOpponent::Settings settings(PlannerLevel level, int matches, std::uint32_t seed)
{
    ComputerOpponent::Settings chosen;
    chosen.level = level;
    chosen.delayMs = 0;
    chosen.matches = matches;
    chosen.seed = seed;
    return chosen;
}

// Two computer opponents play 20 matches over TCP through the relay. Both stop after the
// twentieth, their scores agree with each other and with the "$WINGAME$" messages, and the
// wire shows whole turns and no cell answered twice.
TEST(ComputerOpponent, TwoPlayTwentyMatchesOverTcp)
{
    constexpr int Matches = 20;
    ComputerOpponent server(settings(PlannerLevel::Normal, Matches, 1));
    ComputerOpponent client(settings(PlannerLevel::Normal, Matches, 2));
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    QSignalSpy serverMatches(&server, &ComputerOpponent::matchFinished);
    ASSERT_TRUE(server.listen(0));
    Relay relay(server.listeningPort());
    client.connectTo(QStringLiteral("127.0.0.1"), relay.port());

    ASSERT_TRUE(waitUntil([&] { return serverDone.size() == 1 && clientDone.size() == 1; }));
    EXPECT_EQ(serverDone.front().front().value<ComputerOpponent::Outcome>(),
        ComputerOpponent::Outcome::MatchesPlayed);
    EXPECT_EQ(clientDone.front().front().value<ComputerOpponent::Outcome>(),
        ComputerOpponent::Outcome::MatchesPlayed);
    EXPECT_EQ(server.matchesPlayed(), Matches);
    EXPECT_EQ(client.matchesPlayed(), Matches);
    EXPECT_EQ(server.myWins(), client.peerWins());
    EXPECT_EQ(server.peerWins(), client.myWins());
    EXPECT_EQ(server.myWins() + server.peerWins(), Matches);
    EXPECT_EQ(serverMatches.size(), Matches);

    Referee referee;
    referee.check(relay.passed);
    EXPECT_EQ(referee.matches, Matches);
    EXPECT_EQ(referee.players[Relay::FromServer].wins, server.myWins());
    EXPECT_EQ(referee.players[Relay::FromClient].wins, client.myWins());
    // The shots each counted in its won matches are the answered shots on the wire.
    std::vector<int> counted = server.shotsOfWonMatches();
    counted.insert(
        counted.end(), client.shotsOfWonMatches().begin(), client.shotsOfWonMatches().end());
    std::sort(counted.begin(), counted.end());
    std::sort(referee.winningShots.begin(), referee.winningShots.end());
    EXPECT_EQ(counted, referee.winningShots);
}

// The hard level at its full budget, against the normal one, for a match.
TEST(ComputerOpponent, HardLevelPlaysAMatchOverTcp)
{
    ComputerOpponent server(settings(PlannerLevel::Hard, 1, 3));
    ComputerOpponent client(settings(PlannerLevel::Normal, 1, 4));
    QSignalSpy serverMatches(&server, &ComputerOpponent::matchFinished);
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    std::vector<QString> lines;
    QObject::connect(&server, &ComputerOpponent::eventLine,
        [&lines](const QString& line) { lines.push_back(line); });
    ASSERT_TRUE(server.listen(0));
    client.connectTo(QStringLiteral("127.0.0.1"), server.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return serverDone.size() == 1 && clientDone.size() == 1; }));
    ASSERT_EQ(serverMatches.size(), 1);
    const bool won = serverMatches.front().at(0).toBool();
    const int shots = serverMatches.front().at(1).toInt();
    EXPECT_GE(shots, won ? 25 : 1);
    EXPECT_EQ(server.myWins(), won ? 1 : 0);
    // The events as the window shows them: status texts, log entries, the title, the box.
    auto shown = [&lines](const QString& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(shown(QStringLiteral("Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ]")));
    EXPECT_TRUE(shown(QStringLiteral("Criar tabuleiro.")));
    EXPECT_TRUE(
        shown(won ? QStringLiteral("BUM! he he he...: Ganhou o jogo. Carrege em OK para novo.")
                  : QStringLiteral("Melhor sorte para a próxima...: O outro jogador ganhou. "
                                   "Carrege em OK para novo jogo.")));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.size() > 11 && line.startsWith(QLatin1Char('['))
            && line.mid(9).startsWith(QStringLiteral("] <CPU> "));
    }));
}

// A port in use and a refused connection end the opponent with the game's own texts.
TEST(ComputerOpponent, FailuresToListenOrConnect)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    ComputerOpponent server(settings(PlannerLevel::Easy, 0, 1));
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    EXPECT_FALSE(server.listen(holder.serverPort()));
    EXPECT_EQ(server.failureText(), serverFailure);
    ASSERT_TRUE(waitUntil([&] { return serverDone.size() == 1; }));
    EXPECT_EQ(serverDone.front().front().value<ComputerOpponent::Outcome>(),
        ComputerOpponent::Outcome::ConnectionFailed);

    ComputerOpponent client(settings(PlannerLevel::Easy, 0, 1));
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    client.connectTo(QStringLiteral("127.0.0.1"), closedPort());
    ASSERT_TRUE(waitUntil([&] { return clientDone.size() == 1; }));
    EXPECT_EQ(clientDone.front().front().value<ComputerOpponent::Outcome>(),
        ComputerOpponent::Outcome::ConnectionFailed);
    EXPECT_EQ(client.failureText(), clientFailure);
}

// When one side closes, both stop: the one that closed and the one that saw it close.
TEST(ComputerOpponent, ClosingEndsBothSides)
{
    ComputerOpponent server(settings(PlannerLevel::Normal, 0, 5));
    ComputerOpponent client(settings(PlannerLevel::Normal, 0, 6));
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    QSignalSpy clientMatches(&client, &ComputerOpponent::matchFinished);
    ASSERT_TRUE(server.listen(0));
    client.connectTo(QStringLiteral("127.0.0.1"), server.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return clientMatches.size() == 2; }));
    client.close();
    ASSERT_TRUE(waitUntil([&] { return serverDone.size() == 1 && clientDone.size() == 1; }));
    for (QSignalSpy* done : { &serverDone, &clientDone }) {
        EXPECT_EQ(done->front().front().value<ComputerOpponent::Outcome>(),
            ComputerOpponent::Outcome::ConnectionEnded);
    }
    EXPECT_FALSE(server.connected());
    EXPECT_GE(server.matchesPlayed(), 2);
}

struct BotRun {
    int exitCode = -1;
    QString out;
    QString err;
};

BotRun runBot(const QStringList& arguments)
{
    QProcess bot;
    bot.start(QStringLiteral(QUORVEL_BOT), arguments);
    BotRun run;
    if (!bot.waitForFinished(Timeout))
        return run;
    run.exitCode = bot.exitStatus() == QProcess::NormalExit ? bot.exitCode() : -1;
    run.out = QString::fromUtf8(bot.readAllStandardOutput());
    run.err = QString::fromUtf8(bot.readAllStandardError());
    return run;
}

// Every argument the program cannot use is refused with a message and exit code 2, before
// anything is opened.
TEST(BotProgram, BadArgumentsExitWithTwo)
{
    const QStringList cases[] = {
        { QStringLiteral("--level"), QStringLiteral("expert") },
        { QStringLiteral("--listen"), QStringLiteral("70000") },
        { QStringLiteral("--listen"), QStringLiteral("-1") },
        { QStringLiteral("--listen"), QStringLiteral("4000"), QStringLiteral("--connect"),
            QStringLiteral("127.0.0.1") },
        { QStringLiteral("--port"), QStringLiteral("4000") },
        { QStringLiteral("--connect"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
            QStringLiteral("0") },
        { QStringLiteral("--connect"), QStringLiteral(" ") },
        { QStringLiteral("--matches"), QStringLiteral("-1") },
        { QStringLiteral("--matches"), QStringLiteral("many") },
        { QStringLiteral("--delay"), QStringLiteral("0.5") },
        { QStringLiteral("--seed"), QStringLiteral("4294967296") },
        { QStringLiteral("--level") },
        { QStringLiteral("--colour"), QStringLiteral("blue") },
        { QStringLiteral("extra") },
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const BotRun run = runBot(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("quorvel-bot: "))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    const BotRun help = runBot({ QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : { "--listen", "--connect", "--port", "--level", "--matches",
             "--delay", "--seed", "--quiet" })
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
}

// A port in use and a refused connection: the game's own failure texts, and exit code 1.
TEST(BotProgram, FailuresExitWithOne)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const BotRun busy = runBot({ QStringLiteral("--listen"), QString::number(holder.serverPort()),
        QStringLiteral("--quiet") });
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_TRUE(busy.err.contains(serverFailure)) << busy.err.toStdString();

    const BotRun refused = runBot({ QStringLiteral("--connect"), QStringLiteral("127.0.0.1"),
        QStringLiteral("--port"), QString::number(closedPort()) });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(clientFailure)) << refused.err.toStdString();
}

// Two processes play two matches: both exit 0 with summaries that agree, the quiet one
// printing nothing else.
TEST(BotProgram, TwoProcessesPlayAndSummarise)
{
    QProcess server;
    server.start(QStringLiteral(QUORVEL_BOT),
        { QStringLiteral("--listen"), QStringLiteral("0"), QStringLiteral("--delay"),
            QStringLiteral("0"), QStringLiteral("--matches"), QStringLiteral("2"),
            QStringLiteral("--level"), QStringLiteral("normal"), QStringLiteral("--seed"),
            QStringLiteral("8") });
    QString serverOut;
    quint16 port = 0;
    ASSERT_TRUE(waitUntil([&] {
        server.waitForReadyRead(20);
        serverOut += QString::fromUtf8(server.readAllStandardOutput());
        const qsizetype at = serverOut.indexOf(QStringLiteral("listening on port "));
        if (at < 0 || serverOut.indexOf(QLatin1Char('\n'), at) < 0)
            return false;
        const QString rest = serverOut.mid(at + 18);
        port = static_cast<quint16>(rest.left(rest.indexOf(QLatin1Char('\n'))).toUInt());
        return true;
    }));
    ASSERT_NE(port, 0);
    const BotRun client = runBot({ QStringLiteral("--connect"), QStringLiteral("127.0.0.1"),
        QStringLiteral("--port"), QString::number(port), QStringLiteral("--delay"),
        QStringLiteral("0"), QStringLiteral("--matches"), QStringLiteral("2"),
        QStringLiteral("--level"), QStringLiteral("easy"), QStringLiteral("--quiet") });
    ASSERT_TRUE(server.waitForFinished(Timeout));
    serverOut += QString::fromUtf8(server.readAllStandardOutput());
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_EQ(client.exitCode, 0);
    EXPECT_TRUE(client.err.isEmpty()) << client.err.toStdString();

    const QStringList clientLines = client.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(clientLines.size(), 1) << client.out.toStdString();
    const QString summary = QStringLiteral("matches played: 2  [ Eu=%1 , Adv=%2 ]");
    const qsizetype at = clientLines.front().indexOf(QStringLiteral("Eu="));
    ASSERT_GE(at, 0);
    const int clientWins = clientLines.front().mid(at + 3, 1).toInt();
    EXPECT_TRUE(clientLines.front().startsWith(summary.arg(clientWins).arg(2 - clientWins)));
    EXPECT_TRUE(serverOut.contains(summary.arg(2 - clientWins).arg(clientWins)))
        << serverOut.toStdString();
    EXPECT_TRUE(serverOut.contains(QStringLiteral("Criar tabuleiro.")));
}

} // namespace
