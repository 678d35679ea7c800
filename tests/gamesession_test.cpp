// The connection layer over loopback TCP: two sessions, and bare sockets as peers that misbehave.

#include "freeport.h"
#include "recordingevents.h"
#include "waituntil.h"

#include "net/gamesession.h"
#include "net/gametexts.h"
#include "net/localaddresses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string peerClosedStatus = "O outro jogador fechou a conecção\nJogo terminado.";
const std::string thirdCopyStatus = "Houve tentativa de conecção ao jogo por outro utilizador.";
const std::string closedStatus
    = "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.";
const std::string probeLine = "Uma conecção chegou e fechou-se sem jogar.";

std::string listeningStatus(int port)
{
    return "A esperar pela conecção...\nPorto " + std::to_string(port) + ".";
}

// One player with no window: its game events are recorded, a match's result seen at once.
// The texts a window would show are read in the game's own language.
struct Player {
    Player() { events.engine = &session.engine(); }

    MatchEngine& engine() { return session.engine(); }
    GamePhase phase() const { return session.engine().phase(); }
    int matchesCounted() const { return session.engine().myWins() + session.engine().peerWins(); }
    bool canFire() const { return session.engine().mayFire(); }
    // "Escutar" and "Conectar", with the port and the address the window passes on.
    void listen(int port = 0) { session.listen(port); }
    void connectTo(int port, const char* address = "127.0.0.1")
    {
        session.connectTo(QString::fromUtf8(address), port);
    }

    std::string status() const { return gameText(events.status).toStdString(); }
    std::vector<std::string> log() const
    {
        std::vector<std::string> lines;
        for (const Text& line : events.log)
            lines.push_back(gameText(line).toStdString());
        return lines;
    }
    std::string lastLogLine() const { return events.log.empty() ? "" : log().back(); }
    ConnectionChange connection() const
    {
        return events.connections.empty() ? ConnectionChange { ConnectionChange::Closed }
                                          : events.connections.back();
    }
    // Listens or attempts that failed: each opens a box in the window.
    long failures() const
    {
        return std::ranges::count_if(events.connections, [](const ConnectionChange& change) {
            return change.reason == ConnectionChange::ListenFailed
                || change.reason == ConnectionChange::ConnectFailed;
        });
    }

    RecordingEvents events;
    GameSession session { events };
};

bool bothIn(GamePhase phase, const Player& a, const Player& b)
{
    return waitUntil([&] { return a.phase() == phase && b.phase() == phase; });
}

// After any end of a connection only the connection group can be used: the connection is
// reported closed, and no match, no socket is left.
void expectDisconnected(const Player& player)
{
    EXPECT_EQ(player.phase(), GamePhase::Idle);
    EXPECT_EQ(player.connection().state, ConnectionChange::Closed);
    EXPECT_FALSE(player.session.peerConnected() || player.session.listeningPort() != 0);
}

// The first to declare its fleet fires first.
bool declareFleets(Player& first, Player& second)
{
    first.engine().randomizeFleet();
    first.engine().acceptFleet();
    if (!waitUntil([&] { return !second.engine().matchState().isShooter; }))
        return false;
    second.engine().randomizeFleet();
    second.engine().acceptFleet();
    return bothIn(GamePhase::Playing, first, second) && first.engine().matchState().isShooter;
}

// Each side fires at the enemy cells in order, skipping known ones, until both count a match.
bool playFirstMatch(Player& server, Player& client)
{
    auto over = [&] { return server.matchesCounted() + client.matchesCounted() == 2; };
    int next[2] = { 0, 0 };
    while (waitUntil([&] { return over() || server.canFire() || client.canFire(); })) {
        const int s = server.canFire() ? 0 : 1;
        if (over() || next[s] == 100)
            return over();
        MatchEngine& shooter = (s == 0 ? server : client).engine();
        for (bool refused = true; refused && next[s] < 100; ++next[s])
            refused = shooter.fireAt({ next[s] / 10, next[s] % 10 }) == FireResult::AlreadyShot;
    }
    return false;
}

