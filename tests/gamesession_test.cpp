// The connection layer over real sockets on the loopback interface: two sessions in one
// process meet over TCP, and bare sockets stand in for peers that misbehave.

#include "recordingwindow.h"

#include "match/controlids.h"
#include "match/gamesession.h"
#include "match/gamesocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QSignalSpy>
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

constexpr int Timeout = 10000;

const std::string serverBox = "TCP/IP Quorvel Naval: Impossível criar o socket\nPode estar o "
                              "porto já estar definido\nou não tem o protocolo TCP/IP instalado.";
const std::string clientBox
    = "Conecção TCP/IP: Impossível fazer conecção ao servidor/porto\nExpecificado.";
const std::string peerClosedStatus = "O outro jogador fechou a conecção\nJogo terminado.";
const std::string thirdCopyStatus = "Houve tentativa de conecção ao jogo por outro utilizador.";
const std::string winBox = "BUM! he he he...: Ganhou o jogo. Carrege em OK para novo.";
const std::string lossBox
    = "Melhor sorte para a próxima...: O outro jogador ganhou. Carrege em OK para novo jogo.";

// Like QTest::qWaitFor, but it sleeps in the event loop until the next event instead of
// polling every 10 ms, so a match of a few hundred round trips takes milliseconds.
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

// One player with no window: what the game window would show is recorded.
struct Player {
    GamePhase phase() const { return session.engine().matchState().phase; }
    const MatchState& state() const { return session.engine().matchState(); }
    MatchEngine& engine() { return session.engine(); }
    int matchesCounted() const { return session.engine().myWins() + session.engine().peerWins(); }
    bool canFire() const
    {
        return phase() == GamePhase::Playing && state().isShooter && !state().shotPending;
    }

    void listen(int port = 0)
    {
        window.controls = { 0, port, "127.0.0.1", true };
        session.onListenConnect();
    }
    void connect(int port, const std::string& address = "127.0.0.1")
    {
        window.controls = { 1, port, address, true };
        session.onListenConnect();
    }
    void declareGeneratedFleet()
    {
        engine().onRandomize();
        engine().onAcceptFleet();
    }

    RecordingWindow window;
    GameSession session { window };
};

std::string scoreTitle(const std::string& base, int mine, int theirs)
{
    return base + " [ Eu=" + std::to_string(mine) + " , Adv=" + std::to_string(theirs) + " ]";
}

int countCells(const Board& board, std::uint8_t code)
{
    return static_cast<int>(std::count(std::begin(board.cells), std::end(board.cells), code));
}

// A port nobody listens on (for as long as no other program takes it).
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A server and a client that met over TCP; both are placing their fleets.
class Connected : public testing::Test {
protected:
    void SetUp() override
    {
        server.listen();
        port = server.session.listeningPort();
        ASSERT_NE(port, 0);
        client.connect(port);
        ASSERT_TRUE(waitUntil([this] {
            return server.phase() == GamePhase::Placing && client.phase() == GamePhase::Placing;
        }));
    }

    // The first to declare fires first.
    void declareFleets(Player& first, Player& second)
    {
        first.declareGeneratedFleet();
        ASSERT_TRUE(waitUntil([&] { return !second.state().isShooter; }));
        second.declareGeneratedFleet();
        ASSERT_TRUE(waitUntil([&] {
            return first.phase() == GamePhase::Playing && second.phase() == GamePhase::Playing;
        }));
    }

    // Each side fires at its enemy grid's open cells in order until one fleet is gone and
    // both sides have counted the match. Answers the number of shots fired.
    int playToEnd()
    {
        const int counted = server.matchesCounted();
        int next[2] = { 0, 0 };
        int shots = 0;
        auto over = [&] {
            return server.matchesCounted() > counted && client.matchesCounted() > counted;
        };
        while (!over() && shots <= 250) {
            if (!waitUntil([&] { return over() || server.canFire() || client.canFire(); }))
                return -1;
            for (int s = 0; s < 2; ++s) {
                Player& side = s == 0 ? server : client;
                if (over() || !side.canFire())
                    continue;
                while (next[s] < 100) {
                    const int column = next[s] / 10;
                    const int row = next[s] % 10;
                    ++next[s];
                    if (side.engine().enemyBoard().getCell(column, row) == CellEmpty) {
                        side.engine().aimAt(column, row);
                        side.engine().fireShot();
                        ++shots;
                        break;
                    }
                }
            }
        }
        return over() ? shots : -1;
    }

