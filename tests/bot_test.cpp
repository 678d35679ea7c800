// The computer opponent over real TCP on the loopback: two of them play whole matches through
// a referee that passes every byte on and checks it; quorvel-bot against a copy of the game
// without our mends; the quorvel-bot command line and failures.

#include "freeport.h"
#include "slowlink.h"
#include "strictpeer.h"
#include "waituntil.h"

#include "core/board.h"
#include "core/fleetgenerator.h"
#include "match/protocol.h"
#include "net/computeropponent.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

constexpr int Timeout = 60000;
enum Seat { Client, Server };

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
    // A link that cuts may end a read right after "$READY$": its suffix then comes too late.
    bool linkCuts = false;

    explicit Referee(quint16 serverPort)
    {
        EXPECT_TRUE(listening.listen(QHostAddress::LocalHost, 0));
        connect(&listening, &QTcpServer::newConnection, this, [this, serverPort] {
            // Bytes written before the connection to the server is made wait in its buffer.
            std::array sockets { listening.nextPendingConnection(), new QTcpSocket(this) };
            sockets[Server]->connectToHost(QHostAddress::LocalHost, serverPort);
            for (Seat from : { Client, Server }) {
                QTcpSocket* source = sockets[from];
                QTcpSocket* sink = sockets[1 - from];
                sink->setSocketOption(QAbstractSocket::LowDelayOption, 1); // as the game's
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
    void act(Seat from, const protocol::Message& message)
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
                // The connecting side's shot is answered, but it is no shot of its turn.
                EXPECT_TRUE(
                    players[Client].answered.insert(std::exchange(other.pending, -1)).second);
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
        } else if (message.kind != MessageKind::Chat) {
            EXPECT_TRUE(message.kind == MessageKind::Ready && (message.randomized || linkCuts))
                << message.text;
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

// The same two over a slow link that holds bytes back and passes them on cut anywhere, while
// each side chats every 20 to 60 ms: chat lines reach the other side glued to the message
// sent after them, or with that message cut in two. No message is lost to a chat line or
// taken from one, so no match stalls, and the scores agree with each other and the wire.
TEST(ComputerOpponent, TwoChattingOverASlowLinkPlayEveryMatch)
{
    constexpr int Matches = 4;
    ComputerOpponent server({ PlannerLevel::Normal, 0, 0, 3, 0 });
    ComputerOpponent client({ PlannerLevel::Normal, 0, Matches, 4 });
    QSignalSpy serverDone(&server, &ComputerOpponent::finished);
    QSignalSpy clientDone(&client, &ComputerOpponent::finished);
    ASSERT_TRUE(server.listen(0));
    Referee referee(server.listeningPort());
    referee.linkCuts = true;
    SlowLink link(referee.listening.serverPort(), { 1, 6, 5 });
    int glued = 0; // pieces in which a message follows a chat line
    link.passed = [&glued](SlowLink::Direction, const QByteArray& piece) {
        const qsizetype chat = piece.indexOf("USER_MSG:");
        if (chat >= 0
            && QRegularExpression(QStringLiteral("TIRO:|TREQ:|TAFQ:|\\$[A-Z]"))
                   .match(QString::fromLatin1(piece.mid(chat)))
                   .hasMatch())
            ++glued;
    };
    // Lines that end as a message begins, or hold one: they go out with a space in it.
    const std::array<std::string_view, 5> lines { "boa", "vai BOT", "fim $", "TIRO:A5?",
        "$READY$ ok" };
    std::array<QStringList, 2> heard;
    std::mt19937 random(7);
    std::array<QTimer, 2> chatter;
    for (ComputerOpponent* side : { &client, &server }) {
        const int index = side == &client ? Client : Server;
        QObject::connect(side, &ComputerOpponent::eventLine, [&heard, index](const QString& line) {
            if (line.contains(QStringLiteral("] <ADV> ")))
                heard[index] += line.section(QStringLiteral("] <ADV> "), 1);
        });
        chatter[index].setSingleShot(true);
        QObject::connect(&chatter[index], &QTimer::timeout, [&, side, index] {
            if (side->connected())
                side->gameSession().engine().sendChatLine(lines[random() % lines.size()]);
            chatter[index].start(20 + static_cast<int>(random() % 41));
        });
        chatter[index].start(20);
    }
    client.connectTo(QStringLiteral("127.0.0.1"), link.port());
    for (QSignalSpy* done : { &clientDone, &serverDone })
        ASSERT_TRUE(!done->isEmpty() || done->wait(Timeout));
    using Outcome = ComputerOpponent::Outcome;
    EXPECT_EQ(clientDone.front().front().value<Outcome>(), Outcome::MatchesPlayed);
    EXPECT_EQ(
        std::pair(server.matchesPlayed(), client.matchesPlayed()), std::pair(Matches, Matches));
    EXPECT_EQ(std::pair(server.myWins(), server.peerWins()),
        std::pair(client.peerWins(), client.myWins()));
    EXPECT_EQ(server.shotsOfWonMatches(), referee.players[Server].wonShots);
    EXPECT_EQ(client.shotsOfWonMatches(), referee.players[Client].wonShots);
    EXPECT_GT(glued, 10) << "the link glued too few chat lines to a message";
    // Every line heard is one that was sent, or the first part of one the link cut inside
    // its text, or lines that shared a read: never a line with a message in it.
    const QStringList sent { QStringLiteral("boa"), QStringLiteral("vai BOT"),
        QStringLiteral("fim $"), QStringLiteral("TIRO :A5?"), QStringLiteral("$ READY$ ok") };
    for (const QStringList& side : heard) {
        EXPECT_GT(side.size(), 5);
        for (const QString& line : side) {
            for (QString part : line.split(QStringLiteral("USER_MSG:"))) {
                // A chat token cut at the end of the read is text.
                for (qsizetype cut = 8; cut > 0; --cut) {
                    if (part.endsWith(QStringLiteral("USER_MSG:").left(cut))
                        && sent.contains(part.chopped(cut)))
                        part.chop(cut);
                }
                EXPECT_TRUE(std::ranges::any_of(sent, [&part](const QString& whole) {
                    return whole.startsWith(part);
                })) << line.toStdString();
            }
        }
    }
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

// quorvel-bot listening on a free port at --delay 0, its output gathered, and a plain socket
// connected to it as its opponent.
struct BotAndPeer {
    // The output outlives the process, whose end, when a test stops early, may still hand it
    // the last lines.
    QByteArray output;
    QProcess bot;
    QTcpSocket peer;

    void start()
    {
        QObject::connect(&bot, &QProcess::readyReadStandardOutput,
            [this] { output += bot.readAllStandardOutput(); });
        bot.start(QStringLiteral(QUORVEL_BOT),
            { QStringLiteral("--listen"), QStringLiteral("0"), QStringLiteral("--delay"),
                QStringLiteral("0"), QStringLiteral("--level"), QStringLiteral("normal") });
        const QByteArray tell = "a escutar no porto ";
        ASSERT_TRUE(waitUntil([&] { return output.contains(tell) && output.endsWith('\n'); }));
        const qsizetype at = output.indexOf(tell) + tell.size();
        peer.connectToHost(
            QHostAddress::LocalHost, output.mid(at, output.indexOf('\n', at) - at).toUShort());
        ASSERT_TRUE(waitUntil([&] { return peer.state() == QAbstractSocket::ConnectedState; }));
        peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }

    // Closes the connection; the bot ends as it does when its opponent leaves.
    void end()
    {
        peer.disconnectFromHost();
        ASSERT_TRUE(waitUntil([&] { return bot.state() == QProcess::NotRunning; }));
        output += bot.readAllStandardOutput();
        EXPECT_EQ(bot.exitCode(), 0);
    }
};

// An opponent that repeats itself and then answers every shot as a miss, so that no cell is
// left to fire at: the repeated line is printed once with its count, and quorvel-bot says
// why it stops, closes the connection and exits 1 instead of trying again for ever.
TEST(BotProgram, LeavesAnOpponentThatBreaksTheRules)
{
    BotAndPeer game;
    ASSERT_NO_FATAL_FAILURE(game.start());
    QProcess& bot = game.bot;
    QByteArray& output = game.output;
    QTcpSocket& peer = game.peer;

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

// A connection that closes before a word (a port scanner's, a health check's) does not end
// quorvel-bot, though it had declared its fleet to it: it goes on listening, no longer
// connected, and plays the opponent that comes next.
TEST(BotProgram, OutlivesAProbeAndPlaysTheNextOpponent)
{
    ComputerOpponent listening({ PlannerLevel::Easy, 0, 0, 8 });
    ASSERT_TRUE(listening.listen(0, true));
    QTcpSocket first;
    first.connectToHost(QHostAddress::LocalHost, listening.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return listening.connected(); }));
    first.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return !listening.connected(); }));
    EXPECT_NE(listening.listeningPort(), 0);

    QProcess bot;
    QByteArray output;
    QObject::connect(
        &bot, &QProcess::readyReadStandardOutput, [&] { output += bot.readAllStandardOutput(); });
    bot.start(QStringLiteral(QUORVEL_BOT),
        { QStringLiteral("--listen"), QStringLiteral("0"), QStringLiteral("--delay"),
            QStringLiteral("0"), QStringLiteral("--matches"), QStringLiteral("1"),
            QStringLiteral("--seed"), QStringLiteral("9") });
    const QByteArray tell = "a escutar no porto ";
    ASSERT_TRUE(waitUntil([&] { return output.contains(tell) && output.endsWith('\n'); }));
    const qsizetype at = output.indexOf(tell) + tell.size();
    const quint16 port = output.mid(at, output.indexOf('\n', at) - at).toUShort();
    // Where the opponent finds it, in the log before.
    const qsizetype found = output.indexOf("] Endereços deste computador: ");
    EXPECT_TRUE(found >= 0 && found < output.indexOf(tell)) << output.toStdString();
    EXPECT_TRUE(output.contains(" — porto " + QByteArray::number(port) + '\n'));
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] { return probe.bytesAvailable() > 0; })) << "its ready";
    probe.disconnectFromHost();
    ASSERT_TRUE(waitUntil(
        [&] { return output.contains("] Uma conecção chegou e fechou-se sem jogar.\n"); }));

    ComputerOpponent opponent({ PlannerLevel::Easy, 0, 0, 4 });
    QSignalSpy ended(&bot, &QProcess::finished);
    opponent.connectTo(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(ended.wait(Timeout));
    output += bot.readAllStandardOutput();
    EXPECT_EQ(bot.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return opponent.matchesPlayed() == 1; }));
    EXPECT_TRUE(output.contains("partidas jogadas: 1 ")) << output.toStdString();
}

