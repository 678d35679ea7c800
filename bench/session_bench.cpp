// The connection layer over loopback TCP: a whole match between two sessions, and beside it
// a plain ping-pong between two bare sockets of the same messages, in the same order and
// sizes, so the ratio of the two shows what the game adds to the network's own cost; and what
// finding this computer's addresses adds to a listen.

#include "match/gameevents.h"
#include "net/gamesession.h"
#include "net/localaddresses.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Shows nothing and sees each match's result at once, as a headless player does.
class SilentEvents : public GameEvents {
public:
    void phaseChanged(GamePhase) override { }
    void fleetChanged(const FleetChange&) override { }
    void readyDeclared(Side, bool) override { }
    void shotFired(GridCell) override { }
    void shotRefused(GridCell) override { }
    void shotAnswered(const Shot&) override { }
    void matchDecided(bool, int match) override
    {
        if (engine != nullptr)
            engine->matchResultSeen(match);
    }
    void scoreChanged(const Score&) override { }
    void fleetShown(bool) override { }
    void chatLine(Side, const std::string&) override { }
    void sendFailed(bool) override { }
    void sendResumed() override { }
    void statusChanged(const Text&) override { }
    void logLine(const Text&) override { }
    void connectionChanged(const ConnectionChange&) override { }

    MatchEngine* engine = nullptr; // not owned
};

// One message of a match: which side sent it, and its length.
struct Sent {
    int side;
    std::size_t size;
};

// A session that notes every message it sends.
class NotingSession : public GameSession {
public:
    NotingSession(GameEvents& shown, int sideIndex, std::vector<Sent>& sentLog)
        : GameSession(shown)
        , side(sideIndex)
        , sent(sentLog)
    {
    }

    long sendToPeer(std::string_view bytes) override
    {
        sent.push_back({ side, bytes.size() });
        return GameSession::sendToPeer(bytes);
    }

private:
    int side;
    std::vector<Sent>& sent; // not owned
};

// Runs the event loop until done, or gives up after ten seconds.
bool runUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(10000);
    QTimer wake;
    wake.start(100);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Player {
    Player(int index, std::vector<Sent>& sent)
        : session(events, index, sent)
    {
        events.engine = &session.engine();
        session.engine().random().seed(static_cast<unsigned>(index + 1));
    }

    MatchState state() const { return session.engine().matchState(); }
    int counted() const { return session.engine().myWins() + session.engine().peerWins(); }
    bool canFire() const
    {
        return state().phase == GamePhase::Playing && state().isShooter && !state().shotPending;
    }

    SilentEvents events;
    NotingSession session;
    int next = 0;
};

// Two sessions connected over loopback TCP.
class Table {
public:
    bool connect()
    {
        server.session.listen(0);
        client.session.connectTo(QStringLiteral("127.0.0.1"), server.session.listeningPort());
        return runUntil([this] {
            return server.state().phase == GamePhase::Placing
                && client.state().phase == GamePhase::Placing;
        });
    }

    // From the ready declarations to both sides having counted the result. Each side fires
    // at its enemy grid's open cells column by column, one click as soon as it may.
    bool playMatch()
    {
        const int counted = server.counted();
        server.next = 0;
        client.next = 0;
        server.session.engine().randomizeFleet();
        server.session.engine().acceptFleet();
        if (!runUntil([this] { return !client.state().isShooter; }))
            return false;
        client.session.engine().randomizeFleet();
        client.session.engine().acceptFleet();

        auto over = [&] { return server.counted() > counted && client.counted() > counted; };
        while (!over()) {
            if (!runUntil([&] { return over() || server.canFire() || client.canFire(); }))
                return false;
            for (Player* side : { &server, &client }) {
                if (!side->canFire() || over())
                    continue;
                MatchEngine& engine = side->session.engine();
                while (side->next < 100) {
                    const int column = side->next / 10;
                    const int row = side->next % 10;
                    ++side->next;
                    if (engine.enemyBoard().getCell(column, row) == CellEmpty) {
                        engine.fireAt({ column, row });
                        break;
                    }
                }
            }
        }
        return true;
    }