// A third copy refused during a match; "Fechar COM" on the client is the server's peer closing.
// The window's title follows the connection's events and the score: "SERVIDOR" once listening
// was asked for, "CLIENTE" once the connection a client asked for is open, the new match once
// a result is counted, the closed connection's after it ends.
TEST(GameSession, TwoSessionsPlayOverTcpUntilTheClientCloses)
{
    Player server;
    Player client;
    server.listen(0);
    EXPECT_EQ(server.status(), listeningStatus(server.session.listeningPort()));
    client.connectTo(server.session.listeningPort());
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_EQ(server.events.connections,
        (std::vector<ConnectionChange> { { ConnectionChange::Listening, ConnectionChange::Asked,
                                             true, server.session.listeningPort() },
            { ConnectionChange::Open, ConnectionChange::Asked, true,
                server.session.listeningPort() } }));
    EXPECT_EQ(client.events.connections,
        (std::vector<ConnectionChange> { { ConnectionChange::Connecting, ConnectionChange::Asked,
                                             false, server.session.listeningPort() },
            { ConnectionChange::Open, ConnectionChange::Asked, false, 0 } }));
    for (Player* player : { &server, &client }) {
        EXPECT_EQ(player->engine().score(), (Score { 0, 0 }));
        EXPECT_TRUE(player->events.scores.empty());
    }

    ASSERT_TRUE(declareFleets(server, client));
    QTcpSocket third;
    third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.status() == thirdCopyStatus; }));
    ASSERT_TRUE(playFirstMatch(server, client));
    EXPECT_EQ(third.bytesAvailable(), 0); // the third copy hears nothing
    Player& winner = server.engine().myWins() == 1 ? server : client;
    Player& loser = &winner == &server ? client : server;
    EXPECT_EQ(winner.events.scores, (std::vector { Score { 1, 0 } }));
    EXPECT_EQ(loser.events.scores, (std::vector { Score { 0, 1 } }));
    EXPECT_EQ(winner.events.results, std::vector { true });
    EXPECT_EQ(loser.events.results, std::vector { false });

    // The next match starts on the same connection; this time the client declares first.
    ASSERT_TRUE(declareFleets(client, server));

    client.session.close();
    EXPECT_EQ(client.status(), closedStatus);
    ASSERT_TRUE(waitUntil([&] { return server.status() == peerClosedStatus; }));
    EXPECT_EQ(client.connection(), (ConnectionChange { ConnectionChange::Closed }));
    EXPECT_EQ(server.connection(),
        (ConnectionChange { ConnectionChange::Closed, ConnectionChange::PeerClosed }));
    EXPECT_EQ(winner.engine().score(), (Score { 1, 0 }));
    EXPECT_EQ(loser.engine().score(), (Score { 0, 1 }));
    for (Player* player : { &server, &client }) {
        expectDisconnected(*player); // the server no longer listening either
        EXPECT_FALSE(player->engine().wholeFleetReady());
        EXPECT_EQ(player->events.scores.size(), 1u);
    }

    // "Escutar" and "Conectar" again start the score afresh, the winner's and the loser's. A
    // client that gives up while connecting: over loopback the connection was made at once,
    // so the server sees its peer close before a word, and goes on listening.
    server.listen(0);
    EXPECT_EQ(server.connection(),
        (ConnectionChange { ConnectionChange::Listening, ConnectionChange::Asked, true,
            server.session.listeningPort() }));
    EXPECT_EQ(server.engine().score(), (Score { 0, 0 }));
    client.connectTo(server.session.listeningPort());
    EXPECT_EQ(client.status(), "A estabelecer conecção ao servidor...");
    client.session.close();
    EXPECT_EQ(client.connection(), (ConnectionChange { ConnectionChange::Closed }));
    EXPECT_EQ(client.engine().score(), (Score { 0, 0 }));
    ASSERT_TRUE(waitUntil([&] { return server.lastLogLine() == probeLine; }));
    EXPECT_EQ(server.status(), listeningStatus(server.session.listeningPort()));
    expectDisconnected(client);

    server.listen(0); // and then one that comes by host name
    client.connectTo(server.session.listeningPort(), "localhost");
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
}