// The opponent's bytes never reach the terminal raw: escape sequences, line breaks, a zero
// byte, Windows-1252's 0x80-0x9F in chat, and a reply's length, each printed as one line
// with its controls escaped.
TEST(BotProgram, PrintsThePeersControlCharactersEscaped)
{
    BotAndPeer game;
    ASSERT_NO_FATAL_FAILURE(game.start());
    QByteArray windows1252;
    for (int byte = 0x80; byte <= 0x9F; ++byte)
        windows1252 += static_cast<char>(byte);
    // What the opponent sends, and what is printed after the time.
    const std::pair<QByteArray, const char*> sent[] = {
        { "\x1b[2J\x1b]0;titulo\x07limpo", "<ADV> \\x1b[2J\\x1b]0;titulo\\x07limpo" },
        { "um\rdois\tfim\x7f", "<ADV> um\\rdois\\tfim\\x7f" },
        { "linha\npartidas jogadas: 9  [ Eu=9 , Adv=0 ]  m\xe9"
          "dia de tiros por partida ganha: 25.0",
            "<ADV> linha\\npartidas jogadas: 9  [ Eu=9 , Adv=0 ]  média de tiros por partida "
            "ganha: 25.0" },
        { QByteArray("ab\0\x1b[2J", 7), "<ADV> ab" },
        { windows1252, "<ADV> €�‚ƒ„…†‡ˆ‰Š‹Œ�Ž��‘’“”•–—˜™š›œ�žŸ" },
        { "TREQ:\x1b", "<CPU> Acertou num barco de \\x1b canos." },
    };
    QByteArray received;
    QObject::connect(&game.peer, &QTcpSocket::readyRead, [&] { received += game.peer.readAll(); });
    QList<QByteArray> expected;
    // Each in a read of its own; the reply answers the bot's first shot.
    for (const auto& [bytes, line] : sent) {
        if (bytes.startsWith("TREQ:")) {
            ASSERT_TRUE(waitUntil([&] { return received.contains("$READY$"); }));
            game.peer.write("$READY$"); // the bot declared first: it fires first
            ASSERT_TRUE(waitUntil([&] { return received.contains("TIRO:"); }));
            game.peer.write(bytes);
        } else {
            game.peer.write("USER_MSG:" + bytes);
        }
        expected << line;
        ASSERT_TRUE(waitUntil([&] { return game.output.contains(line); })) << line;
    }
    ASSERT_NO_FATAL_FAILURE(game.end());
    const QByteArray& output = game.output;
    SCOPED_TRACE(output.toStdString());
    QList<QByteArray> printed;
    for (const QByteArray& line : output.split('\n')) {
        if (line.contains("] <ADV> ") || line.contains("] <CPU> "))
            printed << line.mid(line.indexOf("] ") + 2);
    }
    EXPECT_EQ(printed, expected);
    // No control character but the line ends, C1 (U+0080-U+009F in UTF-8) included.
    EXPECT_EQ(std::ranges::count_if(output,
                  [](char byte) {
                      const auto code = static_cast<unsigned char>(byte);
                      return (code < 0x20 && byte != '\n') || code == 0x7F;
                  }),
        0);
    for (int c1 = 0x80; c1 <= 0x9F; ++c1)
        EXPECT_FALSE(output.contains(QByteArray("\xC2") + static_cast<char>(c1))) << c1;
    EXPECT_EQ(output.count("\npartidas jogadas"), 1); // the summary, and no forged one
    EXPECT_TRUE(output.endsWith("\npartidas jogadas: 0  [ Eu=0 , Adv=0 ]  média de tiros por "
                                "partida ganha: 0.0\n"));
}

