#pragma once

#include "socketbackend.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string_view>

class ConnectionEvents;

// One of a session's two sockets: a server's listening socket, or the socket that carries
// the match. What it sees of the connection goes to the owner as connection events.
//
// The work is done by the network module, opened at the first listen or connect of the
// program; a socket that only ever closes never opens it. When the module cannot be opened,
// a listen or an attempt to connect fails with the loader's words as the system's reason.
class GameSocket {
public:
    static constexpr qint64 ReadBufferSize = SocketBackend::ReadBufferSize;
    static constexpr qint64 WriteBacklogLimit = SocketBackend::WriteBacklogLimit;
    static constexpr int ConnectTimeoutMs = SocketBackend::ConnectTimeoutMs;

    explicit GameSocket(ConnectionEvents& owner); // not owned
    ~GameSocket();
    GameSocket(const GameSocket&) = delete;
    GameSocket& operator=(const GameSocket&) = delete;

    // Listens on every local interface, IPv4 and IPv6, or on the IPv4 loopback only; port 0
    // takes any free port. When it cannot, listenFailure() says why.
    bool listen(std::uint16_t port, bool loopbackOnly);
    const ConnectionFailure& listenFailure() const;
    // Starts connecting to a dotted IPv4 address, an IPv6 address or a host name; the
    // outcome arrives as onConnected or onConnectFailed, which may come from inside this call.
    void connectToHost(const QString& host, std::uint16_t port);
    // For the tests: a shorter wait for an answer than ConnectTimeoutMs.
    void setConnectTimeout(int ms);
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

    // The addresses of this computer another player can type: the IPv4 ones, then the IPv6
    // ones, the loopback only when there is nothing else. Empty when the module cannot be
    // opened.
    static QStringList reachableAddresses();

private:
    SocketBackend* opened();

    ConnectionEvents& owner;
    std::unique_ptr<SocketBackend> backend; // made at the first listen or connect
    int connectTimeoutMs = ConnectTimeoutMs;
    ConnectionFailure failedOpen; // why a listen failed when the module could not be opened
};
