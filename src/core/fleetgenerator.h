#pragma once

#include <array>
#include <cstdint>
#include <random>

class Board;

// The ship lengths of every fleet, in the order the generator places them.
inline constexpr std::array<int, 11> FleetLengths { 5, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1 };

// The one pseudo-random source of the game. Its raw output sequence is fixed by the
// language standard, and the generator maps raw draws itself, so a seed gives the same
// fleet with every standard library.
using RandomSource = std::mt19937;

// One ship shape: cell offsets from an anchor cell, ended by a pair whose column offset
// is 'E'.
struct ShipTemplate {
    struct Offset {
        std::int8_t column;
        std::int8_t row;
    };
    Offset offsets[6];
};

// A grid coordinate from the low four bits of one draw, 10..15 folded onto 1..6: so 1 to 6
// come twice as often as 0, 7, 8 and 9.
int randomCoordinate(RandomSource& random);

// True when the cell and its eight neighbours that lie on the grid are all CellEmpty.
bool isClearAround(int column, int row, const Board& board);

// Places the template at the anchor when every cell lies on the grid with a free margin
// around it; otherwise changes nothing.
bool tryPlaceShip(const ShipTemplate& shipTemplate, int anchorColumn, int anchorRow, Board& board);

// The template that a choice draw selects for a ship of the given length (1 to 5).
const ShipTemplate& shipTemplateFor(int length, int choice);

// Clears the board and places the whole fleet, longest ship first, each at random. A ship
// that finds no place in a bounded number of attempts starts the fleet again.
void generateFleet(Board& board, RandomSource& random);