// The opponent's lines the bot left out, as its counts say.
qint64 linesLeftOut(const QByteArray& output)
{
    qint64 omitted = 0;
    const QRegularExpression count(QStringLiteral("^\\((\\d+) linhas do adversário omitidas\\)$"),
        QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : count.globalMatch(QString::fromUtf8(output)))
        omitted += match.captured(1).toLongLong();
    return omitted;
}

// A flood of chat, every line different, is printed a few lines a second; the lines left out
// are counted, so that the output stays small.
TEST(BotProgram, PrintsAFewLinesASecondOfAChatFlood)
{
    BotAndPeer game;
    ASSERT_NO_FATAL_FAILURE(game.start());
    QElapsedTimer clock;
    clock.start();
    qint64 sent = 0;
    for (int line = 0; clock.elapsed() < 2000; ++line) {
        sent += game.peer.write("USER_MSG:" + QByteArray::number(line) + ' '
            + QByteArray(500, static_cast<char>('a' + line % 26)));
        game.peer.flush();
        ASSERT_TRUE(waitUntil([&] { return game.peer.bytesToWrite() < 65536; }));
        QCoreApplication::processEvents();
    }
    ASSERT_NO_FATAL_FAILURE(game.end());
    const qint64 seconds = clock.elapsed() / 1000 + 1;
    const QByteArray& output = game.output;
    SCOPED_TRACE(output.right(2000).toStdString());
    const qsizetype printed = output.count("] <ADV> ");
    const qint64 omitted = linesLeftOut(output);
    // Printing resumes in the seconds after the first, after the count of what it left out.
    EXPECT_GT(printed, ComputerOpponent::OpponentLinesPerSecond);
    EXPECT_LE(printed, ComputerOpponent::OpponentLinesPerSecond * seconds);
    EXPECT_GT(omitted, printed);
    EXPECT_LT(output.indexOf(" linhas do adversário omitidas)\n"), output.lastIndexOf("] <ADV> "));
    // A chat line is at most a read long; the rest is a few lines.
    EXPECT_LT(output.size(), qsizetype(protocol::ReadSize + 100) * printed + 4096)
        << sent << " bytes sent";
}

