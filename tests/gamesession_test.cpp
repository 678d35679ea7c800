// The connection layer over loopback TCP: two sessions, and bare sockets as peers that misbehave.

#include "freeport.h"
#include "recordingwindow.h"
#include "waituntil.h"

#include "match/controlids.h"
#include "net/gamesession.h"

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
const std::string winBox = "BUM! he he he...: Ganhou o jogo. Carrege em OK para novo.";
const std::string probeLine = "Uma conecção chegou e fechou-se sem jogar.";

std::string listeningStatus(int port)
{
    return "A esperar pela conecção...\nPorto " + std::to_string(port) + ".";
}

// One player with no window: what the game window would show is recorded.
struct Player {
    MatchEngine& engine() { return session.engine(); }
    GamePhase phase() const { return session.engine().matchState().phase; }
    int matchesCounted() const { return session.engine().myWins() + session.engine().peerWins(); }
    bool canFire() const { return session.engine().mayFire(); }
    void open(int mode, int port, const std::string& address = "127.0.0.1", bool valid = true)
    {
        window.controls = { mode, port, address, valid };
        session.onListenConnect();
    }

    RecordingWindow window;
    GameSession session { window };
};

bool bothIn(GamePhase phase, const Player& a, const Player& b)
{
    return waitUntil([&] { return a.phase() == phase && b.phase() == phase; });
}

// After any end of a connection only the connection group can be used.
void expectDisconnected(const Player& player)
{
    EXPECT_EQ(player.phase(), GamePhase::Idle);
    EXPECT_TRUE(player.window.connectionControls);
    EXPECT_FALSE(player.window.enabled(IDC_CLOSE_COM) || player.window.chatControls
        || player.session.peerConnected() || player.session.listeningPort() != 0);
}

// The first to declare its fleet fires first.
bool declareFleets(Player& first, Player& second)
{
    first.engine().onRandomize();
    first.engine().onAcceptFleet();
    if (!waitUntil([&] { return !second.engine().matchState().isShooter; }))
        return false;
    second.engine().onRandomize();
    second.engine().onAcceptFleet();
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
        for (bool refused = true; refused && next[s] < 100; ++next[s]) {
            shooter.aimAt(next[s] / 10, next[s] % 10);
            refused = shooter.fireShot();
        }
    }
    return false;
}

// A third copy refused during a match; "Fechar COM" on the client is the server's peer closing.
TEST(GameSession, TwoSessionsPlayOverTcpUntilTheClientCloses)
{
    Player server;
    Player client;
    server.open(0, 0);
    EXPECT_EQ(server.window.statusText,
        "A esperar pela conecção...\nPorto " + std::to_string(server.session.listeningPort())
            + ".");
    client.open(1, server.session.listeningPort());
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_EQ(server.window.title, "Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ]");
    EXPECT_EQ(client.window.title, "Quorvel Naval - Programa TCP/IP CLIENTE [ Eu=0 , Adv=0 ]");
    EXPECT_TRUE(client.window.enabled(IDC_CLOSE_COM) && server.window.enabled(IDC_CLOSE_COM));

    ASSERT_TRUE(declareFleets(server, client));
    QTcpSocket third;
    third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == thirdCopyStatus; }));
    ASSERT_TRUE(playFirstMatch(server, client));
    EXPECT_EQ(third.bytesAvailable(), 0); // the third copy hears nothing
    Player& winner = server.engine().myWins() == 1 ? server : client;
    Player& loser = &winner == &server ? client : server;
    EXPECT_EQ(winner.window.title, "Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    EXPECT_EQ(loser.window.title, "Redefinir novo jogo... [ Eu=0 , Adv=1 ]");

    // The next match starts on the same connection; this time the client declares first.
    ASSERT_TRUE(declareFleets(client, server));

    client.session.onCloseConnection();
    EXPECT_EQ(client.window.statusText,
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == peerClosedStatus; }));
    EXPECT_EQ(winner.window.title, "TCP/IP - Quorvel Naval [ Eu=1 , Adv=0 ]");
    EXPECT_EQ(loser.window.title, "TCP/IP - Quorvel Naval [ Eu=0 , Adv=1 ]");
    for (Player* player : { &server, &client }) {
        expectDisconnected(*player); // the server no longer listening either
        EXPECT_TRUE(player->window.generatorShown && !player->window.enabled(IDC_GENERATOR_GROUP)
            && !player->window.enabled(IDC_RANDOMIZE) && !player->window.enabled(IDC_ACCEPT));
    }

    // "Escutar" and "Conectar" again start the score afresh, the winner's and the loser's. A
    // client that gives up while connecting: over loopback the connection was made at once,
    // so the server sees its peer close before a word, and goes on listening.
    server.open(0, 0);
    EXPECT_EQ(server.window.title, "Quorvel Naval - Programa TCP/IP SERVIDOR [ Eu=0 , Adv=0 ]");
    client.open(1, server.session.listeningPort());
    EXPECT_EQ(client.window.statusText, "A estabelecer conecção ao servidor...");
    client.session.onCloseConnection();
    EXPECT_EQ(client.window.title, "TCP/IP - Quorvel Naval [ Eu=0 , Adv=0 ]");
    ASSERT_TRUE(waitUntil(
        [&] { return !server.window.log.empty() && server.window.log.back() == probeLine; }));
    EXPECT_EQ(server.window.statusText, listeningStatus(server.session.listeningPort()));
    expectDisconnected(client);

    server.open(0, 0); // and then one that comes by host name
    client.open(1, server.session.listeningPort(), "localhost");
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
}