// A failed listen and a failed attempt each open one box in the window (a critical one): the
// connection is reported closed for that reason, with where it failed and why.
TEST(GameSession, FailedOrRefusedAttemptsLeaveItDisconnected)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const int closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    // What a failed listen and a failed connect show.
    const ConnectionChange::Reason reason[]
        = { ConnectionChange::ListenFailed, ConnectionChange::ConnectFailed };
    const std::string status[]
        = { "Reveja as definições\nde conecção.", "Reveja as definições de rede." };
    const std::string outOfRange = " — o porto tem de estar entre 0 e 65535";
    const std::string unknown = ":4000 — servidor desconhecido";
    const struct {
        bool client;
        int port;
        const char* address;
        std::string line;
    } cases[] = { { false, holder.serverPort(), "",
                      "0.0.0.0:" + std::to_string(holder.serverPort()) + " — porto já em uso" },
        { false, 70000, "", "0.0.0.0:70000" + outOfRange },
        { false, 65536, "", "0.0.0.0:65536" + outOfRange },
        { false, -1, "", "0.0.0.0:-1" + outOfRange },
        { true, 65536, "127.0.0.1", "127.0.0.1:65536" + outOfRange },
        { true, 70000, " [::1] ", "[::1]:70000" + outOfRange },
        { true, closedPort, "127.0.0.1",
            "127.0.0.1:" + std::to_string(closedPort) + " — ligação recusada" },
        // These fail at once, before any packet is sent: a name under ".invalid" is never
        // looked up on the network.
        { true, 4000, "", unknown }, { true, 4000, "no such host!", "no such host!" + unknown },
        { true, 4000, "quorvel.invalid", "quorvel.invalid" + unknown } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + ":" + std::to_string(c.port));
        Player player;
        if (c.client)
            player.connectTo(c.port, c.address);
        else
            player.listen(c.port);
        ASSERT_TRUE(waitUntil([&] { return player.failures() > 0; }));
        EXPECT_EQ(player.failures(), 1);
        EXPECT_EQ(player.connection().reason, reason[c.client]);
        EXPECT_EQ(failureLine(player.connection().failure).toStdString(), c.line);
        EXPECT_EQ(player.status(), status[c.client]);
        expectDisconnected(player);
    }
}

