#include "gamesession.h"

#include "match/protocol.h"

#include <string>

namespace {

bool isPort(int port) { return port >= 0 && port <= 65535; }

// The address as the socket takes it: surrounding blanks dropped, and an IPv6 address also
// accepted in the brackets of a URL ("[::1]").
QString hostName(const QString& address)
{
    QString host = address.trimmed();
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    return host;
}

} // namespace

GameSession::GameSession(GameEvents& gameEvents)
    : events(gameEvents)
    , match(gameEvents, *this)
    , listenSocket(*this)
    , peerSocket(*this)
{
    heldChatTimer.setSingleShot(true);
    heldChatTimer.setInterval(HeldChatMs);
    QObject::connect(&heldChatTimer, &QTimer::timeout, [this] { match.showHeldChat(); });
    readyRepeatTimer.setSingleShot(true);
    readyRepeatTimer.setInterval(ReadyRepeatMs);
    QObject::connect(&readyRepeatTimer, &QTimer::timeout, [this] { match.repeatReady(); });
}

GameSession::~GameSession() = default;

void GameSession::listen(int port)
{
    match.resetScore();
    events.statusChanged({ TextId::Listening, {} });
    // A port in use, or any other reason the system will not listen there.
    if (!isPort(port) || !listenSocket.listen(static_cast<std::uint16_t>(port), loopbackOnly)) {
        const ConnectionFailure failure = isPort(port)
            ? listenSocket.listenFailure()
            : ConnectionFailure { ConnectionFailure::PortOutOfRange,
                  SocketBackend::listeningAddress(loopbackOnly).toStdString(), port };
        events.connectionChanged(
            { ConnectionChange::Closed, ConnectionChange::ListenFailed, true, port, failure });
        events.statusChanged({ TextId::CheckServerSettings, {} });
        return;
    }
    portChosen = port == 0;
    events.connectionChanged(
        { ConnectionChange::Listening, ConnectionChange::Asked, true, listenSocket.localPort() });
    if (portChosen)
        events.statusChanged(listeningStatus());
    // Where the other player can find this game; an opponent on the loopback runs on this
    // computer and needs no telling.
    if (loopbackOnly)
        return;
    const QStringList addresses = GameSocket::reachableAddresses();
    if (!addresses.isEmpty()) {
        events.logLine(
            { TextId::ThisComputersAddresses, addresses.join(QStringLiteral(", ")).toStdString(),
                std::to_string(listenSocket.localPort()) });
    }
}

void GameSession::connectTo(const QString& address, int port)
{
    match.resetScore();
    events.connectionChanged(
        { ConnectionChange::Connecting, ConnectionChange::Asked, false, port });
    events.statusChanged({ TextId::Connecting, {} });
    if (!isPort(port)) {
        onConnectFailed(
            { ConnectionFailure::PortOutOfRange, hostName(address).toStdString(), port });
        return;
    }
    peerSocket.connectToHost(hostName(address), static_cast<std::uint16_t>(port));
}

void GameSession::close() { ended(ConnectionChange::Asked, TextId::ClosedByUs); }

// Every end of a connection, or of listening, or of an attempt: both sockets closed.
void GameSession::ended(
    ConnectionChange::Reason reason, TextId status, const ConnectionFailure& failure)
{
    heldChatTimer.stop();
    readyRepeatTimer.stop();
    peerSocket.close();
    listenSocket.close();
    events.connectionChanged({ ConnectionChange::Closed, reason, false, 0, failure });
    events.statusChanged({ status, {} });
    match.connectionClosed();
}

// One opponent per connection: a connection that comes while this side has one (a match
// under way, or the end of the last match still on screen) is closed at once, so the copy
// that made it is told instead of waiting.
void GameSession::onAcceptRequest()
{
    if (match.phase() != GamePhase::Idle || match.connected()) {
        listenSocket.refuseWaiting();
        events.statusChanged({ TextId::AnotherPlayerTried, {} });
        return;
    }
    if (!peerSocket.accept(listenSocket))
        return;
    events.connectionChanged(
        { ConnectionChange::Open, ConnectionChange::Asked, true, listenSocket.localPort() });
    match.connectionOpened(true);
}

void GameSession::onConnected()
{
    events.connectionChanged({ ConnectionChange::Open, ConnectionChange::Asked, false, 0 });
    match.connectionOpened(false);
}

void GameSession::onConnectFailed(const ConnectionFailure& failure)
{
    ended(ConnectionChange::ConnectFailed, TextId::CheckNetworkSettings, failure);
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

void GameSession::onSendReady() { events.sendResumed(); }

// The server stops listening too: it takes a new opponent only on a new "Escutar". A
// connection that never said a word was no opponent, though.
void GameSession::onPeerClosed()
{
    if (listenSocket.localPort() != 0 && !match.heardFromPeer()) {
        listenAgain();
        return;
    }
    ended(ConnectionChange::PeerClosed, TextId::ClosedByPeer);
}

// A connection that ends before its first message was a port scanner, a health check or a
// copy that gave up at once: the server waits on as after "Escutar", and takes the next
// connection as if this one had never come.
void GameSession::listenAgain()
{
    peerSocket.close();
    events.connectionChanged(
        { ConnectionChange::Listening, ConnectionChange::Probe, true, listenSocket.localPort() });
    match.connectionClosed();
    events.logLine({ TextId::ProbeCameAndWent, {} });
    events.statusChanged(listeningStatus());
}

Text GameSession::listeningStatus() const
{
    if (portChosen)
        return { TextId::ListeningOnPort, std::to_string(listenSocket.localPort()) };
    return { TextId::Listening, {} };
}

// The first shot of a match starts the wait for its reply; a ready that went right behind a
// chat line, this side the target, the wait for the first shot.
long GameSession::sendToPeer(std::string_view bytes)
{
    const long sent = peerSocket.send(bytes);
    const bool readyBehindChat = bytes.starts_with(protocol::ReadyMessage) && sinceChat.isValid()
        && sinceChat.elapsed() < ChatGlueMs;
    if (bytes.starts_with(protocol::ChatToken))
        sinceChat.start();
    if ((match.openingShotUnanswered() || (readyBehindChat && match.firstShotAwaited()))
        && !readyRepeatTimer.isActive())
        readyRepeatTimer.start();
    return sent;
}

std::uint16_t GameSession::listeningPort() const { return listenSocket.localPort(); }

bool GameSession::peerConnected() const { return peerSocket.isConnected(); }

std::int64_t GameSession::unreadPeerBytes() const { return peerSocket.bytesUnread(); }