TEST(GameSession, FailedOrRefusedAttemptsLeaveItDisconnected)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    const int closedPort = portNobodyListensOn();
    ASSERT_NE(closedPort, 0);
    // What a failed listen (mode 0) and a failed connect (mode 1) show.
    const std::string caption[] = { "TCP/IP Quorvel Naval: ", "Conecção TCP/IP: " };
    const std::string status[]
        = { "Reveja as definições\nde conecção.", "Reveja as definições de rede." };
    const ControlValues cases[] = { { 0, holder.serverPort(), "" }, { 0, 70000, "" },
        { 0, 65536, "" }, { 0, -1, "" }, { 1, 65536, "127.0.0.1" }, { 1, closedPort, "127.0.0.1" },
        // These two fail at once, before any packet is sent.
        { 1, 4000, "" }, { 1, 4000, "no such host!" } };
    for (const ControlValues& c : cases) {
        SCOPED_TRACE(c.address + ":" + std::to_string(c.port));
        Player player;
        player.window.controls = c;
        player.session.onListenConnect();
        ASSERT_TRUE(waitUntil([&] { return !player.window.boxes.empty(); }));
        EXPECT_TRUE(player.window.boxes.size() == 1
            && player.window.boxes[0].starts_with(caption[c.socketMode]));
        EXPECT_TRUE(std::ranges::any_of(player.window.transcript,
            [](const std::string& line) { return line.ends_with("(error)"); })); // critical
        EXPECT_EQ(player.window.statusText, status[c.socketMode]);
        expectDisconnected(player);
    }

    // A refused port text stops there: nothing is opened.
    for (int mode : { 0, 1 }) {
        Player player;
        player.open(mode, 4000, "127.0.0.1", false);
        EXPECT_EQ(player.window.transcript, std::vector<std::string> { "save controls" });
        EXPECT_FALSE(player.session.listeningPort() != 0 || player.session.peerConnected());
    }
}