// Where the other player finds a server: this computer's addresses that can be typed, of
// interfaces up and running, IPv4 before IPv6 and each once; a link-local one never, the
// loopback ones only when there is nothing else. They are told in the log, with the port,
// when listening starts; a listen on the loopback only has nothing to tell.
TEST(GameSession, ListeningTellsThisComputersAddressesAndPort)
{
    const auto up = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    const auto loopback = up | QNetworkInterface::IsLoopBack;
    const auto at = [](const char* text) { return QHostAddress(QString::fromLatin1(text)); };
    const struct {
        const char* name;
        std::vector<InterfaceAddress> addresses;
        QStringList shown;
    } cases[] = {
        { "a home network",
            { { at("127.0.0.1"), loopback }, { at("::1"), loopback }, { at("2001:db8::5"), up },
                { at("fe80::fc:ff:fe00:1%eth0"), up }, { at("192.168.1.20"), up },
                { at("169.254.7.7"), up }, { at("fd12::9"), up }, { at("10.0.0.4"), up } },
            { "192.168.1.20", "10.0.0.4", "2001:db8::5", "fd12::9" } },
        { "interfaces down or not running",
            { { at("192.168.1.20"), QNetworkInterface::IsUp },
                { at("10.0.0.4"), QNetworkInterface::IsRunning }, { at("172.16.0.2"), up } },
            { "172.16.0.2" } },
        { "the same address on two interfaces",
            { { at("192.168.1.20"), up }, { at("192.168.1.20"), up } }, { "192.168.1.20" } },
        { "only the loopback",
            { { at("::1"), loopback }, { at("fe80::1%eth0"), up }, { at("127.0.0.1"), loopback } },
            { "127.0.0.1", "::1" } },
        { "a loopback address on an interface not so flagged",
            { { at("127.0.0.2"), up }, { at("::1"), loopback } }, { "127.0.0.2", "::1" } },
        { "nothing up", { { at("127.0.0.1"), QNetworkInterface::IsLoopBack } }, {} },
    };
    for (const auto& [name, addresses, shown] : cases)
        EXPECT_EQ(addressesToShow(addresses), shown) << name;

    Player server;
    server.listen(0);
    const QStringList here = addressesToShow(interfaceAddresses());
    ASSERT_FALSE(here.isEmpty()) << "not even a loopback";
    EXPECT_EQ(server.log(),
        std::vector<std::string> {
            "Endereços deste computador: " + here.join(QStringLiteral(", ")).toStdString()
            + " — porto " + std::to_string(server.session.listeningPort()) });
    EXPECT_EQ(server.status(), listeningStatus(server.session.listeningPort()));
    Player local;
    local.session.setLoopbackOnly(true);
    local.listen(0);
    ASSERT_NE(local.session.listeningPort(), 0);
    EXPECT_TRUE(local.events.log.empty());
}

// Port 0 shows the port the system chose; "Fechar COM" gives up listening, and once an
// opponent has connected it ends the connection, as a client's does: the server does not
// go on listening.
TEST(GameSession, AServerShowsItsPortAndCanStopListening)
{
    Player server;
    server.listen(0);
    const int port = server.session.listeningPort();
    ASSERT_NE(port, 0);
    EXPECT_EQ(server.connection(),
        (ConnectionChange { ConnectionChange::Listening, ConnectionChange::Asked, true, port }));
    // The status of any listen, then the port the system chose.
    const auto waiting = std::ranges::find(server.events.transcript, "status Listening");
    ASSERT_NE(waiting, server.events.transcript.end());
    EXPECT_NE(std::find(waiting, server.events.transcript.end(),
                  "status ListeningOnPort " + std::to_string(port)),
        server.events.transcript.end());
    EXPECT_EQ(server.status(), listeningStatus(port));

    server.session.close();
    expectDisconnected(server);
    EXPECT_EQ(server.status(), closedStatus);
    Player late;
    late.connectTo(port);
    ASSERT_TRUE(waitUntil([&] { return late.failures() > 0; })) << "nobody listens";

    Player client;
    server.listen(0);
    EXPECT_EQ(server.connection().port, server.session.listeningPort());
    client.connectTo(server.session.listeningPort());
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_EQ(server.connection().state, ConnectionChange::Open);
    EXPECT_EQ(client.connection().state, ConnectionChange::Open);
    server.session.close();
    EXPECT_EQ(server.status(), closedStatus);
    expectDisconnected(server);
    ASSERT_TRUE(waitUntil([&] { return client.status() == peerClosedStatus; }));
    expectDisconnected(client);
}