    Player server;
    Player client;
    quint16 port = 0;
};

TEST_F(Connected, ConnectingStartsAMatchOnBothSides)
{
    EXPECT_EQ(server.window.title, scoreTitle("Quorvel Naval - Programa TCP/IP SERVIDOR", 0, 0));
    EXPECT_EQ(client.window.title, scoreTitle("Quorvel Naval - Programa TCP/IP CLIENTE", 0, 0));
    for (Player* player : { &server, &client }) {
        EXPECT_EQ(player->window.statusText, "Criar tabuleiro.");
        EXPECT_FALSE(player->window.connectionControls);
        EXPECT_TRUE(player->window.chatControls);
        EXPECT_TRUE(player->session.peerConnected());
        EXPECT_TRUE(player->window.boxes.empty());
    }
    // "Fechar COM" belongs to the client only.
    EXPECT_FALSE(server.window.enabled(IDC_CLOSE_COM));
    EXPECT_TRUE(client.window.enabled(IDC_CLOSE_COM));
    // The server still listens while the match runs.
    EXPECT_EQ(server.session.listeningPort(), port);
    EXPECT_EQ(client.session.listeningPort(), 0);
}

TEST_F(Connected, AWholeMatchOverTcpAndTheNextOne)
{
    ASSERT_NO_FATAL_FAILURE(declareFleets(server, client));
    EXPECT_TRUE(server.state().isShooter);
    EXPECT_FALSE(client.state().isShooter);

    ASSERT_GT(playToEnd(), 0);
    Player& winner = server.engine().myWins() == 1 ? server : client;
    Player& loser = &winner == &server ? client : server;
    EXPECT_EQ(winner.engine().myWins(), 1);
    EXPECT_EQ(winner.engine().peerWins(), 0);
    EXPECT_EQ(loser.engine().myWins(), 0);
    EXPECT_EQ(loser.engine().peerWins(), 1);
    EXPECT_EQ(winner.window.boxes, std::vector<std::string> { winBox });
    EXPECT_EQ(loser.window.boxes, std::vector<std::string> { lossBox });
    EXPECT_EQ(winner.window.title, scoreTitle("Redefinir novo jogo...", 1, 0));
    EXPECT_EQ(loser.window.title, scoreTitle("Redefinir novo jogo...", 0, 1));

    // The winner sank all eleven ships before it heard of its win; the next match has
    // started on both sides with fresh boards.
    EXPECT_EQ(std::count_if(winner.window.log.begin(), winner.window.log.end(),
                  [](const std::string& line) { return line.starts_with("<CPU> Afundou"); }),
        11);
    EXPECT_EQ(winner.phase(), GamePhase::Placing);
    EXPECT_EQ(loser.phase(), GamePhase::Placing);
    EXPECT_EQ(countCells(winner.engine().enemyBoard(), CellEmpty), 100);
    EXPECT_EQ(countCells(loser.engine().ownBoard(), CellEmpty), 100);

    // Next match, on the same connection: this time the client declares first.
    ASSERT_NO_FATAL_FAILURE(declareFleets(client, server));
    EXPECT_TRUE(client.state().isShooter);
    ASSERT_GT(playToEnd(), 0);
    EXPECT_EQ(server.matchesCounted(), 2);
    EXPECT_EQ(server.engine().myWins(), client.engine().peerWins());
    EXPECT_EQ(server.engine().peerWins(), client.engine().myWins());
    EXPECT_TRUE(server.session.peerConnected());
    EXPECT_TRUE(client.session.peerConnected());
}

TEST_F(Connected, AThirdCopyIsRefusedAndTheMatchGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(declareFleets(server, client));
    QTcpSocket third;
    QByteArray thirdReceived;
    QObject::connect(&third, &QTcpSocket::readyRead, [&] { thirdReceived += third.readAll(); });
    third.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == thirdCopyStatus; }));

    EXPECT_EQ(server.phase(), GamePhase::Playing);
    EXPECT_TRUE(server.session.peerConnected());
    EXPECT_TRUE(server.window.boxes.empty());

    // The match between the first two goes on to its end; the third copy hears nothing.
    ASSERT_GT(playToEnd(), 0);
    EXPECT_EQ(server.matchesCounted(), 1);
    EXPECT_EQ(client.matchesCounted(), 1);
    EXPECT_TRUE(thirdReceived.isEmpty());
}