// The opponent's readies, which it may send in any phase, are limited like its chat: two of
// them in 26 bytes would otherwise be two lines, as fast as they come.
TEST(BotProgram, PrintsAFewLinesASecondOfAReadyFlood)
{
    BotAndPeer game;
    ASSERT_NO_FATAL_FAILURE(game.start());
    QElapsedTimer clock;
    clock.start();
    for (qint64 sent = 0; clock.elapsed() < 1500 && sent < 2'000'000; sent += 40 * 26) {
        game.peer.write(QByteArray("$READY$$READY$ &RANDOMIZED").repeated(40));
        game.peer.flush();
        ASSERT_TRUE(waitUntil([&] { return game.peer.bytesToWrite() < 65536; }));
        QCoreApplication::processEvents();
    }
    ASSERT_NO_FATAL_FAILURE(game.end());
    const qint64 seconds = clock.elapsed() / 1000 + 1;
    const QString output = QString::fromUtf8(game.output);
    SCOPED_TRACE(output.right(2000).toStdString());
    const qsizetype printed = output.count(QStringLiteral("O outro jogador está pronto."))
        + output.count(QStringLiteral("O outro jogador randomizou o jogo e está pronto."));
    const qint64 omitted = linesLeftOut(game.output);
    EXPECT_GE(printed, 1);
    EXPECT_LE(printed, ComputerOpponent::OpponentLinesPerSecond * seconds);
    EXPECT_GT(omitted, 100 * printed);
}

