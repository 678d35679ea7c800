#pragma once

#include "socketbackend.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string_view>
#include <vector>

class QTcpServer;
class QTcpSocket;

// A game socket done with Qt Network, in the network module: a server's listening socket, or
// the socket that carries the match. Each listen, connect or accept makes a fresh Qt socket
// object, and each close retires it. What the Qt object reports goes to the owner as
// connection events.
//
// Handlers may open message boxes, whose event loops deliver further notifications, and a
// nested handler may close this socket. So a closed Qt object is kept until every handler
// that one of its signals started has returned, and a read loop stops once its connection
// is gone.
class TcpSocket : public QObject, public SocketBackend {
    Q_OBJECT

public:
    // After an error that stopped it, a listening socket accepts again this much later.
    static constexpr int AcceptRetryMs = 100;

    explicit TcpSocket(ConnectionEvents& owner); // not owned
    ~TcpSocket() override;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    bool listen(std::uint16_t port, bool loopbackOnly) override;
    const ConnectionFailure& listenFailure() const override { return failedListen; }
    void connectToHost(const QString& host, std::uint16_t port) override;
    void setConnectTimeout(int ms) override { connectTimer.setInterval(ms); }
    bool accept(SocketBackend& listening) override;
    void refuseWaiting() override;
    void close() override;
    long send(std::string_view bytes) override;
    std::uint16_t localPort() const override;
    bool isConnected() const override;
    qint64 bytesUnread() const override;

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