TEST_F(Connected, FecharComOnTheClientIsThePeerClosingOnTheServer)
{
    ASSERT_NO_FATAL_FAILURE(declareFleets(server, client));
    ASSERT_GT(playToEnd(), 0);
    const int serverWins = server.engine().myWins();
    const int clientWins = client.engine().myWins();

    client.session.onCloseConnection();
    EXPECT_EQ(client.window.statusText,
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    EXPECT_EQ(client.window.title, scoreTitle("TCP/IP - Quorvel Naval", clientWins, serverWins));
    EXPECT_FALSE(client.session.peerConnected());

    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == peerClosedStatus; }));
    EXPECT_EQ(server.window.title, scoreTitle("TCP/IP - Quorvel Naval", serverWins, clientWins));
    for (Player* player : { &server, &client }) {
        SCOPED_TRACE(player == &server ? "server" : "client");
        EXPECT_EQ(player->phase(), GamePhase::Idle);
        EXPECT_FALSE(player->engine().connected());
        EXPECT_TRUE(player->window.connectionControls);
        EXPECT_FALSE(player->window.enabled(IDC_CLOSE_COM));
        EXPECT_FALSE(player->window.chatControls);
        EXPECT_TRUE(player->window.generatorShown);
        EXPECT_FALSE(player->window.enabled(IDC_RANDOMIZE));
        EXPECT_FALSE(player->window.enabled(IDC_ACCEPT));
        EXPECT_FALSE(player->window.enabled(IDC_GENERATOR_GROUP));
        EXPECT_EQ(player->session.sendToPeer("$XCHG_MACHINE$"), -1);
    }

    // The server no longer listens: a new client is refused by the system.
    EXPECT_EQ(server.session.listeningPort(), 0);
    QTcpSocket late;
    QSignalSpy lateError(&late, &QTcpSocket::errorOccurred);
    late.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] { return lateError.count() > 0; }));
    EXPECT_EQ(late.error(), QAbstractSocket::ConnectionRefusedError);

    // "Escutar" again starts the score afresh; the client comes back for a new match.
    server.listen();
    EXPECT_EQ(server.window.title, scoreTitle("Quorvel Naval - Programa TCP/IP SERVIDOR", 0, 0));
    client.connect(server.session.listeningPort());
    ASSERT_TRUE(waitUntil([this] {
        return server.phase() == GamePhase::Placing && client.phase() == GamePhase::Placing;
    }));
    EXPECT_EQ(client.window.title, scoreTitle("Quorvel Naval - Programa TCP/IP CLIENTE", 0, 0));
}

TEST_F(Connected, SendsTheSocketCannotTakeFailAndRecover)
{
    // Little is written out before the event loop runs, so the sends pile up to the bound;
    // one-byte chat texts fill it to the last byte.
    const std::string chat = "USER_MSG:" + std::string(1000, 'x');
    int accepted = 0;
    while (client.session.sendToPeer(chat) > 0)
        ++accepted;
    EXPECT_GT(accepted, 0);
    EXPECT_LE(accepted, GameSocket::WriteBacklogLimit / static_cast<int>(chat.size()) + 1);
    while (client.session.sendToPeer("x") > 0) { }

    client.engine().sendToPeerGuarded("$XCHG_MACHINE$");
    EXPECT_EQ(client.window.boxes,
        std::vector<std::string> { "Envio de mensagem: Erro ao comunicar dados.Buffer underrun?" });
    client.engine().sendChatLine("ola");
    EXPECT_FALSE(client.window.enabled(IDC_SEND));
    EXPECT_TRUE(client.state().sendPending);

    // Once the bytes went out the socket can send again. The chat texts run together at the
    // other end, since chat has no end marker; the last one ends the last line.
    ASSERT_TRUE(waitUntil([this] { return client.window.enabled(IDC_SEND); }));
    EXPECT_FALSE(client.state().sendPending);
    EXPECT_EQ(client.session.sendToPeer("USER_MSG:ola"), 12);
    ASSERT_TRUE(waitUntil([this] {
        return !server.window.log.empty() && server.window.log.back().ends_with("ola");
    }));
}

