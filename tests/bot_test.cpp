// The computer opponent over real TCP on the loopback: two of them play whole matches through
// a referee that passes every byte on and checks it; the quorvel-bot command line and failures.

#include "match/protocol.h"
#include "net/computeropponent.h"

#include <QHostAddress>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <array>
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
    // The events are printed as the window shows them: a box as its caption and text.
    EXPECT_EQ(
        out.count(QStringLiteral("\nBUM! he he he...: Ganhou o jogo. Carrege em OK para novo.\n")),
        server.myWins());
}

// Arguments it cannot use are refused with a message and exit code 2, before anything is
// opened; a port in use and a refused connection end it with the game's own texts and exit 1.
TEST(BotProgram, RefusesBadArgumentsAndReportsFailures)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const std::string busy = std::to_string(holder.serverPort());
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const std::string refused = std::to_string(closed.serverPort());
    closed.close();
    const char* const no = "quorvel-bot: ";
    const char* const none = "matches played: 0  [ Eu=0 , Adv=0 ]  mean shots per won match: 0.0\n";
    const std::tuple<std::vector<const char*>, int, const char*, const char*> cases[]
        = { { { "--level", "expert" }, 2, no, "" }, { { "--level" }, 2, no, "" },
              { { "--listen", "70000" }, 2, no, "" }, { { "--listen", "-1" }, 2, no, "" },
              { { "--listen", "4000", "--connect", "127.0.0.1" }, 2, no, "" },
              { { "--port", "4000" }, 2, no, "" },
              { { "--connect", "127.0.0.1", "--port", "0" }, 2, no, "" },
              { { "--connect", " " }, 2, no, "" }, { { "--matches", "-1" }, 2, no, "" },
              { { "--matches", "many" }, 2, no, "" }, { { "--delay", "0.5" }, 2, no, "" },
              { { "--seed", "4294967296" }, 2, no, "" }, { { "--colour", "blue" }, 2, no, "" },
              { { "extra" }, 2, no, "" }, { { "--help" }, 0, "", "--quiet" },
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