// Connections that end before their first message were no opponent: a port scanner's or a
// health check's connect and close, a reset (after the player had declared a fleet to it),
// bytes that form no message, the last of them cut short. The server goes on listening as
// after "Escutar" and says so in the log; the copy that comes next plays. One that has said
// a single thing was a player: its leaving ends the listening, as it always did.
TEST(GameSession, AConnectionThatSaysNothingLeavesTheServerListening)
{
    Player server;
    server.listen(0);
    const int port = server.session.listeningPort();
    const ConnectionChange listening { ConnectionChange::Listening, ConnectionChange::Asked, true,
        port };
    const struct {
        const char* name;
        QByteArray bytes;
        bool reset;
    } probes[] = { { "close", {}, false }, { "reset", {}, true },
        { "garbage", QByteArrayLiteral("GET / HTTP/1.0\r\n\r\n\0\x80\xff$READ"), false },
        { "garbage, reset", QByteArrayLiteral("\0\0\0\x01"), true } };
    for (const auto& probe : probes) {
        SCOPED_TRACE(probe.name);
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        ASSERT_TRUE(waitUntil([&] {
            return server.phase() == GamePhase::Placing
                && socket.state() == QAbstractSocket::ConnectedState;
        }));
        if (probe.reset) {
            server.engine().randomizeFleet();
            server.engine().acceptFleet();
        }
        socket.write(probe.bytes);
        ASSERT_TRUE(waitUntil([&] { return socket.bytesToWrite() == 0; }));
        if (probe.reset) {
            const linger abortive { 1, 0 }; // closing sends a reset instead of an orderly end
            ASSERT_EQ(setsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER,
                          &abortive, sizeof abortive),
                0);
            socket.abort();
        } else {
            socket.disconnectFromHost();
        }
        ASSERT_TRUE(waitUntil(
            [&] { return server.phase() == GamePhase::Idle && !server.session.peerConnected(); }));
        ASSERT_FALSE(server.events.log.empty());
        EXPECT_EQ(server.lastLogLine(), probeLine);
        EXPECT_EQ(server.status(), listeningStatus(port));
        EXPECT_EQ(server.session.listeningPort(), port);
        // Listening on: "Fechar COM" there to give up, the chat and the connection group not,
        // the generator shown but idle, the title as it was, no box.
        EXPECT_EQ(server.connection(),
            (ConnectionChange {
                ConnectionChange::Listening, ConnectionChange::Probe, true, port }));
        EXPECT_FALSE(server.engine().wholeFleetReady());
        EXPECT_TRUE(server.events.scores.empty() && server.events.results.empty()
            && server.failures() == 0 && server.events.sendFailures == 0);
    }
    EXPECT_EQ(std::ranges::count(server.log(), probeLine), std::ssize(probes));
    // Every connection opened and went back to listening: nothing else about it was said.
    ASSERT_EQ(server.events.connections.size(), 1 + 2 * std::size(probes));
    EXPECT_EQ(server.events.connections.front(), listening);
    for (std::size_t probe = 0; probe < std::size(probes); ++probe) {
        EXPECT_EQ(server.events.connections[1 + 2 * probe],
            (ConnectionChange { ConnectionChange::Open, ConnectionChange::Asked, true, port }));
        EXPECT_EQ(server.events.connections[2 + 2 * probe].reason, ConnectionChange::Probe);
    }

    Player client;
    client.connectTo(port);
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_EQ(server.status(), "Criar tabuleiro.");
    ASSERT_TRUE(declareFleets(client, server));
    client.session.close();
    ASSERT_TRUE(waitUntil([&] { return server.status() == peerClosedStatus; }));
    expectDisconnected(server);

    server.listen(0);
    QTcpSocket talker;
    talker.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.phase() == GamePhase::Placing; }));
    talker.write("USER_MSG:adeus");
    talker.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.status() == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_EQ(server.lastLogLine(), "<ADV> adeus");
    EXPECT_EQ(std::ranges::count(server.log(), probeLine), std::ssize(probes));
}

// The last port of the range is tried like any other; one past it is refused before any
// attempt. (Nothing is bound to a fixed port here: the attempt goes to whatever may be at
// 65535 on this machine, and only its start is looked at.)
TEST(GameSession, ThePortAtTheTopOfTheRangeIsTried)
{
    Player top;
    top.connectTo(65535);
    EXPECT_EQ(top.failures(), 0);
    EXPECT_EQ(top.status(), "A estabelecer conecção ao servidor...");
    Player beyond;
    beyond.connectTo(65536);
    EXPECT_EQ(beyond.failures(), 1);
    EXPECT_EQ(beyond.status(), "Reveja as definições de rede.");
}