TEST(GameSessionControls, ModeChangeSetsTheButtonAndTheAddressField)
{
    struct Case {
        int socketMode;
        const char* caption;
        bool addressEnabled;
    };
    for (const Case& c : { Case { 1, "Conectar", true }, Case { 0, "Escutar", false } }) {
        SCOPED_TRACE(c.caption);
        Player player;
        player.window.controls.socketMode = c.socketMode;
        player.session.onModeChanged();
        EXPECT_EQ(player.window.captions[IDC_LISTEN_CONNECT], c.caption);
        EXPECT_EQ(player.window.enabled(IDC_ADDRESS), c.addressEnabled);
    }
}

TEST(GameSessionControls, ARefusedPortChangesNothing)
{
    for (int mode : { 0, 1 }) {
        SCOPED_TRACE(mode);
        Player player;
        player.window.controls = { mode, 4000, "127.0.0.1", false };
        player.session.onListenConnect();
        EXPECT_EQ(player.window.transcript, std::vector<std::string> { "save controls" });
        EXPECT_EQ(player.session.listeningPort(), 0);
        EXPECT_FALSE(player.session.peerConnected());
    }
}

TEST(GameSessionControls, FecharComWhileConnectingAbandonsTheAttempt)
{
    Player server;
    Player client;
    server.listen();
    EXPECT_EQ(server.window.statusText, "A esperar pela conecção...");
    EXPECT_FALSE(server.window.connectionControls);
    EXPECT_FALSE(server.window.enabled(IDC_CLOSE_COM));
    EXPECT_FALSE(server.window.chatControls);

    client.connect(server.session.listeningPort());
    EXPECT_EQ(client.window.statusText, "A estabelecer conecção ao servidor...");
    EXPECT_FALSE(client.window.connectionControls);
    EXPECT_TRUE(client.window.enabled(IDC_CLOSE_COM));
    client.session.onCloseConnection();
    EXPECT_EQ(client.window.statusText,
        "As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    EXPECT_TRUE(client.window.connectionControls);
    EXPECT_FALSE(client.window.enabled(IDC_CLOSE_COM));

    // On the loopback interface the system completed the connection at once, so the server
    // took it and then saw it close. The client heard nothing more of it.
    ASSERT_TRUE(waitUntil([&] { return server.window.statusText == peerClosedStatus; }));
    EXPECT_EQ(server.session.listeningPort(), 0);
    EXPECT_EQ(client.phase(), GamePhase::Idle);
    EXPECT_EQ(client.window.title, scoreTitle("TCP/IP - Quorvel Naval", 0, 0));
    EXPECT_FALSE(client.window.chatControls);
    EXPECT_FALSE(client.session.peerConnected());
    EXPECT_TRUE(client.window.boxes.empty());
}

TEST(GameSessionFailure, ListenOrConnectThatFailsIsReported)
{
    struct Case {
        const char* name;
        std::function<ControlValues(QTcpServer& other)> controls;
        std::string box;
        std::string status;
    };
    const Case cases[] = {
        { "port in use",
            [](QTcpServer& other) {
                other.listen(QHostAddress::Any, 0);
                return ControlValues { 0, other.serverPort(), "", true };
            },
            serverBox, "Reveja as definições\nde conecção." },
        { "port out of range",
            [](QTcpServer&) {
                return ControlValues { 0, 70000, "", true };
            },
            serverBox, "Reveja as definições\nde conecção." },
        { "nothing listening",
            [](QTcpServer&) {
                return ControlValues { 1, closedPort(), "127.0.0.1", true };
            },
            clientBox, "Reveja as definições de rede." },
        // These fail at once, before any packet is sent.
        { "no address",
            [](QTcpServer&) {
                return ControlValues { 1, 4000, "", true };
            },
            clientBox, "Reveja as definições de rede." },
        { "not a host name",
            [](QTcpServer&) {
                return ControlValues { 1, 4000, "no such host!", true };
            },
            clientBox, "Reveja as definições de rede." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTcpServer other;
        Player player;
        player.window.controls = c.controls(other);
        player.session.onListenConnect();
        ASSERT_TRUE(waitUntil([&] { return !player.window.boxes.empty(); }));
        EXPECT_EQ(player.window.boxes, std::vector<std::string> { c.box });
        EXPECT_NE(std::find_if(player.window.transcript.begin(), player.window.transcript.end(),
                      [](const std::string& line) { return line.ends_with("(error)"); }),
            player.window.transcript.end());
        EXPECT_EQ(player.window.statusText, c.status);
        EXPECT_TRUE(player.window.connectionControls);
        EXPECT_FALSE(player.window.enabled(IDC_CLOSE_COM));
        EXPECT_FALSE(player.window.chatControls);
        EXPECT_EQ(player.session.listeningPort(), 0);
        EXPECT_FALSE(player.session.peerConnected());
        EXPECT_EQ(player.phase(), GamePhase::Idle);
    }
}

class GameSessionAddress : public testing::TestWithParam<const char*> { };

TEST_P(GameSessionAddress, TheClientReachesTheServer)
{
    const std::string address = GetParam();
    if (address.find(':') != std::string::npos) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHostIPv6, 0))
            GTEST_SKIP() << "no IPv6 loopback here";
    }
    Player server;
    Player client;
    server.listen();
    client.connect(server.session.listeningPort(), address);
    ASSERT_TRUE(waitUntil([&] {
        return server.phase() == GamePhase::Placing && client.phase() == GamePhase::Placing;
    }));
    EXPECT_EQ(client.window.title, scoreTitle("Quorvel Naval - Programa TCP/IP CLIENTE", 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Forms, GameSessionAddress,
    testing::Values("127.0.0.1", " 127.0.0.1 ", "localhost", "::1", "[::1]"));

// A listening player and a bare socket that connected to it: a peer that can misbehave.
class BarePeer : public testing::Test {
protected:
    void SetUp() override
    {
        server.listen();
        QObject::connect(&peer, &QTcpSocket::readyRead, [this] { received += peer.readAll(); });
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

    std::vector<std::string> transcriptFrom(std::size_t start) const
    {
        return { server.window.transcript.begin() + static_cast<long>(start),
            server.window.transcript.end() };
    }

    Player server;
    QTcpSocket peer;
    QByteArray received;
};

TEST_F(BarePeer, AResetMidMatchIsThePeerClosing)
{
    server.declareGeneratedFleet();
    ASSERT_TRUE(waitUntil([this] { return received == "$READY$ &RANDOMIZED"; }));
    send("$READY$");
    ASSERT_TRUE(waitUntil([this] { return server.canFire(); }));
    server.engine().aimAt(2, 7);
    server.engine().fireShot();
    ASSERT_TRUE(waitUntil([this] { return received.endsWith("TIRO:C7"); }));

    // No lingering: closing sends a reset instead of an orderly end.
    const linger abortive { 1, 0 };
    ASSERT_EQ(setsockopt(static_cast<int>(peer.socketDescriptor()), SOL_SOCKET, SO_LINGER,
                  &abortive, sizeof abortive),
        0);
    peer.abort();

    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == peerClosedStatus; }));
    EXPECT_EQ(server.phase(), GamePhase::Idle);
    EXPECT_FALSE(server.engine().connected());
    EXPECT_FALSE(server.session.peerConnected());
    EXPECT_TRUE(server.window.connectionControls);
    EXPECT_FALSE(server.window.chatControls);
    EXPECT_EQ(server.session.listeningPort(), 0);
    EXPECT_TRUE(server.window.boxes.empty());
}

