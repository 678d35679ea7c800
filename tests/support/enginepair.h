#pragma once

#include "recordingevents.h"

#include "match/matchengine.h"
#include "match/peerlink.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

// A connection in memory: what one side sends waits here until the test delivers it.
class MemoryLink : public PeerLink {
public:
    long sendToPeer(std::string_view bytes) override;

    bool open = true;
    std::deque<std::string> queued; // one entry per send call
    std::vector<std::string> sent; // every message ever accepted
};

// One side of a match with no window and no socket.
struct EngineSide {
    EngineSide();
    RecordingEvents events;
    MemoryLink link;
    MatchEngine engine { events, link };
};

// How queued bytes reach the other side.
enum class Delivery {
    PerSend, // each send arrives in a read of its own
    Coalesced, // everything queued arrives in one read
    ByteByByte, // one byte per read
};

// A legal fleet, as (column, row) cells: a T of five with its bar along row 1, a straight
// four, two threes, three twos and four single cells.
extern const std::vector<std::pair<int, int>> handFleet;

// Sets a cell of the own grid, or takes it away, as a player's click does.
void clickOwnCell(MatchEngine& engine, int column, int row, bool rightButton = false);
void placeFleetByHand(MatchEngine& engine, const std::vector<std::pair<int, int>>& cells);

// Two engines back to back: the first listened, the second connected.
class EnginePair {
public:
    explicit EnginePair(unsigned seed = 1);

    void connect();
    // Delivers queued messages both ways until neither side has anything to send; false
    // (and a test failure) when they never stop.
    bool pump(Delivery delivery = Delivery::PerSend);
    // Places a random fleet and accepts it.
    void randomizeAndAccept(EngineSide& side);
    // Fires at the cell as a player's click does; true when the shot went out.
    bool fireAt(EngineSide& side, int column, int row);
    // Plays the match to its end with both sides firing over their grids in order
    // (the first side column by column, the second row by row); returns the shots fired.
    // A match that cannot go on is a test failure, and it returns at once.
    int playToEnd(Delivery delivery = Delivery::PerSend);

    EngineSide server;
    EngineSide client;
};
