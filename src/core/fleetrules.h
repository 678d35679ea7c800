#pragma once

class Board;

// The fleet a player must build: eleven ships, 25 cells.
inline constexpr int FleetCellCount = 25;

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