TEST_F(BarePeer, TenMegabytesOfGarbageAreReadAndIgnored)
{
    // Random bytes, zeros included, without the first characters of any message.
    QByteArray chunk(64 * 1024, '\0');
    for (char& byte : chunk) {
        do
            byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
        while (byte == '$' || byte == 'T' || byte == 'U');
    }
    const std::size_t start = server.window.transcript.size();
    constexpr qint64 total = 10 * 1024 * 1024;
    qint64 written = 0;
    std::int64_t mostUnread = 0;
    while (written < total) {
        if (peer.bytesToWrite() < 4 * chunk.size()) {
            peer.write(chunk);
            written += chunk.size();
        }
        ASSERT_TRUE(waitUntil([&] {
            mostUnread = std::max(mostUnread, server.session.unreadPeerBytes());
            return peer.bytesToWrite() < 4 * chunk.size();
        }));
    }
    // A message behind the garbage is still understood, and it is the only thing acted on.
    send("$XCHG_MACHINE$");
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == "A enviar tiro 1..."; }));
    EXPECT_EQ(transcriptFrom(start), std::vector<std::string> { "status A enviar tiro 1..." });
    EXPECT_LE(mostUnread, GameSocket::ReadBufferSize);
    EXPECT_EQ(server.phase(), GamePhase::Placing);
    EXPECT_TRUE(server.session.peerConnected());
}

