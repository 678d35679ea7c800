#pragma once

#include "board.h"

#include <algorithm>
#include <array>
#include <vector>

// The fleet a player must build: eleven ships, 25 cells.
inline constexpr int FleetCellCount = 25;
// How many ships of each size it holds: four of 1 cell, three of 2, two of 3, one of 4 and
// one of 5 (index 0 unused).
inline constexpr std::array<int, 6> FleetShipsOfSize { 0, 4, 3, 2, 1, 1 };
inline constexpr int LargestFleetShip = 5;

// The first rule a fleet breaks, in the order they are checked.
enum class FleetFault {
    None, // a legal fleet
    ShipTooLong, // a group of more than five cells
    WrongShips, // not the eleven ships of the fleet
    ShipsTouch, // two ships touch at a corner
    FiveNotATee, // the ship of five is not a T
};

FleetFault checkFleet(const Board& board);

// True when the board holds a legal fleet: side-connected groups of exactly four ships
// of 1 cell, three of 2, two of 3, one of 4 and one of 5; no two groups touching at a
// corner; the 5-cell group a T (a bar of three with a stem of two from the bar's middle,
// in any orientation, anywhere on the grid). Groups of 3 and 4 may have any shape.
// Reads CellEmpty as sea and every other code as ship.
bool validateFleet(const Board& board);

// The legal ships that stand on a board, by size: side-connected groups of 1 to 5 cells that
// touch no other group, not even at a corner, and for five, a T. A fleet being built
// counts what it already holds.
struct FleetCount {
    std::array<int, LargestFleetShip + 1> ships {}; // index 0 unused

    // The ships of a size that count towards the fleet: no more than it holds of that size.
    int ticked(int size) const { return std::min(ships[size], FleetShipsOfSize[size]); }

    bool operator==(const FleetCount&) const = default;
};

FleetCount countShips(const Board& board);

// A rule a fleet breaks, and where. Cells are in reading order: row 0 first, each row from
// column 0.
struct FleetProblem {
    FleetFault fault = FleetFault::None;
    // ShipTooLong and FiveNotATee: the cells of that ship. ShipsTouch: the two cells that
    // meet at a corner. WrongShips: the first cell of each ship of that size on the board.
    std::vector<GridCell> cells;
    int size = 0; // of the ship too long, the five, or the ships too many or too few

    bool operator==(const FleetProblem&) const = default;
};

// The rule the board breaks first, in the order a player mends them: a ship too long, then
// ships touching, each seen where it stands; then the number of ships of a size (the
// largest size with too many, else the largest with too few); then the five's shape. A
// fleet not yet complete (not judged as its 25th cell would be) may still gain cells, which
// join ships or make them longer: it breaks the counts only with more than one ship of five,
// and the shape with a five that is not a T, since more cells cannot mend either. Ships
// touching are told at once all the same: a cell set between them joins them into one.
FleetProblem findProblem(const Board& board, bool complete);
