// The computer opponent over real TCP on the loopback: two of them play whole matches through
// a referee that passes every byte on and checks it; quorvel-bot against a copy of the game
// without our mends; the quorvel-bot command line and failures.

#include "freeport.h"
#include "strictpeer.h"
#include "waituntil.h"

#include "match/protocol.h"
#include "net/computeropponent.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int Timeout = 60000;
enum Side { Client, Server };

// Stands between a connecting bot and a listening one, passing every byte on at once and
// reading the messages in the order they pass: every shot answered once, three answered
// shots to a turn, no cell answered twice to a shooter in a match, "$WINGAME$" ending each.
class Referee : public QObject {
public:
    struct Player {
        int pending = -1; // the cell of its unanswered shot
        int turnShots = 0;
        bool handOverOwed = false; // its third shot won: "$XCHG_MACHINE$" may follow "$WINGAME$"
        std::set<int> answered;
        std::vector<int> wonShots; // the answered shots of each match it won
    };
    std::array<Player, 2> players;
    QTcpServer listening;

    explicit Referee(quint16 serverPort)
    {
        EXPECT_TRUE(listening.listen(QHostAddress::LocalHost, 0));
        connect(&listening, &QTcpServer::newConnection, this, [this, serverPort] {
            // Bytes written before the connection to the server is made wait in its buffer.
            std::array sockets { listening.nextPendingConnection(), new QTcpSocket(this) };
            sockets[Server]->connectToHost(QHostAddress::LocalHost, serverPort);
            for (Side from : { Client, Server }) {
                QTcpSocket* source = sockets[from];
                QTcpSocket* sink = sockets[1 - from];
                connect(source, &QTcpSocket::readyRead, this, [this, from, source, sink] {
                    const QByteArray bytes = source->readAll();
                    sink->write(bytes);
                    for (const protocol::Message& message : readers[from].feed(bytes.toStdString()))
                        act(from, message);
                });
                connect(source, &QTcpSocket::disconnected, sink, &QTcpSocket::disconnectFromHost);
            }
        });
    }

private:
    void act(Side from, const protocol::Message& message)
    {
        using protocol::MessageKind;
        Player& self = players[from];
        Player& other = players[1 - from];
        if (message.kind == MessageKind::Shot) {
            // Both declared at once and fired an opening shot before seeing the other's: each
            // answers the other's, and the listening side keeps the turn.
            if (other.pending >= 0) {
                EXPECT_TRUE(self.answered.empty() && other.answered.empty());
                crossedShots = true;
            }
            EXPECT_LT(self.pending, 0) << "a shot before the last one was answered";
            EXPECT_LT(self.turnShots, 3);
            self.pending = (message.first - 'A') * 10 + message.second - '0';
        } else if (message.kind == MessageKind::Reply || message.kind == MessageKind::Sunk) {
            ASSERT_GE(other.pending, 0) << "a reply to no shot";
            if (crossedShots && from == Server) {
                players[Client].pending = -1; // the connecting side's shot does not count
                crossedShots = false;
                return;
            }
            EXPECT_TRUE(other.answered.insert(std::exchange(other.pending, -1)).second)
                << "a cell answered twice";
            ++other.turnShots;
        } else if (message.kind == MessageKind::ExchangeMachine) {
            const bool late = std::exchange(self.handOverOwed, false) && self.turnShots == 0;
            EXPECT_EQ(late ? 3 : std::exchange(self.turnShots, 0), 3) << "a turn of too few shots";
        } else if (message.kind == MessageKind::WinGame) {
            EXPECT_LT(other.pending, 0);
            EXPECT_GE(other.answered.size(), 25u);
            other.wonShots.push_back(static_cast<int>(other.answered.size()));
            for (Player& player : players)
                player = { -1, 0, player.turnShots == 3, {}, std::move(player.wonShots) };
            crossedShots = false;
        } else {
            EXPECT_TRUE(message.kind == MessageKind::Ready && message.randomized) << message.text;
        }
    }

    std::array<protocol::MessageReader, 2> readers;
    bool crossedShots = false;
};

