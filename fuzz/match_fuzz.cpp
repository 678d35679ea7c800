// Two engines back to back, each played by the automatic player, with the fuzzer's bytes
// thrown in between their messages: the planners then read whatever replies came of it.
// Nothing may crash, no loop may spin, and nothing may grow without bound: every step sends
// a bounded number of messages, a match never records more answered shots than there are
// cells, and no side keeps more than one result a connection waiting to be seen.

#include "enginepair.h"

#include "ai/easyplanner.h"
#include "ai/hardplanner.h"
#include "ai/normalplanner.h"
#include "match/autoplayer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<ShotPlanner> planner(int level)
{
    switch (level % 3) {
    case 0:
        return std::make_unique<EasyPlanner>();
    case 1:
        return std::make_unique<NormalPlanner>();
    default:
        // Few fleets a shot: the fuzzer wants many shots, not good ones.
        return std::make_unique<HardPlanner>(HardPlanner::Options { .draws = 20 });
    }
}

// The script the bytes spell, one operation a byte with its arguments after it.
class Script {
public:
    Script(const std::uint8_t* bytes, std::size_t count)
        : data(bytes)
        , size(count)
    {
    }
    bool done() const { return position >= size; }
    std::uint8_t next() { return position < size ? data[position++] : 0; }
    std::string_view take(std::size_t wanted)
    {
        const std::size_t count = std::min(wanted, size - position);
        const std::string_view bytes(reinterpret_cast<const char*>(data) + position, count);
        position += count;
        return bytes;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// One message queued by `from`, read by `to`.
void deliverOne(EngineSide& from, EngineSide& to)
{
    if (from.link.queued.empty())
        return;
    const std::string bytes = std::move(from.link.queued.front());
    from.link.queued.pop_front();
    to.engine.onPeerData(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Script script(data, size);
    EnginePair pair(script.next());
    const int levels = script.next();
    EngineSide* sides[] = { &pair.server, &pair.client };
    AutoPlayer players[]
        = { { pair.server.engine, planner(levels) }, { pair.client.engine, planner(levels / 3) } };
    pair.connect();
    int connections = 1;

    for (int step = 0; step < 2000 && !script.done(); ++step) {
        const std::size_t before = pair.server.link.queued.size() + pair.client.link.queued.size();
        const std::uint8_t operation = script.next();
        const int s = (operation >> 3) & 1;
        EngineSide& side = *sides[s];
        EngineSide& other = *sides[1 - s];
        switch (operation & 7) {
        case 0: // one message across
            deliverOne(other, side);
            break;
        case 1: // everything queued, in one read
        {
            std::string bytes;
            for (const std::string& message : other.link.queued)
                bytes += message;
            other.link.queued.clear();
            side.engine.onPeerData(bytes);
            break;
        }
        case 2: // bytes of the fuzzer's own, in one read
            side.engine.onPeerData(script.take(script.next() % 48));
            break;
        case 3: // the player moves
        case 4:
            players[s].play();
            break;
        case 5: // results are held on screen, or the oldest is seen
            if (operation & 0x10)
                side.events.showResult();
            else
                side.events.holdResults = !side.events.holdResults;
            break;
        case 6: // the sends of this side start or stop failing
            side.link.open = !side.link.open;
            break;
        case 7: // the connection ends, and a new one begins
            if ((operation & 0xF0) == 0xF0) {
                for (EngineSide* each : sides) {
                    each->engine.connectionClosed();
                    each->link.queued.clear();
                }
                pair.connect();
                ++connections;
            }
            break;
        }
        const std::size_t after = pair.server.link.queued.size() + pair.client.link.queued.size();
        check(after <= before + 8); // no step sends more than a handful
        for (EngineSide* each : sides) {
            check(each->engine.shotResults().size() <= 100);
            // One result waiting to be seen a connection at most.
            check(each->events.unseenResults.size() <= static_cast<std::size_t>(connections));
            each->link.sent.clear();
            each->events.transcript.clear();
        }
    }
    return 0;
}
