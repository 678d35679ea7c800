#pragma once

class Board;

// The fleet a player must build: eleven ships, 25 cells.
inline constexpr int FleetCellCount = 25;

// True when the board holds a legal fleet: side-connected groups of exactly four ships
// of 1 cell, three of 2, two of 3, one of 4 and one of 5; no two groups touching at a
// corner; the 5-cell group a T (a bar of three with a stem of two from the bar's middle,
// in any orientation, anywhere on the grid). Groups of 3 and 4 may have any shape.
// Reads CellEmpty as sea and every other code as ship.
bool validateFleet(const Board& board);