// A server that plays until the connection ends, and a client at --delay 0 that ends it
// after its matches: the scores and the shots each counted agree with the wire.
TEST(ComputerOpponent, TwoPlayWholeMatchesOverTcp)
{
    constexpr int Matches = 20;
    ComputerOpponent server({ PlannerLevel::Normal, 0, 0, 1, 0 }); // declares at once
    ComputerOpponent client({ PlannerLevel::Normal, 0, Matches, 2 });
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    QString out;
    QObject::connect(&server, &ComputerOpponent::eventLine,
        [&out](const QString& line) { out += line + QLatin1Char('\n'); });
    ASSERT_TRUE(server.listen(0));
    Referee referee(server.listeningPort());
    client.connectTo(QStringLiteral("127.0.0.1"), referee.listening.serverPort());
    for (QSignalSpy* done : { &clientDone, &serverDone })
        ASSERT_TRUE(!done->isEmpty() || done->wait(Timeout));
    using Outcome = ComputerOpponent::Outcome;
    EXPECT_EQ(clientDone.front().front().value<Outcome>(), Outcome::MatchesPlayed);
    EXPECT_EQ(serverDone.front().front().value<Outcome>(), Outcome::ConnectionEnded);
    EXPECT_EQ(server.shotsOfWonMatches(), referee.players[Server].wonShots);
    EXPECT_EQ(client.shotsOfWonMatches(), referee.players[Client].wonShots);
    EXPECT_EQ(
        std::pair(server.matchesPlayed(), client.matchesPlayed()), std::pair(Matches, Matches));
    EXPECT_EQ(std::pair(server.myWins(), server.peerWins()),
        std::pair(client.peerWins(), client.myWins()));
    // The events are printed as the window shows them: a box as its caption and text, and a
    // title with the score, its own wins first, as the wire saw them.
    EXPECT_EQ(
        out.count(QStringLiteral("\nBUM! he he he...: Ganhou o jogo. Carrege em OK para novo.\n")),
        server.myWins());
    EXPECT_TRUE(out.contains(QStringLiteral("\nTCP/IP - Quorvel Naval [ Eu=%1 , Adv=%2 ]\n")
                                 .arg(referee.players[Server].wonShots.size())
                                 .arg(referee.players[Client].wonShots.size())))
        << out.right(300).toStdString();
}

// The strict copy over TCP, on the real clock: one read of at most 1024 bytes each time the
// socket reports data, and another right after while bytes are left, as a socket that keeps
// reporting until it is drained.
class StrictOverTcp : public QObject, public PeerLink {
public:
    explicit StrictOverTcp(const StrictPeer::Settings& settings)
        : peer(*this, settings)
    {
        clock.start();
        ticker.setInterval(5);
        connect(&ticker, &QTimer::timeout, this, [this] {
            peer.act(now());
            // A box open when the connection ends is still answered, and its match counted.
            if (disconnected && !peer.boxOpen()) {
                closed = true;
                ticker.stop();
            }
        });
    }
    quint16 listen()
    {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this,
            [this] { attach(server.nextPendingConnection()); });
        return server.serverPort();
    }
    void connectTo(quint16 port)
    {
        auto* created = new QTcpSocket(this);
        connect(created, &QTcpSocket::connected, this, [this, created] { attach(created); });
        created->connectToHost(QHostAddress::LocalHost, port);
    }
    long sendToPeer(std::string_view bytes) override
    {
        if (socket == nullptr)
            return -1;
        const qint64 written = socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
        socket->flush(); // each message in a send of its own
        return static_cast<long>(written);
    }
    int now() const { return static_cast<int>(clock.elapsed()); }

    StrictPeer peer;
    bool closed = false; // the connection ended and the last box was closed

private:
    void attach(QTcpSocket* connected)
    {
        socket = connected;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &StrictOverTcp::readOnce);
        connect(socket, &QTcpSocket::disconnected, this, [this] { disconnected = true; });
        peer.connected(now());
        ticker.start();
    }
    void readOnce()
    {
        const QByteArray bytes = socket->read(protocol::ReadSize);
        if (!bytes.isEmpty())
            peer.read(bytes.toStdString(), now());
        if (socket->bytesAvailable() > 0)
            QTimer::singleShot(0, this, &StrictOverTcp::readOnce);
    }

    QTcpServer server;
    QTcpSocket* socket = nullptr;
    bool disconnected = false;
    QElapsedTimer clock;
    QTimer ticker;
};