// A listening player and a bare socket that connected to it: a peer that can misbehave.
class BarePeer : public testing::Test {
protected:
    void SetUp() override
    {
        server.listen(0);
        peer.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
        ASSERT_TRUE(waitUntil([this] {
            return server.phase() == GamePhase::Placing
                && peer.state() == QAbstractSocket::ConnectedState;
        }));
    }
    void send(const QByteArray& bytes)
    {
        peer.write(bytes);
        ASSERT_TRUE(waitUntil([this] { return peer.bytesToWrite() == 0; }));
    }

    // The bare peer declares first; the player, declaring second, is the target.
    void playAsTarget()
    {
        send("$READY$");
        ASSERT_TRUE(waitUntil([this] { return !server.engine().matchState().isShooter; }));
        server.engine().randomizeFleet();
        server.engine().acceptFleet();
        ASSERT_EQ(server.phase(), GamePhase::Playing);
    }
    // The bare peer leaves (a peer that never sent a message leaves the player listening);
    // the player listens again and plays a whole match with a player that keeps to the rules.
    void playOnANewConnection()
    {
        const std::string ended = server.engine().heardFromPeer()
            ? peerClosedStatus
            : listeningStatus(server.session.listeningPort());
        peer.abort();
        if (server.session.peerConnected()) {
            ASSERT_TRUE(waitUntil([&] { return server.status() == ended; }));
        }
        server.events.holdResults = false;
        Player client;
        server.listen(0);
        client.connectTo(server.session.listeningPort());
        ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
        ASSERT_TRUE(declareFleets(server, client));
        ASSERT_TRUE(playFirstMatch(server, client));
    }

    Player server;
    QTcpSocket peer;
};

// A dead connection must not leave the window "connected" with no control to leave it.
TEST_F(BarePeer, AResetMidMatchIsThePeerClosing)
{
    server.engine().randomizeFleet();
    server.engine().acceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));

    const linger abortive { 1, 0 }; // closing sends a reset instead of an orderly end
    ASSERT_EQ(setsockopt(static_cast<int>(peer.socketDescriptor()), SOL_SOCKET, SO_LINGER,
                  &abortive, sizeof abortive),
        0);
    peer.abort();
    ASSERT_TRUE(waitUntil([this] { return server.status() == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_EQ(server.connection().reason, ConnectionChange::PeerClosed);
    EXPECT_TRUE(server.events.results.empty() && server.events.sendFailures == 0); // no box
}

TEST_F(BarePeer, GarbageIsIgnoredAndASlowMessageActedOnOnce)
{
    // Random bytes, zeros included, without the first characters of any message.
    QByteArray chunk(64 * 1024, '\0');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()), 16 * 1024);
    std::ranges::replace_if(
        chunk, [](char c) { return c == '$' || c == 'T' || c == 'U'; }, '\0');
    const std::size_t start = server.events.transcript.size();
    const std::size_t logged = server.events.log.size(); // where to find this computer
    std::int64_t mostUnread = 0;
    for (qint64 written = 0; written < 10 * 1024 * 1024; written += chunk.size()) {
        peer.write(chunk);
        ASSERT_TRUE(waitUntil([&] {
            mostUnread = std::max(mostUnread, server.session.unreadPeerBytes());
            return peer.bytesToWrite() < 4 * chunk.size();
        }));
    }
    // A message behind the garbage is still understood, and it is the only thing acted on.
    send("USER_MSG:fim");
    ASSERT_TRUE(waitUntil([&] { return server.events.log.size() > logged; }));
    EXPECT_EQ(server.lastLogLine(), "<ADV> fim");
    EXPECT_EQ(server.events.transcript.size(), start + 1);
    EXPECT_LE(mostUnread, GameSocket::ReadBufferSize);

    // A message that comes one byte at a time is acted on once.
    server.engine().randomizeFleet();
    server.engine().acceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));
    peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    for (char byte : QByteArray("$WINGAME$")) {
        send(QByteArray(1, byte));
        QTest::qWait(15); // each byte in a segment, and a read, of its own
    }
    send("USER_MSG:depois"); // once this is seen, nothing of the above is still on its way
    ASSERT_TRUE(waitUntil([this] { return server.lastLogLine() == "<ADV> depois"; }));
    EXPECT_EQ(server.engine().myWins(), 1);
    EXPECT_EQ(server.events.results, std::vector { true }); // one box: won
    EXPECT_EQ(server.events.sendFailures, 0);
}