// Arguments it cannot use are refused with a message and exit code 2, before anything is
// opened, in the language asked for (the help too); a port in use, a refused connection and a
// host nobody knows end it with the game's own texts, where and why under them, and exit 1.
TEST(BotProgram, RefusesBadArgumentsAndReportsFailures)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const std::string busy = std::to_string(holder.serverPort());
    const quint16 closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    const std::string refused = std::to_string(closedPort);
    const std::string inUse = "Impossível criar o socket\nPode estar o porto já estar definido\nou "
                              "não tem o protocolo TCP/IP instalado.\n0.0.0.0:"
        + busy + " — porto já em uso\n";
    const std::string notThere = "Impossível fazer conecção ao servidor/porto\nExpecificado.\n";
    const std::string refusedThere = notThere + "127.0.0.1:" + refused + " — ligação recusada\n";
    const std::string unknownThere = notThere + "quorvel.invalid:4000 — servidor desconhecido\n";
    const char* const no = "quorvel-bot: ";
    const char* const none
        = "partidas jogadas: 0  [ Eu=0 , Adv=0 ]  média de tiros por partida ganha: 0.0\n";
    const std::tuple<std::vector<const char*>, int, const char*, const char*> cases[] = {
        { { "--level", "expert" }, 2,
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
        { { "--listen", busy.c_str(), "--quiet" }, 1, inUse.c_str(), none },
        { { "--connect", "127.0.0.1", "--port", refused.c_str() }, 1, refusedThere.c_str(), none },
        { { "--connect", "quorvel.invalid" }, 1, unknownThere.c_str(), none }
    };
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

    // A copy of the program without the network module where it looks for it: a listen and
    // an attempt to connect fail as any other, in the loader's words, which name the module.
    QTemporaryDir lone;
    ASSERT_TRUE(lone.isValid());
    const QString copy = lone.filePath(QStringLiteral("quorvel-bot"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEL_BOT), copy));
    const QString connect = QStringLiteral("--connect");
    for (const QStringList& arguments :
        { QStringList { QStringLiteral("--listen"), QStringLiteral("0") },
            QStringList { connect, QStringLiteral("127.0.0.1") } }) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        QProcess bot;
        bot.start(copy, arguments);
        ASSERT_TRUE(bot.waitForFinished(Timeout));
        EXPECT_EQ(bot.exitCode(), 1);
        const QByteArray err = bot.readAllStandardError();
        EXPECT_TRUE(err.contains("/quorvel-tcp.so: cannot open shared object file"))
            << err.toStdString();
        EXPECT_TRUE(err.startsWith(arguments[0] == connect ? notThere.c_str() : "Impossível criar"))
            << err.toStdString();
    }
}