// quorvel-bot plays twenty matches in each role against the strict copy, whose end-of-match
// boxes stay open for 0, 0.5 or 3 s and which chats right before its readies: the six games
// run side by side. None stalls, no loss is counted twice, and the scores agree.
TEST(StrictPeerOverTcp, TheBotPlaysTwentyMatchesInEachRole)
{
    constexpr int Matches = 20;
    struct Game {
        std::unique_ptr<StrictOverTcp> strict;
        std::unique_ptr<QProcess> bot;
        std::unique_ptr<QByteArray> output = std::make_unique<QByteArray>();
    };
    std::vector<Game> games;
    int seed = 1;
    for (int boxMs : { 0, 500, 3000 }) {
        for (bool strictListens : { true, false }) {
            StrictPeer::Settings settings;
            settings.boxMs = boxMs;
            // The chat line a quarter of a second before the ready, as a quick player sends
            // it: two reads, as long as the reader is not held up.
            settings.chatBeforeReady = true;
            settings.thinkMs = 400;
            settings.chatLeadMs = 250;
            settings.seed = static_cast<unsigned>(++seed);
            Game game { std::make_unique<StrictOverTcp>(settings), std::make_unique<QProcess>() };
            QProcess* bot = game.bot.get();
            QByteArray* output = game.output.get();
            QObject::connect(bot, &QProcess::readyReadStandardOutput,
                [bot, output] { *output += bot->readAllStandardOutput(); });
            QStringList arguments { QStringLiteral("--level"), QStringLiteral("normal"),
                QStringLiteral("--delay"), QStringLiteral("0"), QStringLiteral("--matches"),
                QString::number(Matches), QStringLiteral("--seed"), QString::number(seed) };
            if (strictListens) {
                arguments << QStringLiteral("--connect") << QStringLiteral("127.0.0.1")
                          << QStringLiteral("--port") << QString::number(game.strict->listen());
                game.bot->start(QStringLiteral(QUORVEL_BOT), arguments);
            } else {
                game.bot->start(QStringLiteral(QUORVEL_BOT),
                    arguments << QStringLiteral("--listen") << QStringLiteral("0"));
                const QByteArray tell = "a escutar no porto ";
                ASSERT_TRUE(waitUntil([&] {
                    const qsizetype at = output->indexOf(tell);
                    return at >= 0 && output->indexOf('\n', at) > at;
                }));
                const qsizetype at = output->indexOf(tell) + tell.size();
                const QByteArray port = output->mid(at, output->indexOf('\n', at) - at);
                game.strict->connectTo(port.toUShort());
            }
            games.push_back(std::move(game));
        }
    }
    // A stall shows as a quarter of a minute with no match ended in any of the games.
    QTimer wake; // lets the loop look at the clock when nothing else happens
    wake.start(100);
    QElapsedTimer sinceLastMatch;
    sinceLastMatch.start();
    int ended = 0;
    while (!std::ranges::all_of(games, [](const Game& game) { return game.strict->closed; })) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        int nowEnded = 0;
        for (const Game& game : games)
            nowEnded += game.strict->peer.myWins + game.strict->peer.peerWins;
        if (nowEnded != std::exchange(ended, nowEnded))
            sinceLastMatch.restart();
        ASSERT_LT(sinceLastMatch.elapsed(), 15000) << "stalled after " << ended << " matches";
    }
    for (const Game& game : games) {
        ASSERT_TRUE(
            game.bot->state() == QProcess::NotRunning || game.bot->waitForFinished(Timeout));
        const StrictPeer& strict = game.strict->peer;
        *game.output += game.bot->readAllStandardOutput();
        const QString summary
            = QString::fromUtf8(game.output->mid(game.output->lastIndexOf("partidas jogadas")));
        SCOPED_TRACE(summary.toStdString());
        EXPECT_EQ(game.bot->exitCode(), 0) << "stalled or failed";
        EXPECT_EQ(strict.myWins + strict.peerWins, Matches);
        EXPECT_EQ(strict.winBoxes + strict.lossBoxes, Matches) << "a match ended twice";
        EXPECT_TRUE(summary.contains(QStringLiteral("partidas jogadas: %1  [ Eu=%2 , Adv=%3 ]")
                                         .arg(Matches)
                                         .arg(strict.peerWins)
                                         .arg(strict.myWins)));
    }
}

// An opponent that repeats itself and then answers every shot as a miss, so that no cell is
// left to fire at: the repeated line is printed once with its count, and quorvel-bot says
// why it stops, closes the connection and exits 1 instead of trying again for ever.
TEST(BotProgram, LeavesAnOpponentThatBreaksTheRules)
{
    QProcess bot;
    QByteArray output;
    QObject::connect(
        &bot, &QProcess::readyReadStandardOutput, [&] { output += bot.readAllStandardOutput(); });
    bot.start(QStringLiteral(QUORVEL_BOT),
        { QStringLiteral("--listen"), QStringLiteral("0"), QStringLiteral("--delay"),
            QStringLiteral("0"), QStringLiteral("--level"), QStringLiteral("normal") });
    const QByteArray tell = "a escutar no porto ";
    ASSERT_TRUE(waitUntil([&] { return output.contains(tell) && output.endsWith('\n'); }));
    const qsizetype at = output.indexOf(tell) + tell.size();
    QTcpSocket peer;
    peer.connectToHost(
        QHostAddress::LocalHost, output.mid(at, output.indexOf('\n', at) - at).toUShort());
    ASSERT_TRUE(waitUntil([&] { return peer.state() == QAbstractSocket::ConnectedState; }));
    peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);

    protocol::MessageReader reader;
    bool botReady = false;
    QObject::connect(&peer, &QTcpSocket::readyRead, [&] {
        for (const protocol::Message& message : reader.feed(peer.readAll().toStdString())) {
            if (message.kind == protocol::MessageKind::Ready)
                botReady = true;
            else if (message.kind == protocol::MessageKind::Shot)
                peer.write("TREQ:*");
            else if (message.kind == protocol::MessageKind::ExchangeMachine)
                peer.write("$XCHG_MACHINE$"); // and hands the turn straight back
        }
    });
    // Twenty chat lines, each in a read of its own, within a second or two; then the ready.
    for (int line = 0; line < 20; ++line) {
        peer.write("USER_MSG:eco");
        QTest::qWait(20);
    }
    ASSERT_TRUE(waitUntil([&] { return botReady; }));
    QTest::qWait(10);
    peer.write("$READY$"); // the bot declared first: it fires first
    ASSERT_TRUE(waitUntil([&] { return bot.state() == QProcess::NotRunning; }));
    output += bot.readAllStandardOutput();
    EXPECT_EQ(bot.exitCode(), 1);
    EXPECT_TRUE(bot.readAllStandardError().contains("violam as regras do jogo"));
    EXPECT_LE(output.count("<ADV> eco\n"), 3) << output.toStdString();
    EXPECT_TRUE(output.contains("vezes seguidas)")) << output.toStdString();
    ASSERT_TRUE(waitUntil([&] { return peer.state() == QAbstractSocket::UnconnectedState; }));
}

