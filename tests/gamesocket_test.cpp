// The socket alone, over loopback TCP: what it reports to its owner, and in which order.

#include "freeport.h"
#include "waituntil.h"

#include "net/connectionevents.h"
#include "net/gamesocket.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An owner that writes down every event.
struct EventLog : ConnectionEvents {
    void onAcceptRequest() override { events.push_back("accept request"); }
    void onConnected() override { events.push_back("connected"); }
    void onConnectFailed() override { events.push_back("connect failed"); }
    void onPeerData(std::string_view bytes) override
    {
        events.push_back("data " + std::string(bytes));
    }
    void onSendReady() override { events.push_back("send ready"); }
    void onPeerClosed() override { events.push_back("peer closed"); }

    std::vector<std::string> events;
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
}

} // namespace
