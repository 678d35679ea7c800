#include "tcpsocket.h"

#include "connectionevents.h"

#include "match/protocol.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <array>
#include <cassert>
#include <utility>

TcpSocket::TcpSocket(ConnectionEvents& events)
    : owner(events)
{
    connectTimer.setSingleShot(true);
    connectTimer.setInterval(ConnectTimeoutMs);
    connect(&connectTimer, &QTimer::timeout, this, &TcpSocket::attemptTimedOut);
}

// The owner is going away with this object: nothing may reach it any more. The Qt objects
// are children and go with it; an open connection is closed by their destructors.
TcpSocket::~TcpSocket()
{
    for (QObject* child : children())
        disconnect(child, nullptr, this, nullptr);
}

// Every handler of a Qt object's signal runs through here, so that the object outlives it.
template <typename Handler> void TcpSocket::dispatch(QObject* source, Handler handler)
{
    const QPointer<QObject> alive(source);
    ++handlerDepth;
    handler();
    if (--handlerDepth == 0)
        releaseRetired();
    // Qt goes on using the object when the handler returns.
    assert(alive != nullptr && "a socket object was deleted inside its own handler");
}

bool TcpSocket::listen(std::uint16_t port, bool loopbackOnly)
{
    close();
    failedListen = {};
    auto* created = new QTcpServer(this);
    created->setListenBacklogSize(5);
    const QHostAddress address(loopbackOnly ? QHostAddress::LocalHost : QHostAddress::Any);
    if (!created->listen(address, port)) {
        const QString why = created->errorString();
        failedListen = { failureKind(created->serverError(), why),
            listeningAddress(loopbackOnly).toStdString(), port, why.toStdString() };
        delete created;
        return false;
    }
    server = created;
    ++generation;
    connect(created, &QTcpServer::newConnection, this,
        [this, created] { dispatch(created, [this] { owner.onAcceptRequest(); }); });
    // Qt stops accepting after an error that is not a passing one, such as no descriptor left
    // in the process. The port is still ours: accepting starts again a moment later.
    connect(created, &QTcpServer::acceptError, created, [created] {
        QTimer::singleShot(AcceptRetryMs, created, [created] { created->resumeAccepting(); });
    });
    return true;
}

void TcpSocket::connectToHost(const QString& host, std::uint16_t port)
{
    close();
    attemptHost = host;
    attemptPort = port;
    auto* created = new QTcpSocket(this);
    attach(created);
    connectTimer.start();
    // A failure may be reported from inside this call; nothing here touches the object after.
    created->connectToHost(host, port);
}

bool TcpSocket::accept(SocketBackend& listening)
{
    QTcpServer* const waiting = static_cast<TcpSocket&>(listening).server;
    if (waiting == nullptr)
        return false;
    QTcpSocket* taken = waiting->nextPendingConnection();
    if (taken == nullptr)
        return false;
    close();
    taken->setParent(this);
    attach(taken);
    established = true;
    sendAtOnce(taken);
    // Bytes that came with the connection would otherwise wait for the next arrival.
    if (taken->bytesAvailable() > 0) {
        QMetaObject::invokeMethod(
            this,
            [this, taken, reading = generation] {
                if (reading == generation)
                    dispatch(taken, [this] { readAvailable(); });
            },
            Qt::QueuedConnection);
    }
    return true;
}

void TcpSocket::refuseWaiting()
{
    if (server == nullptr)
        return;
    while (QTcpSocket* waiting = server->nextPendingConnection()) {
        waiting->setParent(this);
        waiting->disconnectFromHost();
        retire(waiting);
    }
}

void TcpSocket::attach(QTcpSocket* created)
{
    socket = created;
    ++generation;
    established = false;
    endReported = false;
    stalled = false;
    created->setReadBufferSize(ReadBufferSize);
    connect(created, &QTcpSocket::connected, this, [this, created] {
        dispatch(created, [this] {
            established = true;
            connectTimer.stop();
            sendAtOnce(socket);
            owner.onConnected();
        });
    });
    connect(created, &QTcpSocket::errorOccurred, this,
        [this, created](QAbstractSocket::SocketError error) {
            dispatch(created, [this, error] { connectionError(error); });
        });
    connect(created, &QTcpSocket::disconnected, this,
        [this, created] { dispatch(created, [this] { reportEnd(); }); });
    connect(created, &QTcpSocket::readyRead, this,
        [this, created] { dispatch(created, [this] { readAvailable(); }); });
    connect(created, &QTcpSocket::bytesWritten, this,
        [this, created] { dispatch(created, [this] { owner.onSendReady(); }); });
}

