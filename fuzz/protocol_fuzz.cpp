// Feeds arbitrary bytes, in arbitrary reads, to the message reader and to a match engine in
// each phase a peer can reach it in. Nothing a peer sends may crash the program, read out of
// bounds or make the reader keep more than one unfinished message.

#include "enginepair.h"

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int start = data[0] % 3; // placing, playing as shooter, playing as target
    const std::size_t chunk = 1 + data[1] % 64; // bytes per read
    data += 2;
    size -= 2;

    protocol::MessageReader reader;
    EngineSide side;
    side.engine.random().seed(static_cast<unsigned>(chunk));
    side.engine.connectionOpened(start == 2);
    if (start == 1) {
        side.engine.randomizeFleet();
        side.engine.acceptFleet();
        side.engine.onPeerData("$READY$");
    } else if (start == 2) {
        side.engine.onPeerData("$READY$");
        side.engine.randomizeFleet();
        side.engine.acceptFleet();
    }

    int nextCell = 0;
    for (std::size_t offset = 0; offset < size; offset += chunk) {
        const std::size_t length = std::min(chunk, size - offset);
        const std::string_view bytes(reinterpret_cast<const char*>(data) + offset, length);
        reader.feed(bytes);
        if (reader.pending().size() >= 19)
            std::abort();
        side.engine.onPeerData(bytes);
        // Fire when it is this side's turn, so replies find a shot to answer.
        const MatchState state = side.engine.matchState();
        if (state.phase == GamePhase::Playing && state.isShooter && !state.shotPending
            && nextCell < 100) {
            side.engine.fireAt({ nextCell / 10, nextCell % 10 });
            ++nextCell;
        }
        side.link.queued.clear();
    }
    return 0;
}