    std::vector<Sent> sent;
    Player server { 0, sent };
    Player client { 1, sent };
};

void reportPerMessage(benchmark::State& state, std::int64_t messages)
{
    state.counters["messages/match"] = benchmark::Counter(
        static_cast<double>(messages) / static_cast<double>(state.iterations()));
    state.counters["per message"] = benchmark::Counter(
        static_cast<double>(messages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Whole matches between two sessions on one connection, one match per iteration.
void tcpMatch(benchmark::State& state)
{
    Table table;
    if (!table.connect()) {
        state.SkipWithError("no connection");
        return;
    }
    std::int64_t messages = 0;
    for (auto _ : state) {
        const std::size_t before = table.sent.size();
        if (!table.playMatch()) {
            state.SkipWithError("the match stalled");
            return;
        }
        messages += static_cast<std::int64_t>(table.sent.size() - before);
    }
    reportPerMessage(state, messages);
}
BENCHMARK(tcpMatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two bare sockets replay the messages of one match: each side writes its run of messages,
// one write each, as soon as it has received every byte of the other side's run before.
class PingPong {
public:
    explicit PingPong(std::vector<Sent> match)
        : script(std::move(match))
    {
        listener.listen(QHostAddress::LocalHost, 0);
        ends[0] = std::make_unique<QTcpSocket>();
        ends[0]->connectToHost(QHostAddress::LocalHost, listener.serverPort());
        runUntil([this] { return listener.hasPendingConnections(); });
        ends[1].reset(listener.nextPendingConnection());
        ends[1]->setParent(nullptr);
        for (int side = 0; side < 2; ++side) {
            ends[side]->setSocketOption(QAbstractSocket::LowDelayOption, 1); // as the game's
            QObject::connect(
                ends[side].get(), &QTcpSocket::readyRead, [this, side] { received(side); });
        }
        std::size_t longest = 0;
        for (const Sent& message : script)
            longest = std::max(longest, message.size);
        payload = QByteArray(static_cast<qsizetype>(longest), 'x');
    }

    bool play()
    {
        position = 0;
        sendRun();
        return runUntil([this] { return position == script.size() && waiting == 0; });
    }

private:
    // Writes the next run of messages of one side and notes how much the other awaits.
    void sendRun()
    {
        if (position == script.size())
            return;
        const int side = script[position].side;
        while (position < script.size() && script[position].side == side) {
            const auto size = static_cast<qint64>(script[position].size);
            ends[side]->write(payload.constData(), size);
            waiting += size;
            ++position;
        }
    }

    void received(int side)
    {
        waiting -= ends[side]->read(sink, sizeof sink);
        while (ends[side]->bytesAvailable() > 0)
            waiting -= ends[side]->read(sink, sizeof sink);
        if (waiting == 0)
            sendRun();
    }

    std::vector<Sent> script;
    QTcpServer listener;
    std::unique_ptr<QTcpSocket> ends[2];
    QByteArray payload;
    std::size_t position = 0;
    qint64 waiting = 0;
    char sink[1024];
};

void tcpPingPong(benchmark::State& state)
{
    // The messages of the first match that tcpMatch plays, recorded once.
    std::vector<Sent> match;
    {
        Table table;
        if (!table.connect() || !table.playMatch()) {
            state.SkipWithError("no match to replay");
            return;
        }
        match = table.sent;
    }
    PingPong pingPong(match);
    for (auto _ : state) {
        if (!pingPong.play()) {
            state.SkipWithError("the ping-pong stalled");
            return;
        }
    }
    reportPerMessage(state, static_cast<std::int64_t>(match.size() * state.iterations()));
}
BENCHMARK(tcpPingPong)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a listen on every interface adds before "Escutar" returns: asking the system for this
// computer's addresses and choosing the ones to show.
void thisComputersAddresses(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(addressesToShow(interfaceAddresses()));
}
BENCHMARK(thisComputersAddresses)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

// Sockets need an application object for their notifications.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
