#pragma once

#include "match/gameevents.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string_view>
#include <vector>

class ConnectionEvents;
class QTcpServer;
class QTcpSocket;

// One of a session's two sockets: a server's listening socket, or the socket that carries
// the match. Each listen, connect or accept makes a fresh Qt socket object, and each close
// retires it. What the Qt object reports goes to the owner as connection events.
//
// Handlers may open message boxes, whose event loops deliver further notifications, and a
// nested handler may close this socket. So a closed Qt object is kept until every handler
// that one of its signals started has returned, and a read loop stops once its connection
// is gone.
class GameSocket : public QObject {
    Q_OBJECT

public:
    // The most a peer can make us hold unread; the rest waits in the system's buffers.
    static constexpr qint64 ReadBufferSize = 16 * 1024;
    // Bytes not yet handed to the system beyond which a send is refused.
    static constexpr qint64 WriteBacklogLimit = 64 * 1024;
    // An attempt to connect that no server has answered by then fails as timed out. Left to
    // Qt, it would wait a whole minute with nothing on screen but the status.
    static constexpr int ConnectTimeoutMs = 10000;

    explicit GameSocket(ConnectionEvents& owner); // not owned
    ~GameSocket() override;
    GameSocket(const GameSocket&) = delete;
    GameSocket& operator=(const GameSocket&) = delete;

    // Listens on every local interface, IPv4 and IPv6, or on the IPv4 loopback only; port 0
    // takes any free port. When it cannot, listenFailure() says why.
    bool listen(std::uint16_t port, bool loopbackOnly);
    const ConnectionFailure& listenFailure() const { return failedListen; }
    // The address a listen binds to.
    static QHostAddress listeningAddress(bool loopbackOnly);
    // Starts connecting to a dotted IPv4 address, an IPv6 address or a host name; the
    // outcome arrives as onConnected or onConnectFailed.
    void connectToHost(const QString& host, std::uint16_t port);
    // For the tests: a shorter wait for an answer than ConnectTimeoutMs.
    void setConnectTimeout(int ms) { connectTimer.setInterval(ms); }
    // Takes the oldest waiting connection of the listening socket.
    bool accept(GameSocket& listening);
    // Closes every connection waiting on this listening socket, so the copies that made them
    // learn at once that nobody will take them.
    void refuseWaiting();
    // Closes whatever is open; a connection gets an orderly close. Nothing more is reported.
    void close();

    // One write of the whole message: the bytes accepted, or -1 when the socket is not
    // connected or has too much still to send. A peer that leaves that much unread has
    // stopped reading: its connection is then ended, reported as onPeerClosed once the
    // handler that sent has returned.
    long send(std::string_view bytes);

    std::uint16_t localPort() const; // of a listening socket, else 0
    bool isConnected() const;
    qint64 bytesUnread() const; // received and buffered, not yet read

    // The kind of failure a socket's error is. Qt tells some apart only by their words
    // (systemText, its errorString()); an error the game has no words for is Other.
    static ConnectionFailure::Kind failureKind(
        QAbstractSocket::SocketError error, const QString& systemText);

private:
    template <typename Handler> void dispatch(QObject* source, Handler handler);
    void attach(QTcpSocket* created);
    static void sendAtOnce(QTcpSocket* connected);
    void readAvailable();
    void connectionError(int error);
    void reportEnd();
    void attemptTimedOut();
    ConnectionFailure attemptFailure(ConnectionFailure::Kind kind, const QString& systemText) const;
    void retire(QObject* object);
    void releaseRetired();

    ConnectionEvents& owner;
    QTcpServer* server = nullptr; // child of this
    QTcpSocket* socket = nullptr; // child of this
    bool established = false; // the socket has been connected (not merely connecting)
    bool endReported = false; // the end of this connection, or of the attempt, was reported
    bool stalled = false; // the peer stopped reading; the connection is being ended
    // Changes with every open and close, so a running read loop notices that its connection
    // was replaced or closed while a handler ran.
    std::uint64_t generation = 0;
    int handlerDepth = 0;
    std::vector<QObject*> retired; // closed objects waiting until no handler runs
    ConnectionFailure failedListen;
    // Where the attempt to connect goes, and how long it may wait for an answer.
    QString attemptHost;
    std::uint16_t attemptPort = 0;
    QTimer connectTimer;
};
