#pragma once

#include "core/board.h"
#include "core/fleetgenerator.h"
#include "core/fleetrules.h"

// The fleet a player builds for a match, on the own board: cell by cell, the fleet rules
// judging it at the 25th cell, or placed whole (generated, or the fleet of an earlier match)
// and then accepted. Once declared, the board is the fleet the opponent fires at.
class FleetBuilder {
public:
    enum class Step {
        Ignored, // the cell was already set, or holds no ship to take away
        Set, // one cell more, the fleet not yet complete
        Complete, // the 25th cell made a legal fleet
        Refused, // the 25th cell made no legal fleet and was taken away again
        Cleared,
        NothingToClear, // no cell is placed
    };

    Step set(GridCell cell);
    Step clear(GridCell cell);
    void generate(RandomSource& random);
    // Places a legal fleet used before, as the generator had made it or not.
    void repeat(const Board& fleet, bool generated);

    int cellsPlaced() const { return placed; }
    bool complete() const { return placed == FleetCellCount; }
    // A fleet placed whole and untouched since: it can be accepted as it is.
    bool placedWhole() const { return whole; }
    // A fleet placed whole that the generator made: accepting it says so to the opponent.
    bool generated() const { return whole && fromGenerator; }
    // The rule the last refused fleet broke.
    FleetFault fault() const { return lastFault; }

    const Board& board() const { return own; }
    Board& board() { return own; }

private:
    Board own;
    int placed = 0;
    bool whole = false; // placed whole, and no cell taken away since
    bool fromGenerator = false; // of the fleet placed whole
    FleetFault lastFault = FleetFault::None;
};