// A chat line whose end may be a shot the network cut is shown on its own after a moment,
// and its end still becomes the shot when the rest arrives.
TEST_F(BarePeer, AChatLineEndingInACutMessageIsShownAndTheShotAnswered)
{
    ASSERT_NO_FATAL_FAILURE(playAsTarget());
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 19; }));
    EXPECT_EQ(peer.readAll(), "$READY$ &RANDOMIZED");
    send("USER_MSG:vou ao TIRO:B");
    ASSERT_TRUE(waitUntil([this] { return server.lastLogLine() == "<ADV> vou ao TIRO:B"; }));
    EXPECT_EQ(peer.bytesAvailable(), 0);
    send("1USER_MSG:e maisTIRO:C1");
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() >= 12; }));
    const QByteArray replies = peer.readAll();
    EXPECT_TRUE(replies.startsWith("TREQ:") || replies.startsWith("TAFQ:")) << replies.data();
    EXPECT_EQ(server.lastLogLine(), "<ADV> e mais");
}

// A copy that forgot our ready, as one does when it comes while its last match is still on
// screen, waits for it once it has declared, and ignores our first shot. After a while the
// ready is said again, once, and that copy's first shot then takes the turn.
TEST_F(BarePeer, AFirstShotLeftUnansweredSaysTheReadyAgain)
{
    server.engine().randomizeFleet();
    server.engine().acceptFleet();
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 19; }));
    EXPECT_EQ(peer.readAll(), "$READY$ &RANDOMIZED");
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));
    ASSERT_EQ(server.engine().fireAt({ 0, 0 }), FireResult::Fired);
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 7; }));
    EXPECT_EQ(peer.readAll(), "TIRO:A0");
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() > 0; }));
    EXPECT_EQ(peer.readAll(), "$READY$ &RANDOMIZED");

    send("TIRO:B1");
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() >= 6; }));
    const QByteArray answer = peer.readAll();
    EXPECT_TRUE(answer.startsWith("TREQ:") || answer.startsWith("TAFQ:")) << answer.data();
    EXPECT_FALSE(server.engine().matchState().isShooter);
    EXPECT_EQ(server.status(), "Let the game begin!\nA receber os tiros...");
}

// A copy that reads everything after "USER_MSG:" in a read as chat loses a ready of ours that
// came in the same read as a chat line; having declared first, it waits for it, and we for
// its shots. With no shot three seconds on, the ready is said again, once; as the target with
// no chat line just before, it is not.
TEST_F(BarePeer, AReadyRightBehindAChatLineIsSaidAgainWhenNoShotComes)
{
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return !server.engine().matchState().isShooter; }));
    server.engine().sendChatLine("espera");
    server.engine().randomizeFleet();
    server.engine().acceptFleet();
    ASSERT_EQ(server.phase(), GamePhase::Playing);
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 15 + 19; }));
    EXPECT_EQ(peer.readAll(), "USER_MSG:espera$READY$ &RANDOMIZED");
    QTest::qWait(GameSession::ReadyRepeatMs - 500);
    EXPECT_EQ(peer.bytesAvailable(), 0);
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() > 0; }));
    EXPECT_EQ(peer.readAll(), "$READY$ &RANDOMIZED");
    send("TIRO:B1");
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() >= 6; }));
    EXPECT_TRUE(peer.readAll().startsWith("T"));
    QTest::qWait(GameSession::ReadyRepeatMs + 500);
    EXPECT_EQ(peer.bytesAvailable(), 0) << "said again once";

    ASSERT_NO_FATAL_FAILURE(playOnANewConnection());
}

