// The socket alone, over loopback TCP: what it reports to its owner, and in which order.

#include "freeport.h"
#include "waituntil.h"

#include "net/connectionevents.h"
#include "net/gamesocket.h"
#include "net/gametexts.h"
#include "net/tcpsocket.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTranslator>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// An owner that writes down every event.
struct EventLog : ConnectionEvents {
    void onAcceptRequest() override { events.push_back("accept request"); }
    void onConnected() override { events.push_back("connected"); }
    void onConnectFailed(const ConnectionFailure& failure) override
    {
        events.push_back("connect failed");
        failures.push_back(failure);
    }
    void onPeerData(std::string_view bytes) override
    {
        events.push_back("data " + std::string(bytes));
    }
    void onSendReady() override { events.push_back("send ready"); }
    void onPeerClosed() override { events.push_back("peer closed"); }

    std::vector<std::string> events;
    std::vector<ConnectionFailure> failures;
};

TEST(GameSocket, ReportsAConnectionsLifeToItsOwner)
{
    EventLog listenerLog, serverLog, clientLog;
    GameSocket listener(listenerLog);
    GameSocket server(serverLog);
    GameSocket client(clientLog);

    ASSERT_TRUE(listener.listen(0, true));
    ASSERT_NE(listener.localPort(), 0);
    client.connectToHost(QStringLiteral("127.0.0.1"), listener.localPort());
    ASSERT_TRUE(waitUntil([&] { return !listenerLog.events.empty(); }));
    EXPECT_EQ(listenerLog.events, std::vector<std::string> { "accept request" });
    ASSERT_TRUE(server.accept(listener));
    EXPECT_FALSE(server.accept(listener)); // nobody else waits
    ASSERT_TRUE(waitUntil([&] { return !clientLog.events.empty(); }));
    EXPECT_EQ(clientLog.events, std::vector<std::string> { "connected" });

    EXPECT_EQ(client.send("TIRO:A1"), 7);
    ASSERT_TRUE(waitUntil([&] { return !serverLog.events.empty(); }));
    EXPECT_EQ(serverLog.events, std::vector<std::string> { "data TIRO:A1" });
    ASSERT_TRUE(waitUntil([&] { return clientLog.events.size() == 2; }));
    EXPECT_EQ(clientLog.events.back(), "send ready");

    server.close();
    EXPECT_FALSE(server.isConnected());
    EXPECT_EQ(server.send("TREQ:*"), -1);
    ASSERT_TRUE(waitUntil([&] { return clientLog.events.back() == "peer closed"; }));
    EXPECT_EQ(
        clientLog.events, (std::vector<std::string> { "connected", "send ready", "peer closed" }));
    EXPECT_EQ(serverLog.events.size(), 1u); // its own close is not reported
    EXPECT_EQ(listenerLog.events.size(), 1u);
}

// A connection that comes while the process has no descriptor left cannot be accepted, and Qt
// stops accepting; once descriptors are free again, the listening socket takes it.
TEST(GameSocket, ListeningGoesOnAfterTheDescriptorsRanOut)
{
    EventLog listenerLog;
    GameSocket listener(listenerLog);
    ASSERT_TRUE(listener.listen(0, true));
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(client, 0);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(listener.localPort());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(client, reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);

    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit usual = limit;
    const auto take = [] { return ::open("/dev/null", O_RDONLY | O_CLOEXEC); };
    const int lowest = take();
    ASSERT_GE(lowest, 0);
    limit.rlim_cur = static_cast<rlim_t>(lowest) + 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    std::vector<int> taken { lowest };
    for (int fd = take(); fd >= 0; fd = take())
        taken.push_back(fd);
    const QDeadlineTimer moment(300);
    while (!moment.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (int fd : taken)
        ::close(fd);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &usual), 0);

    EXPECT_TRUE(waitUntil([&] { return !listenerLog.events.empty(); }));
    EXPECT_EQ(listenerLog.events, std::vector<std::string> { "accept request" });
    ::close(client);
}