// Port 0 shows the port the system chose; "Fechar COM" gives up listening, and once an
// opponent has connected it ends the connection, as a client's does: the server does not
// go on listening.
TEST(GameSession, AServerShowsItsPortAndCanStopListening)
{
    Player server;
    server.open(0, 0);
    const int port = server.session.listeningPort();
    ASSERT_NE(port, 0);
    EXPECT_EQ(server.window.shownPort, port);
    // The status of any listen, then the port the system chose.
    const auto waiting
        = std::ranges::find(server.window.transcript, "status A esperar pela conecção...");
    ASSERT_NE(waiting, server.window.transcript.end());
    EXPECT_NE(std::find(waiting, server.window.transcript.end(),
                  "status A esperar pela conecção...\nPorto " + std::to_string(port) + "."),
        server.window.transcript.end());
    EXPECT_EQ(server.window.statusText,
        "A esperar pela conecção...\nPorto " + std::to_string(port) + ".");
    EXPECT_TRUE(server.window.enabled(IDC_CLOSE_COM));

    server.session.onCloseConnection();
    expectDisconnected(server);
    EXPECT_EQ(server.window.statusText,
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    Player late;
    late.open(1, port);
    ASSERT_TRUE(waitUntil([&] { return !late.window.boxes.empty(); })) << "nobody listens";

    Player client;
    server.open(0, 0);
    EXPECT_EQ(server.window.shownPort, server.session.listeningPort());
    client.open(1, server.session.listeningPort());
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_TRUE(server.window.enabled(IDC_CLOSE_COM));
    EXPECT_TRUE(client.window.enabled(IDC_CLOSE_COM));
    server.session.onCloseConnection();
    EXPECT_EQ(server.window.statusText,
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    expectDisconnected(server);
    ASSERT_TRUE(waitUntil([&] { return client.window.statusText == peerClosedStatus; }));
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
    server.open(0, 0);
    const int port = server.session.listeningPort();
    const std::string title = server.window.title;
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
            server.engine().onRandomize();
            server.engine().onAcceptFleet();
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
        ASSERT_FALSE(server.window.log.empty());
        EXPECT_EQ(server.window.log.back(), probeLine);
        EXPECT_EQ(server.window.statusText, listeningStatus(port));
        EXPECT_EQ(server.session.listeningPort(), port);
        EXPECT_EQ(server.window.title, title);
        EXPECT_TRUE(server.window.enabled(IDC_CLOSE_COM) && server.window.generatorShown);
        EXPECT_FALSE(server.window.connectionControls || server.window.chatControls
            || server.window.enabled(IDC_GENERATOR_GROUP) || server.window.enabled(IDC_RANDOMIZE)
            || server.window.enabled(IDC_ACCEPT) || !server.window.boxes.empty());
    }
    EXPECT_EQ(std::ranges::count(server.window.log, probeLine), std::ssize(probes));

    Player client;
    client.open(1, port);
    ASSERT_TRUE(bothIn(GamePhase::Placing, server, client));
    EXPECT_EQ(server.window.statusText, "Criar tabuleiro.");
    ASSERT_TRUE(declareFleets(client, server));
    client.session.onCloseConnection();
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == peerClosedStatus; }));
    expectDisconnected(server);

    server.open(0, 0);
    QTcpSocket talker;
    talker.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.phase() == GamePhase::Placing; }));
    talker.write("USER_MSG:adeus");
    talker.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_EQ(server.window.log.back(), "<ADV> adeus");
    EXPECT_EQ(std::ranges::count(server.window.log, probeLine), std::ssize(probes));
}

// The last port of the range is tried like any other; one past it is refused before any
// attempt. (Nothing is bound to a fixed port here: the attempt goes to whatever may be at
// 65535 on this machine, and only its start is looked at.)
TEST(GameSession, ThePortAtTheTopOfTheRangeIsTried)
{
    Player top;
    top.open(1, 65535);
    EXPECT_TRUE(top.window.boxes.empty());
    EXPECT_EQ(top.window.statusText, "A estabelecer conecção ao servidor...");
    Player beyond;
    beyond.open(1, 65536);
    EXPECT_EQ(beyond.window.boxes.size(), 1u);
    EXPECT_EQ(beyond.window.statusText, "Reveja as definições de rede.");
}

// A listening player and a bare socket that connected to it: a peer that can misbehave.
class BarePeer : public testing::Test {
protected:
    void SetUp() override
    {
        server.open(0, 0);
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
        server.engine().onRandomize();
        server.engine().onAcceptFleet();
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
            ASSERT_TRUE(waitUntil([&] { return server.window.statusText == ended; }));
        }
        server.window.holdBoxes = false;
        Player client;
        server.open(0, 0);
        client.open(1, server.session.listeningPort());
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
    server.engine().onRandomize();
    server.engine().onAcceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));

    const linger abortive { 1, 0 }; // closing sends a reset instead of an orderly end
    ASSERT_EQ(setsockopt(static_cast<int>(peer.socketDescriptor()), SOL_SOCKET, SO_LINGER,
                  &abortive, sizeof abortive),
        0);
    peer.abort();
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_TRUE(server.window.boxes.empty());
}