TEST_F(BarePeer, AMessageThatComesByteByByteIsActedOnOnce)
{
    peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    for (char byte : QByteArray("$WINGAME$")) {
        send(QByteArray(1, byte));
        QTest::qWait(15); // each byte in a segment, and a read, of its own
    }
    ASSERT_TRUE(waitUntil([this] { return server.engine().myWins() == 1; }));
    send("$XCHG_MACHINE$"); // once this is seen, nothing of the above is still on its way
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == "A enviar tiro 1..."; }));
    EXPECT_EQ(server.engine().myWins(), 1);
    EXPECT_EQ(server.window.boxes, std::vector<std::string> { winBox });
    EXPECT_EQ(server.phase(), GamePhase::Placing);
}

// A connection that comes while the end-of-match box is open is refused like any other, and
// the next match runs with the first opponent.
TEST_F(BarePeer, AThirdCopyWhileTheEndOfMatchBoxIsOpenIsRefused)
{
    QTcpSocket third;
    std::string statusDuringBox;
    server.window.duringBox = [&] {
        third.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.window.statusText == thirdCopyStatus; }));
        statusDuringBox = server.window.statusText;
    };
    send("$WINGAME$");
    ASSERT_TRUE(waitUntil([this] { return server.engine().myWins() == 1; }));
    server.window.duringBox = nullptr;
    EXPECT_EQ(statusDuringBox, thirdCopyStatus);

    EXPECT_EQ(server.phase(), GamePhase::Placing);
    send("$XCHG_MACHINE$");
    ASSERT_TRUE(waitUntil([this] { return server.window.statusText == "A enviar tiro 1..."; }));
    EXPECT_EQ(peer.state(), QAbstractSocket::ConnectedState);
    EXPECT_TRUE(server.session.peerConnected());
}

// The end-of-match box is open inside the read handler when the peer sends more and goes
// away. The handler must return into a live socket object, and nothing that came on the
// closed connection may be acted on afterwards.
TEST_F(BarePeer, ThePeerClosesWhileABoxIsOpen)
{
    bool closedDuringBox = false;
    server.window.duringBox = [this, &closedDuringBox] {
        peer.write("$XCHG_MACHINE$");
        peer.flush();
        peer.disconnectFromHost();
        // Runs the event loop with deferred deletions, as a modal box's loop would.
        closedDuringBox = QTest::qWaitFor(
            [this] { return server.window.statusText == peerClosedStatus; }, Timeout);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    send("$WINGAME$");
    ASSERT_TRUE(waitUntil([this] { return server.engine().myWins() == 1; }));
    server.window.duringBox = nullptr;
    EXPECT_TRUE(closedDuringBox);
    QTest::qWait(50);

    EXPECT_EQ(server.window.boxes, std::vector<std::string> { winBox });
    EXPECT_EQ(server.window.statusText, peerClosedStatus);
    EXPECT_EQ(server.window.title, scoreTitle("Redefinir novo jogo...", 1, 0));
    EXPECT_EQ(server.phase(), GamePhase::Idle); // no new match without an opponent
    EXPECT_FALSE(server.engine().connected());
    EXPECT_TRUE(server.window.connectionControls);
    EXPECT_EQ(std::count(server.window.transcript.begin(), server.window.transcript.end(),
                  "status A enviar tiro 1..."),
        0);

    // The session is as good as new.
    server.listen();
    QTcpSocket next;
    next.connectToHost(QHostAddress::LocalHost, server.session.listeningPort());
    ASSERT_TRUE(waitUntil([this] { return server.phase() == GamePhase::Placing; }));
}

} // namespace