TEST(GameSocket, AnAttemptWithNobodyListeningFailsOnce)
{
    const quint16 port = portNobodyListensOn();
    ASSERT_NE(port, 0);

    EventLog log;
    GameSocket client(log);
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(waitUntil([&] { return !log.events.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(log.events, std::vector<std::string> { "connect failed" });
    EXPECT_FALSE(client.isConnected());
    ASSERT_EQ(log.failures.size(), 1u);
    EXPECT_EQ(log.failures[0].kind, ConnectionFailure::Refused);
    EXPECT_EQ(log.failures[0].address, "127.0.0.1");
    EXPECT_EQ(log.failures[0].port, port);
}

// A server that never answers: a listening socket whose queue is full and that takes no
// connection, so the system drops every further request. The attempt ends after the time
// it is given, as timed out, once; a connection made after that is not taken.
TEST(GameSocket, AnAttemptNobodyAnswersTimesOut)
{
    const int listening = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listening, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::listen(listening, 0), 0); // room for one connection, never taken
    ASSERT_EQ(::getsockname(listening, reinterpret_cast<sockaddr*>(&address), &size), 0);
    const quint16 port = ntohs(address.sin_port);
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(waitUntil([&] { return filler.state() == QAbstractSocket::ConnectedState; }));

    EventLog log;
    GameSocket client(log);
    client.setConnectTimeout(300);
    client.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(waitUntil([&] { return !log.events.empty(); }));
    ::close(listening); // the dropped request is now refused, were it still going
    QCoreApplication::processEvents();
    EXPECT_EQ(log.events, std::vector<std::string> { "connect failed" });
    ASSERT_EQ(log.failures.size(), 1u);
    EXPECT_EQ(
        log.failures[0], (ConnectionFailure { ConnectionFailure::TimedOut, "127.0.0.1", port }));
    EXPECT_FALSE(client.isConnected());
    EXPECT_EQ(GameSocket::ConnectTimeoutMs, 10000);
}

// The network module gives its entries only to a program of its own version: a game left
// running while the package is upgraded gets none from the new module, and says so.
TEST(GameSocket, TheNetworkModuleServesItsOwnVersionOnly)
{
    void* module = dlopen(QUORVEL_TCP_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const auto entry
        = reinterpret_cast<NetworkModuleEntryFunction>(dlsym(module, NetworkModuleEntry));
    ASSERT_NE(entry, nullptr) << dlerror();
    const NetworkModule* entries = entry(QUORVEL_VERSION);
    ASSERT_NE(entries, nullptr);
    EXPECT_NE(entries->makeSocket, nullptr);
    EXPECT_EQ(entry("0.9"), nullptr);
    EXPECT_EQ(entry(QUORVEL_VERSION ".1"), nullptr);
}

// What the player reads under a failure's text: where it failed, and why in the game's words
// when the system named the reason, in its own words else. Qt tells some of the system's
// reasons apart only by their words, in the language of its translation.
TEST(GameSocket, AFailureSaysWhereAndWhy)
{
    const auto qt = [](const char* words) {
        return QCoreApplication::translate("QNativeSocketEngine", words);
    };
    const struct {
        QAbstractSocket::SocketError error;
        const char* words;
        ConnectionFailure::Kind kind;
    } kinds[] = { { QAbstractSocket::ConnectionRefusedError, "", ConnectionFailure::Refused },
        { QAbstractSocket::NetworkError, "Network unreachable",
            ConnectionFailure::NetworkUnreachable },
        { QAbstractSocket::NetworkError, "Host unreachable", ConnectionFailure::HostUnreachable },
        { QAbstractSocket::NetworkError, "Connection timed out", ConnectionFailure::TimedOut },
        { QAbstractSocket::NetworkError, "Out of resources", ConnectionFailure::Other },
        { QAbstractSocket::SocketResourceError, "Out of resources", ConnectionFailure::Other } };
    for (const auto& [error, words, kind] : kinds)
        EXPECT_EQ(TcpSocket::failureKind(error, qt(words)), kind) << words;

    const std::pair<ConnectionFailure, const char*> lines[] = {
        { { ConnectionFailure::Refused, "::1", 4000, "Connection refused" },
            "[::1]:4000 — ligação recusada" },
        { { ConnectionFailure::TimedOut, "fd00::2", 1 },
            "[fd00::2]:1 — tempo esgotado sem resposta" },
        { { ConnectionFailure::Permission, "0.0.0.0", 80 }, "0.0.0.0:80 — permissão negada" },
        { { ConnectionFailure::NetworkUnreachable, "10.1.2.3", 4000 },
            "10.1.2.3:4000 — rede inacessível" },
        { { ConnectionFailure::HostUnreachable, "10.1.2.3", 4000 },
            "10.1.2.3:4000 — servidor inacessível" },
        { { ConnectionFailure::Other, "host", 4000, "Out of resources" },
            "host:4000 — Out of resources" },
        { { ConnectionFailure::Other, "host", 4000 }, "host:4000" },
        { { ConnectionFailure::None, "host", 4000 }, "" },
    };
    for (const auto& [failure, line] : lines)
        EXPECT_EQ(failureLine(failure).toStdString(), line);
    QTranslator* translator = installLanguage(*QCoreApplication::instance(), Language::English);
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(failureLine(lines[0].first).toStdString(), "[::1]:4000 — connection refused");
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