TEST_F(BarePeer, GarbageIsIgnoredAndASlowMessageActedOnOnce)
{
    // Random bytes, zeros included, without the first characters of any message.
    QByteArray chunk(64 * 1024, '\0');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()), 16 * 1024);
    std::ranges::replace_if(
        chunk, [](char c) { return c == '$' || c == 'T' || c == 'U'; }, '\0');
    const std::size_t start = server.window.transcript.size();
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
    ASSERT_TRUE(waitUntil([this] { return !server.window.log.empty(); }));
    EXPECT_EQ(server.window.log.back(), "<ADV> fim");
    EXPECT_EQ(server.window.transcript.size(), start + 1);
    EXPECT_LE(mostUnread, GameSocket::ReadBufferSize);

    // A message that comes one byte at a time is acted on once.
    server.engine().onRandomize();
    server.engine().onAcceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));
    peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    for (char byte : QByteArray("$WINGAME$")) {
        send(QByteArray(1, byte));
        QTest::qWait(15); // each byte in a segment, and a read, of its own
    }
    send("USER_MSG:depois"); // once this is seen, nothing of the above is still on its way
    ASSERT_TRUE(waitUntil([this] { return server.window.log.back() == "<ADV> depois"; }));
    EXPECT_EQ(server.engine().myWins(), 1);
    EXPECT_EQ(server.window.boxes, std::vector { winBox });
}

// A chat line whose end may be a shot the network cut is shown on its own after a moment,
// and its end still becomes the shot when the rest arrives.
TEST_F(BarePeer, AChatLineEndingInACutMessageIsShownAndTheShotAnswered)
{
    ASSERT_NO_FATAL_FAILURE(playAsTarget());
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() == 19; }));
    EXPECT_EQ(peer.readAll(), "$READY$ &RANDOMIZED");
    send("USER_MSG:vou ao TIRO:B");
    ASSERT_TRUE(waitUntil([this] {
        return !server.window.log.empty() && server.window.log.back() == "<ADV> vou ao TIRO:B";
    }));
    EXPECT_EQ(peer.bytesAvailable(), 0);
    send("1USER_MSG:e maisTIRO:C1");
    ASSERT_TRUE(waitUntil([this] { return peer.bytesAvailable() >= 12; }));
    const QByteArray replies = peer.readAll();
    EXPECT_TRUE(replies.startsWith("TREQ:") || replies.startsWith("TAFQ:")) << replies.data();
    EXPECT_EQ(server.window.log.back(), "<ADV> e mais");
}

// While the end-of-match box is open the connection goes on being read: a third copy is
// closed at once, the peer's last line is logged and its close handled. When the box is
// closed the win counts, and no new match starts without an opponent.
TEST_F(BarePeer, ConnectionsComeAndGoWhileABoxIsOpen)
{
    server.engine().onRandomize();
    server.engine().onAcceptFleet();
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Playing; }));
    server.window.holdBoxes = true;
    send("$WINGAME$");
    ASSERT_TRUE(waitUntil([this] { return server.window.openBoxes.size() == 1; }));

    QTcpSocket third;
    third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == thirdCopyStatus; }));
    ASSERT_TRUE(waitUntil([&] { return third.state() == QAbstractSocket::UnconnectedState; }))
        << "the third copy is told at once";
    peer.write("USER_MSG:tarde");
    peer.disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == peerClosedStatus; }));
    EXPECT_EQ(std::ranges::count(server.window.log, "<ADV> tarde"), 1);
    EXPECT_EQ(server.engine().myWins(), 0) << "counted when the box is closed";

    server.window.closeBox();
    EXPECT_EQ(server.engine().myWins(), 1);
    EXPECT_EQ(server.window.boxes, std::vector { winBox });
    expectDisconnected(server);
}

// A peer that stops reading while our sends pile up: a failed reply warns once, however many
// fail while the warning is open, and the connection is ended as if the peer had closed it.
TEST_F(BarePeer, APeerThatStopsReadingIsLetGo)
{
    ASSERT_NO_FATAL_FAILURE(playAsTarget());
    server.window.holdBoxes = true;
    // More than the socket will hold back, before the event loop can hand any of it on.
    for (int line = 0; line < 100; ++line)
        server.engine().sendChatLine(std::string(1000, 'x'));
    EXPECT_FALSE(server.window.enabled(IDC_SEND));
    server.session.onPeerData("TIRO:A0");
    server.session.onPeerData("TIRO:B0");
    EXPECT_EQ(server.window.openBoxes.size(), 1u);
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == peerClosedStatus; }));
    expectDisconnected(server);
    EXPECT_EQ(server.window.boxes.size(), 1u);
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
    EXPECT_EQ(server.window.statusText, thirdCopyStatus);
    EXPECT_EQ(server.phase(), GamePhase::Placing);
    EXPECT_TRUE(server.session.peerConnected());
    ASSERT_NO_FATAL_FAILURE(playOnANewConnection());
}

} // namespace