// An opponent that moves only when a message of the bot's comes, so that the bot alone
// decides the order of everything: it declares its fleet right after the bot's in the first
// match, answers each shot from that fleet and fires its three shots a turn at the cells in a
// fixed order, each once the last is answered. The reply that sinks its last ship goes out
// in one write with "$WINGAME$" and its ready for the next match (a fleet built by hand in
// even matches, a generated one in odd ones), so that the bot reads them in one read.
class ScriptedPeer : public QObject {
public:
    ScriptedPeer()
    {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this, [this] {
            socket = server.nextPendingConnection();
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            connect(socket, &QTcpSocket::readyRead, this, [this] {
                const QByteArray bytes = socket->readAll();
                heard += bytes;
                for (const protocol::Message& message : reader.feed(bytes.toStdString()))
                    act(message);
            });
        });
        placeFleet();
    }

    QTcpServer server;
    QByteArray heard; // every byte the bot sent

private:
    void send(std::string_view bytes)
    {
        socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
        socket->flush();
    }
    void placeFleet()
    {
        fleet.clear();
        RandomSource random(10 + static_cast<unsigned>(match));
        generateFleet(fleet, random);
    }
    std::string_view ready() const
    {
        return match % 2 == 0 ? protocol::ReadyMessage : protocol::ReadyRandomizedMessage;
    }
    void fire()
    {
        const int cell = (nextShot++ * 37) % 100; // 37 and 100 share no factor: every cell once
        send(protocol::formShot(cell / 10, cell % 10));
    }
    // A match is over: the next one, declared at once.
    std::string nextMatch()
    {
        ++match;
        placeFleet();
        nextShot = shotsThisTurn = 0;
        playing = firing = false;
        declared = true;
        return std::string(ready());
    }

    void act(const protocol::Message& message)
    {
        using protocol::MessageKind;
        switch (message.kind) {
        case MessageKind::Ready:
            playing = true;
            if (!declared) { // the bot declared first and fires first
                declared = true;
                send(ready());
            } else {
                firing = true;
                fire();
            }
            break;
        case MessageKind::Shot: {
            const int column = message.first - 'A';
            const int row = message.second - '0';
            std::string reply = protocol::formMiss();
            if (fleet.getCell(column, row) == CellShip) {
                fleet.setCell(column, row, CellHit);
                const int length = fleet.measureShip(column, row, CountCells);
                reply = fleet.measureShip(column, row, CountIntact) > 0
                    ? protocol::formHit(length)
                    : protocol::formSunk(length);
            }
            if (!fleet.holdsCode(CellShip))
                reply += std::string(protocol::WinGameMessage) + nextMatch();
            send(reply);
            break;
        }
        case MessageKind::Reply:
        case MessageKind::Sunk:
            if (!firing)
                break;
            if (++shotsThisTurn < 3) {
                fire();
            } else {
                shotsThisTurn = 0;
                firing = false;
                send(protocol::ExchangeMachineMessage);
            }
            break;
        case MessageKind::ExchangeMachine:
            if (playing && !firing) {
                firing = true;
                fire();
            }
            break;
        case MessageKind::WinGame:
            send(nextMatch());
            break;
        case MessageKind::Chat:
            break;
        }
    }

    QTcpSocket* socket = nullptr;
    protocol::MessageReader reader;
    Board fleet;
    int match = 1;
    bool declared = false; // in this match
    bool playing = false; // both declared
    bool firing = false; // its turn
    int shotsThisTurn = 0;
    int nextShot = 0;
};