// Arguments it cannot use are refused with a message and exit code 2, before anything is
// opened, in the language asked for (the help too); a port in use and a refused connection end it
// with the game's own texts and exit 1.
TEST(BotProgram, RefusesBadArgumentsAndReportsFailures)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const std::string busy = std::to_string(holder.serverPort());
    const quint16 closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    const std::string refused = std::to_string(closedPort);
    const char* const no = "quorvel-bot: ";
    const char* const none
        = "partidas jogadas: 0  [ Eu=0 , Adv=0 ]  média de tiros por partida ganha: 0.0\n";
    const std::tuple<std::vector<const char*>, int, const char*, const char*> cases[]
        = { { { "--level", "expert" }, 2,
                "quorvel-bot: --level tem de ser easy, normal ou hard, não 'expert'\n"
                "Experimente 'quorvel-bot --help'.\n",
                "" },
              { { "--language", "en", "--delay", "0.5" }, 2,
                  "quorvel-bot: --delay must be a number of milliseconds from 0 to 3600000, not "
                  "'0.5'\nTry 'quorvel-bot --help'.\n",
                  "" },
              { { "--level" }, 2, no, "" }, { { "--listen", "70000" }, 2, no, "" },
              { { "--listen", "-1" }, 2, no, "" },
              { { "--listen", "4000", "--connect", "127.0.0.1" }, 2, no, "" },
              { { "--port", "4000" }, 2, no, "" },
              { { "--connect", "127.0.0.1", "--port", "0" }, 2, no, "" },
              { { "--connect", " " }, 2, no, "" }, { { "--matches", "-1" }, 2, no, "" },
              { { "--matches", "many" }, 2, no, "" }, { { "--delay", "0.5" }, 2, no, "" },
              { { "--seed", "4294967296" }, 2, no, "" }, { { "--colour", "blue" }, 2, no, "" },
              { { "--ready-wait", "-1" }, 2, no, "" }, { { "--ready-wait", "soon" }, 2, no, "" },
              { { "--language", "fr" }, 2, no, "" }, { { "extra" }, 2, no, "" },
              { { "--help" }, 0, "", "Escrever só o resumo e os erros.\n" },
              { { "--help-all", "--language=en" }, 0, "", "Print only the summary and errors.\n" },
              { { "--listen", busy.c_str(), "--quiet" }, 1,
                  "Impossível criar o socket\nPode estar o porto já estar definido\nou não tem o "
                  "protocolo TCP/IP instalado.\n",
                  none },
              { { "--connect", "127.0.0.1", "--port", refused.c_str() }, 1,
                  "Impossível fazer conecção ao servidor/porto\nExpecificado.\n", none } };
    for (const auto& [words, exitCode, error, output] : cases) {
        QStringList arguments;
        for (const char* word : words)
            arguments << QString::fromUtf8(word);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        QProcess bot;
        bot.start(QStringLiteral(QUORVEL_BOT), arguments);
        ASSERT_TRUE(bot.waitForFinished(Timeout));
        EXPECT_EQ(bot.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(bot.exitCode(), exitCode);
        const QByteArray out = bot.readAllStandardOutput();
        const QByteArray err = bot.readAllStandardError();
        EXPECT_TRUE(err.contains(error)) << err.toStdString();
        EXPECT_TRUE(*output ? out.contains(output) : out.isEmpty()) << out.toStdString();
    }
}

} // namespace