TEST_F(BarePeer, AReadyWithNoChatLineJustBeforeIsSaidOnce)
{
    server.engine().sendChatLine("espera");
    QTest::qWait(GameSession::ChatGlueMs + 100);
    ASSERT_NO_FATAL_FAILURE(playAsTarget());
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 15 + 19; }));
    peer.readAll();
    QTest::qWait(GameSession::ReadyRepeatMs + 500);
    EXPECT_EQ(peer.bytesAvailable(), 0);
}

// While the end-of-match box is open the connection goes on being read: a third copy is
// closed at once, the peer's last line is logged and its close handled. When the box is
// closed the win counts, and no new match starts without an opponent.
TEST_F(BarePeer, ConnectionsComeAndGoWhileABoxIsOpen)
{
    server.engine().randomizeFleet();
    server.engine().acceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));
    server.events.holdResults = true;
    send("$WINGAME$");
    ASSERT_TRUE(waitUntil([this] { return server.events.unseenResults.size() == 1; }));

    QTcpSocket third;
    third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.status() == thirdCopyStatus; }));
    ASSERT_TRUE(waitUntil([&] { return third.state() == QAbstractSocket::UnconnectedState; }))
        << "the third copy is told at once";
    peer.write("USER_MSG:tarde");
    peer.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.status() == peerClosedStatus; }));
    EXPECT_EQ(std::ranges::count(server.log(), "<ADV> tarde"), 1);
    EXPECT_EQ(server.engine().myWins(), 0) << "counted when the box is closed";

    server.events.showResult();
    EXPECT_EQ(server.engine().myWins(), 1);
    EXPECT_EQ(server.events.results, std::vector { true });
    EXPECT_EQ(server.events.sendFailures, 0);
    expectDisconnected(server);
}

// A peer that stops reading while our sends pile up: "Enviar" waits, each failed reply is
// reported (the window warns once while its warning is open), and the connection is ended as
// if the peer had closed it.
TEST_F(BarePeer, APeerThatStopsReadingIsLetGo)
{
    ASSERT_NO_FATAL_FAILURE(playAsTarget());
    const int resumed = server.events.resumed;
    // More than the socket will hold back, before the event loop can hand any of it on.
    for (int line = 0; line < 100; ++line)
        server.engine().sendChatLine(std::string(1000, 'x'));
    EXPECT_GT(server.events.chatSendFailures, 0);
    EXPECT_EQ(server.events.resumed, resumed);
    server.session.onPeerData("TIRO:A0");
    server.session.onPeerData("TIRO:B0");
    EXPECT_EQ(server.events.sendFailures, 2);
    ASSERT_TRUE(waitUntil([this] { return server.status() == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_EQ(server.events.sendFailures, 2);
    EXPECT_TRUE(server.events.results.empty());
    ASSERT_NO_FATAL_FAILURE(playOnANewConnection());
}

// Copies that come one after another while a match is under way are each closed at once, the
// fortieth as promptly as the first, so the listening queue never fills; the match goes on.
TEST_F(BarePeer, ThirdCopiesAreToldAtOnce)
{
    for (int copy = 0; copy < 40; ++copy) {
        QTcpSocket third;
        third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
        ASSERT_TRUE(waitUntil([&] { return third.state() == QAbstractSocket::UnconnectedState; }))
            << copy;
        EXPECT_EQ(third.error(), QAbstractSocket::RemoteHostClosedError) << copy;
    }
    EXPECT_EQ(server.status(), thirdCopyStatus);
    EXPECT_EQ(server.phase(), GamePhase::Placing);
    EXPECT_TRUE(server.session.peerConnected());
    ASSERT_NO_FATAL_FAILURE(playOnANewConnection());
}

} // namespace
