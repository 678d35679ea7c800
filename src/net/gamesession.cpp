#include "gamesession.h"

#include "match/controlids.h"
#include "match/windowrequests.h"

#include <QString>

#include <string>

namespace {

constexpr std::string_view serverTitle = "Quorvel Naval - Programa TCP/IP SERVIDOR";
constexpr std::string_view clientTitle = "Quorvel Naval - Programa TCP/IP CLIENTE";
constexpr std::string_view closedTitle = "TCP/IP - Quorvel Naval";

bool isPort(int port) { return port >= 0 && port <= 65535; }

// The address field as the socket takes it: surrounding blanks dropped, and an IPv6
// address also accepted in the brackets of a URL ("[::1]").
QString hostName(const std::string& address)
{
    QString host = QString::fromStdString(address).trimmed();
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

} // namespace

GameSession::GameSession(WindowRequests& windowRequests)
    : window(windowRequests)
    , match(windowRequests, *this)
    , listenSocket(*this)
    , peerSocket(*this)
{
    heldChatTimer.setSingleShot(true);
    heldChatTimer.setInterval(HeldChatMs);
    QObject::connect(&heldChatTimer, &QTimer::timeout, [this] { match.showHeldChat(); });
}

GameSession::~GameSession() = default;

void GameSession::onModeChanged()
{
    const ControlValues controls = window.saveControls();
    const bool client = controls.socketMode != 0;
    window.setButtonCaption(IDC_LISTEN_CONNECT, client ? "Conectar" : "Escutar");
    window.enableControl(IDC_ADDRESS, client);
}

// Every listen or connect starts the score afresh. A port the window refused leaves
// everything as it was: the player corrects it and tries again.
void GameSession::onListenConnect()
{
    const ControlValues controls = window.saveControls();
    if (!controls.valid)
        return;
    match.resetScore();
    window.enableConnectionControls(false);
    window.enableControl(IDC_CLOSE_COM, false);

    if (controls.socketMode == 0) {
        window.setStatusText("A esperar pela conecção...");
        // A port in use, or any other reason the system will not listen there.
        if (!isPort(controls.port)
            || !listenSocket.listen(static_cast<std::uint16_t>(controls.port), loopbackOnly)) {
            window.messageBox("Impossível criar o socket\nPode estar o porto já estar definido\n"
                              "ou não tem o protocolo TCP/IP instalado.",
                "TCP/IP Quorvel Naval", BoxIcon::Error, {});
            window.enableConnectionControls(true);
            window.enableControl(IDC_CLOSE_COM, false);
            window.setStatusText("Reveja as definições\nde conecção.");
            return;
        }
        window.updateTitle(serverTitle, match.myWins(), match.peerWins());
        portChosen = controls.port == 0;
        if (portChosen) {
            window.showListeningPort(listenSocket.localPort());
            window.setStatusText(listeningStatus());
        }
        // Listening can be given up: "Fechar COM" ends it as it ends a connection.
        window.enableControl(IDC_CLOSE_COM, true);
        return;
    }

    window.enableControl(IDC_CLOSE_COM, true);
    window.setStatusText("A estabelecer conecção ao servidor...");
    if (!isPort(controls.port)) {
        onConnectFailed();
        return;
    }
    peerSocket.connectToHost(hostName(controls.address), static_cast<std::uint16_t>(controls.port));
}

void GameSession::onCloseConnection()
{
    window.setStatusText("As comunicações foram encerradas.Pode voltar a conectar para novo jogo.");
    window.updateTitle(closedTitle, match.myWins(), match.peerWins());
    peerSocket.close();
    listenSocket.close();
    window.enableConnectionControls(true);
    window.enableControl(IDC_CLOSE_COM, false);
    window.disableGeneratorControls();
    window.enableChatControls(false);
    window.showGenerator(true);
    match.connectionClosed();
    window.repaint();
}

// One opponent per connection: a connection that comes while this side has one (a match
// under way, or an end-of-match box open between two matches) is closed at once, so the
// copy that made it is told instead of waiting.
void GameSession::onAcceptRequest()
{
    if (match.matchState().phase != GamePhase::Idle || match.connected()) {
        listenSocket.refuseWaiting();
        window.setStatusText("Houve tentativa de conecção ao jogo por outro utilizador.");
        return;
    }
    if (!peerSocket.accept(listenSocket))
        return;
    // "Fechar COM" stays, to end the connection as a client's does.
    window.enableControl(IDC_CLOSE_COM, true);
    window.enableChatControls(true);
    match.connectionOpened(true);
}

void GameSession::onConnected()
{
    window.enableChatControls(true);
    window.updateTitle(clientTitle, match.myWins(), match.peerWins());
    match.connectionOpened(false);
}

// The sockets are closed before the box, so that nothing done while it is open (a new
// attempt) is undone when it returns.
void GameSession::onConnectFailed()
{
    listenSocket.close();
    peerSocket.close();
    window.messageBox("Impossível fazer conecção ao servidor/porto\nExpecificado.",
        "Conecção TCP/IP", BoxIcon::Error, {});
    window.enableConnectionControls(true);
    window.enableControl(IDC_CLOSE_COM, false);
    window.setStatusText("Reveja as definições de rede.");
}

void GameSession::onPeerData(std::string_view bytes)
{
    match.onPeerData(bytes);
    // Each read settles the chat line held before it, and may hold a new one.
    if (match.holdsChat())
        heldChatTimer.start();
    else
        heldChatTimer.stop();
}

void GameSession::onSendReady()
{
    window.enableControl(IDC_SEND, true);
    match.onSendReady();
}

// The server stops listening too: it takes a new opponent only on a new "Escutar". A
// connection that never said a word was no opponent, though.
void GameSession::onPeerClosed()
{
    if (listenSocket.localPort() != 0 && !match.heardFromPeer()) {
        listenAgain();
        return;
    }
    peerSocket.close();
    listenSocket.close();
    window.enableConnectionControls(true);
    window.enableControl(IDC_CLOSE_COM, false);
    window.enableChatControls(false);
    window.updateTitle(closedTitle, match.myWins(), match.peerWins());
    window.setStatusText("O outro jogador fechou a conecção\nJogo terminado.");
    window.disableGeneratorControls();
    window.showGenerator(true);
    match.connectionClosed();
}

// A connection that ends before its first message was a port scanner, a health check or a
// copy that gave up at once: the server waits on as after "Escutar", "Fechar COM" still there
// to give up, and takes the next connection as if this one had never come.
void GameSession::listenAgain()
{
    peerSocket.close();
    window.enableChatControls(false);
    window.disableGeneratorControls();
    window.showGenerator(true);
    match.connectionClosed();
    window.addLogLine("Uma conecção chegou e fechou-se sem jogar.");
    window.setStatusText(listeningStatus());
}

std::string GameSession::listeningStatus() const
{
    std::string status = "A esperar pela conecção...";
    if (portChosen)
        status += "\nPorto " + std::to_string(listenSocket.localPort()) + ".";
    return status;
}

long GameSession::sendToPeer(std::string_view bytes) { return peerSocket.send(bytes); }

std::uint16_t GameSession::listeningPort() const { return listenSocket.localPort(); }

bool GameSession::peerConnected() const { return peerSocket.isConnected(); }

std::int64_t GameSession::unreadPeerBytes() const { return peerSocket.bytesUnread(); }