// Every message is small and written whole. Sending each at once keeps a side that writes
// twice without hearing back (its last reply of a match, then its next ready) from waiting
// for the peer's delayed acknowledgement.
void TcpSocket::sendAtOnce(QTcpSocket* connected)
{
    connected->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

// Qt announces new data once, and not again while this handler runs (a message box may be
// open inside onPeerData); so everything buffered is read now, a read at a time.
void TcpSocket::readAvailable()
{
    const std::uint64_t reading = generation;
    std::array<char, protocol::ReadSize> buffer {};
    while (socket != nullptr && generation == reading) {
        const qint64 count = socket->read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (count <= 0)
            return;
        owner.onPeerData(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
    }
}

// An error before the connection was made is a failed attempt. Once connected, an error
// that leaves the connection dead counts as the peer closing it: the window must never stay
// connected to a dead connection.
void TcpSocket::connectionError(int error)
{
    if (socket == nullptr)
        return;
    const bool harmless
        = error == QAbstractSocket::TemporaryError || error == QAbstractSocket::SocketTimeoutError;
    if (established && harmless && socket->state() == QAbstractSocket::ConnectedState)
        return;
    reportEnd();
}

// A connection ends once: Qt reports a peer's close both as an error and as a disconnection,
// and a failed attempt may report more than one error.
void TcpSocket::reportEnd()
{
    if (endReported)
        return;
    endReported = true;
    connectTimer.stop();
    if (established) {
        owner.onPeerClosed();
    } else if (socket != nullptr) {
        owner.onConnectFailed(attemptFailure(
            failureKind(socket->error(), socket->errorString()), socket->errorString()));
    } else {
        owner.onConnectFailed(attemptFailure(ConnectionFailure::Other, {}));
    }
}

// Nobody answered in time: the attempt is given up, and the connection it might still make
// is not taken.
void TcpSocket::attemptTimedOut()
{
    if (socket == nullptr || established || endReported)
        return;
    endReported = true;
    const ConnectionFailure failure = attemptFailure(ConnectionFailure::TimedOut, {});
    close();
    owner.onConnectFailed(failure);
}

ConnectionFailure TcpSocket::attemptFailure(
    ConnectionFailure::Kind kind, const QString& systemText) const
{
    return { kind, attemptHost.toStdString(), attemptPort, systemText.toStdString() };
}

ConnectionFailure::Kind TcpSocket::failureKind(
    QAbstractSocket::SocketError error, const QString& systemText)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return ConnectionFailure::Refused;
    case QAbstractSocket::HostNotFoundError:
        return ConnectionFailure::HostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return ConnectionFailure::TimedOut;
    case QAbstractSocket::AddressInUseError:
        return ConnectionFailure::AddressInUse;
    case QAbstractSocket::SocketAccessError:
        return ConnectionFailure::Permission;
    case QAbstractSocket::NetworkError: {
        // Several of the system's errors, each with words of its own, in the language of
        // Qt's translation.
        const char* const context = "QNativeSocketEngine";
        const std::pair<const char*, ConnectionFailure::Kind> named[]
            = { { "Network unreachable", ConnectionFailure::NetworkUnreachable },
                  { "Host unreachable", ConnectionFailure::HostUnreachable },
                  { "Connection timed out", ConnectionFailure::TimedOut } };
        for (const auto& [words, kind] : named) {
            if (systemText == QCoreApplication::translate(context, words))
                return kind;
        }
        return ConnectionFailure::Other;
    }
    default:
        return ConnectionFailure::Other;
    }
}

void TcpSocket::close()
{
    ++generation;
    established = false;
    connectTimer.stop();
    if (QTcpServer* leaving = std::exchange(server, nullptr)) {
        disconnect(leaving, nullptr, this, nullptr);
        leaving->close(); // drops the connections it took but nobody accepted
        retire(leaving);
    }
    if (QTcpSocket* leaving = std::exchange(socket, nullptr)) {
        disconnect(leaving, nullptr, this, nullptr);
        if (leaving->state() == QAbstractSocket::ConnectedState)
            leaving->disconnectFromHost(); // sends what is still buffered, then closes
        else
            leaving->abort();
        retire(leaving);
    }
}

void TcpSocket::retire(QObject* object)
{
    retired.push_back(object);
    if (handlerDepth == 0)
        releaseRetired();
}

// No handler of ours runs: the retired objects can go once control is back in the event
// loop. A connection still sending its last bytes goes when it has closed.
void TcpSocket::releaseRetired()
{
    for (QObject* object : std::exchange(retired, {})) {
        auto* leaving = qobject_cast<QTcpSocket*>(object);
        if (leaving != nullptr && leaving->state() != QAbstractSocket::UnconnectedState)
            connect(leaving, &QTcpSocket::disconnected, leaving, &QObject::deleteLater);
        else
            object->deleteLater();
    }
}

long TcpSocket::send(std::string_view bytes)
{
    if (socket == nullptr || socket->state() != QAbstractSocket::ConnectedState)
        return -1;
    const auto size = static_cast<qint64>(bytes.size());
    if (stalled)
        return -1;
    if (socket->bytesToWrite() + size > WriteBacklogLimit) {
        stalled = true;
        QMetaObject::invokeMethod(
            this,
            [this, stalledSocket = socket, sending = generation] {
                if (sending == generation)
                    dispatch(stalledSocket, [this] { reportEnd(); });
            },
            Qt::QueuedConnection);
        return -1;
    }
    const qint64 written = socket->write(bytes.data(), size);
    return written < 0 ? -1 : static_cast<long>(written);
}

std::uint16_t TcpSocket::localPort() const { return server != nullptr ? server->serverPort() : 0; }

bool TcpSocket::isConnected() const
{
    return socket != nullptr && socket->state() == QAbstractSocket::ConnectedState;
}

qint64 TcpSocket::bytesUnread() const { return socket != nullptr ? socket->bytesAvailable() : 0; }