// Where two texts part, for a message that does not print them whole.
std::string firstDifference(const QByteArray& expected, const QByteArray& actual)
{
    const auto [left, right] = std::ranges::mismatch(expected, actual);
    if (left == expected.end() && right == actual.end())
        return "none";
    const qsizetype at = left - expected.begin();
    const qsizetype from = std::max<qsizetype>(0, at - 80);
    return "at byte " + std::to_string(at) + ": '"
        + expected.mid(from, at - from + 80).toStdString() + "' became '"
        + actual.mid(from, at - from + 80).toStdString() + "'";
}

// A seed decides the game: quorvel-bot at the hard level with the same --seed against the same
// scripted opponent sends the same bytes and prints the same lines (but for their times), on
// an idle machine and on one whose every core is kept busy while the bot runs at a low
// priority. Its draws per shot are a count, not a time.
TEST(BotProgram, ASeedPlaysTheSameGameOnALoadedMachine)
{
    struct Game {
        QByteArray sent; // by the bot
        QByteArray printed; // without the times of the lines
    };
    const auto play = [](bool loaded) {
        ScriptedPeer peer;
        QProcess bot;
        // A priority that cannot be lowered leaves the bot at its own: the game is the same.
        if (loaded)
            bot.setChildProcessModifier([] { [[maybe_unused]] const int niceness = ::nice(10); });
        QByteArray output;
        QObject::connect(&bot, &QProcess::readyReadStandardOutput,
            [&] { output += bot.readAllStandardOutput(); });
        std::atomic<bool> stop = false;
        std::vector<std::jthread> hogs;
        for (unsigned core = 0; loaded && core < std::max(2u, std::thread::hardware_concurrency());
             ++core) {
            hogs.emplace_back([&stop] {
                while (!stop.load(std::memory_order_relaxed)) { }
            });
        }
        QSignalSpy finished(&bot, &QProcess::finished);
        bot.start(QStringLiteral(QUORVEL_BOT),
            { QStringLiteral("--connect"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                QString::number(peer.server.serverPort()), QStringLiteral("--delay"),
                QStringLiteral("0"), QStringLiteral("--ready-wait"), QStringLiteral("3600"),
                QStringLiteral("--matches"), QStringLiteral("2"), QStringLiteral("--seed"),
                QStringLiteral("2024") });
        const bool ended = finished.wait(4 * Timeout);
        stop = true;
        hogs.clear();
        EXPECT_TRUE(ended);
        output += bot.readAllStandardOutput();
        EXPECT_EQ(bot.exitCode(), 0) << bot.readAllStandardError().toStdString();
        return Game { peer.heard,
            QString::fromUtf8(output)
                .remove(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] "),
                    QRegularExpression::MultilineOption))
                .toUtf8() };
    };
    const Game idle = play(false);
    EXPECT_TRUE(idle.printed.contains("partidas jogadas: 2 ")) << idle.printed.toStdString();
    EXPECT_GT(idle.printed.count("<CPU> Afundou um barco de "), 20) << idle.printed.toStdString();
    const Game loaded = play(true);
    EXPECT_EQ(firstDifference(idle.sent, loaded.sent), "none");
    EXPECT_EQ(firstDifference(idle.printed, loaded.printed), "none");
}

} // namespace
