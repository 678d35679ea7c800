#pragma once

#include "match/gameevents.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <string_view>

class ConnectionEvents;

// What a game socket asks of TCP. It is done with Qt Network in a module of its own
// (quorvel-tcp.so), opened at the first listen or connect: the window can then be on the
// screen before Qt Network and the libraries it needs are loaded. GameSocket says what each
// call does.
class SocketBackend {
public:
    // The most a peer can make us hold unread; the rest waits in the system's buffers.
    static constexpr qint64 ReadBufferSize = 16 * 1024;
    // Bytes not yet handed to the system beyond which a send is refused.
    static constexpr qint64 WriteBacklogLimit = 64 * 1024;
    // An attempt to connect that no server has answered by then fails as timed out. Left to
    // Qt, it would wait a whole minute with nothing on screen but the status.
    static constexpr int ConnectTimeoutMs = 10000;

    virtual ~SocketBackend() = default;

    // The address a listen binds to, as a failure to listen names it: every interface, or
    // the IPv4 loopback only.
    static QString listeningAddress(bool loopbackOnly)
    {
        return loopbackOnly ? QStringLiteral("127.0.0.1") : QStringLiteral("0.0.0.0");
    }

    virtual bool listen(std::uint16_t port, bool loopbackOnly) = 0;
    virtual const ConnectionFailure& listenFailure() const = 0;
    virtual void connectToHost(const QString& host, std::uint16_t port) = 0;
    virtual void setConnectTimeout(int ms) = 0;
    // The listening socket is one of this module's own.
    virtual bool accept(SocketBackend& listening) = 0;
    virtual void refuseWaiting() = 0;
    virtual void close() = 0;
    virtual long send(std::string_view bytes) = 0;
    virtual std::uint16_t localPort() const = 0;
    virtual bool isConnected() const = 0;
    virtual qint64 bytesUnread() const = 0;
};

// The module's entry points, which quorvel_network_module() returns.
struct NetworkModule {
    // A socket that reports to the owner (not owned).
    std::unique_ptr<SocketBackend> (*makeSocket)(ConnectionEvents& owner);
    // The addresses of this computer another player can type, in the order to show them.
    QStringList (*reachableAddresses)();
};

// The module's one exported symbol. The module's file is found from the program's own
// folder, where it is installed relative to the programs. The entry takes the version of the
// program that opens it and gives nothing to another version's: a game still running while
// the package is upgraded must not call into a module built for other entries.
inline constexpr char NetworkModuleEntry[] = "quorvel_network_module";
using NetworkModuleEntryFunction = const NetworkModule* (*)(const char* programVersion);
