#include "fleetrules.h"

#include "board.h"

#include <array>

namespace {

bool isShip(const Board& board, int column, int row)
{
    const std::uint8_t code = board.getCell(column, row);
    return code != CellEmpty && code != CellWater;
}

// The sizes of the groups: four ships of 1 cell, three of 2, two of 3, one of 4, one of 5.
FleetFault groupSizesFault(const Board& board)
{
    constexpr std::array<int, 6> wanted { 0, 4, 3, 2, 1, 1 };
    std::array<int, 6> found {};
    Board scratch = board;
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (!isShip(scratch, column, row))
                continue;
            const int size = scratch.measureShip(column, row, EraseShip);
            if (size > 5)
                return FleetFault::ShipTooLong;
            ++found[size];
        }
    }
    return found == wanted ? FleetFault::None : FleetFault::WrongShips;
}

// Two ships touching only at a corner leave a 2x2 block holding exactly two ship cells,
// on one of its diagonals.
bool hasCornerContact(const Board& board)
{
    for (int column = 0; column + 1 < Board::Size; ++column) {
        for (int row = 0; row + 1 < Board::Size; ++row) {
            const bool topLeft = isShip(board, column, row);
            const bool topRight = isShip(board, column + 1, row);
            const bool bottomLeft = isShip(board, column, row + 1);
            const bool bottomRight = isShip(board, column + 1, row + 1);
            if (topLeft == bottomRight && topRight == bottomLeft && topLeft != topRight)
                return true;
        }
    }
    return false;
}

// A T's junction is the middle of its bar: a ship cell with exactly three ship cells beside
// it, the stem leaving opposite the missing side and going on for a second cell. With the
// group sizes already checked, those five cells are a whole group: the T.
bool holdsTee(const Board& board)
{
    static constexpr int directions[4][2] = { { -1, 0 }, { 1, 0 }, { 0, 1 }, { 0, -1 } };
    for (int column = 0; column < Board::Size; ++column) {
        for (int row = 0; row < Board::Size; ++row) {
            if (!isShip(board, column, row))
                continue;
            int neighbours = 0;
            int missing = -1;
            for (int d = 0; d < 4; ++d) {
                if (isShip(board, column + directions[d][0], row + directions[d][1]))
                    ++neighbours;
                else
                    missing = d;
            }
            if (neighbours != 3)
                continue;
            const int stemColumn = column - 2 * directions[missing][0];
            const int stemRow = row - 2 * directions[missing][1];
            if (isShip(board, stemColumn, stemRow))
                return true;
        }
    }
    return false;
}

} // namespace

FleetFault checkFleet(const Board& board)
{
    if (const FleetFault sizes = groupSizesFault(board); sizes != FleetFault::None)
        return sizes;
    if (hasCornerContact(board))
        return FleetFault::ShipsTouch;
    return holdsTee(board) ? FleetFault::None : FleetFault::FiveNotATee;
}

bool validateFleet(const Board& board) { return checkFleet(board) == FleetFault::None; }
