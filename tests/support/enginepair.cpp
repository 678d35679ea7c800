#include "enginepair.h"

#include <gtest/gtest.h>

long MemoryLink::sendToPeer(std::string_view bytes)
{
    if (!open)
        return -1;
    queued.emplace_back(bytes);
    sent.emplace_back(bytes);
    return static_cast<long>(bytes.size());
}

const std::vector<std::pair<int, int>> handFleet {
    { 1, 1 }, { 2, 1 }, { 3, 1 }, { 2, 2 }, { 2, 3 }, // T
    { 5, 1 }, { 6, 1 }, { 7, 1 }, { 8, 1 }, // four
    { 0, 5 }, { 0, 6 }, { 0, 7 }, // three
    { 9, 3 }, { 9, 4 }, { 9, 5 }, // three
    { 4, 4 }, { 5, 4 }, { 2, 6 }, { 3, 6 }, { 6, 8 }, { 7, 8 }, // twos
    { 9, 9 }, { 0, 9 }, { 4, 9 }, { 7, 5 }, // singles
};

void clickOwnCell(MatchEngine& engine, int column, int row, bool rightButton)
{
    if (rightButton)
        engine.clearCell({ column, row });
    else
        engine.setCell({ column, row });
}

void placeFleetByHand(MatchEngine& engine, const std::vector<std::pair<int, int>>& cells)
{
    for (auto [column, row] : cells)
        clickOwnCell(engine, column, row);
}

EngineSide::EngineSide() { events.engine = &engine; }

EnginePair::EnginePair(unsigned seed)
{
    server.engine.random().seed(seed);
    client.engine.random().seed(seed + 1000);
}

void EnginePair::connect()
{
    server.engine.connectionOpened(true);
    client.engine.connectionOpened(false);
}

namespace {

bool deliver(EngineSide& from, EngineSide& to, Delivery delivery)
{
    if (from.link.queued.empty())
        return false;
    switch (delivery) {
    case Delivery::PerSend: {
        const std::string bytes = std::move(from.link.queued.front());
        from.link.queued.pop_front();
        to.engine.onPeerData(bytes);
        break;
    }
    case Delivery::Coalesced: {
        std::string bytes;
        while (!from.link.queued.empty()) {
            bytes += from.link.queued.front();
            from.link.queued.pop_front();
        }
        to.engine.onPeerData(bytes);
        break;
    }
    case Delivery::ByteByByte: {
        const std::string bytes = std::move(from.link.queued.front());
        from.link.queued.pop_front();
        for (char byte : bytes)
            to.engine.onPeerData(std::string_view(&byte, 1));
        break;
    }
    }
    return true;
}

} // namespace

// Two sides that never stop answering each other are a fault, not a reason to wait for ever.
bool EnginePair::pump(Delivery delivery)
{
    for (int round = 0; round < 1000; ++round) {
        const bool moved = deliver(server, client, delivery);
        if (!deliver(client, server, delivery) && !moved)
            return true;
    }
    ADD_FAILURE() << "the two sides still send after a thousand rounds of delivery";
    return false;
}

void EnginePair::randomizeAndAccept(EngineSide& side)
{
    side.engine.randomizeFleet();
    side.engine.acceptFleet();
}

bool EnginePair::fireAt(EngineSide& side, int column, int row)
{
    return side.engine.fireAt({ column, row }) == FireResult::Fired;
}

// A match in which neither side can fire and nothing is on its way is stuck, as it is once a
// side has fired at all its 100 cells: it stops there and fails.
int EnginePair::playToEnd(Delivery delivery)
{
    int shots = 0;
    int next[2] = { 0, 0 };
    const int startWins = server.engine.myWins() + client.engine.myWins();
    while (server.engine.myWins() + client.engine.myWins() == startWins) {
        const int before = shots;
        for (int s = 0; s < 2; ++s) {
            EngineSide& side = s == 0 ? server : client;
            const MatchState state = side.engine.matchState();
            if (state.phase != GamePhase::Playing || !state.isShooter || state.shotPending)
                continue;
            // Next cell not yet shot, in this side's order.
            while (next[s] < 100) {
                const int a = next[s] / 10;
                const int b = next[s] % 10;
                const int column = s == 0 ? a : b;
                const int row = s == 0 ? b : a;
                ++next[s];
                if (side.engine.enemyBoard().getCell(column, row) == CellEmpty) {
                    fireAt(side, column, row);
                    ++shots;
                    break;
                }
            }
        }
        const bool quiet = server.link.queued.empty() && client.link.queued.empty();
        if (!pump(delivery))
            return shots;
        if (shots == before && quiet) {
            ADD_FAILURE() << "the match is stuck after " << shots
                          << " shots: neither side can fire and nothing is on its way";
            return shots;
        }
    }
    return shots;
}
