#include "board.h"

namespace {

// The cells a ship walk has left for a neighbour, to come back to for their others: the
// path from the start. Fixed size: when all 30 entries are in use, a cell left is not
// recorded, so a group whose paths run longer than 30 cells (possible only on the enemy
// board) can be walked incompletely.
class CellStack {
public:
    bool empty() const { return count == 0; }
    void push(int column, int row)
    {
        if (count < Capacity)
            entries[count++] = column * 256 + row;
    }
    void pop(int& column, int& row)
    {
        const int packed = entries[--count];
        column = packed / 256;
        row = packed % 256;
    }

private:
    static constexpr int Capacity = 30;
    std::array<int, Capacity> entries {};
    int count = 0;
};

} // namespace

Board::Board() { clear(); }

void Board::clear() { cells.fill(CellEmpty); }

std::uint8_t Board::getCell(int column, int row) const
{
    return onGrid(column, row) ? cells[column * Size + row] : std::uint8_t(CellEmpty);
}

void Board::setCell(int column, int row, std::uint8_t code)
{
    if (onGrid(column, row))
        cells[column * Size + row] = code;
}

bool Board::holdsCode(std::uint8_t code) const
{
    for (std::uint8_t cell : cells) {
        if (cell == code)
            return true;
    }
    return false;
}

// Depth-first walk over a private copy of the grid in which water counts as empty and
// visited cells are emptied, so the mode's changes to the board itself (erasing, water
// marks) never change which cells the walk reaches. A cell is recorded each time the walk
// leaves it for a neighbour, so the walk comes back to it for every other neighbour: a cell
// with ship cells on all four sides is walked whole, as the fleet rules need to see a plus
// of five, or a ship of six, for what it is.
std::uint8_t Board::measureShip(int column, int row, MeasureMode mode)
{
    if (!onGrid(column, row))
        return 0;
    std::array<std::uint8_t, CellCount> copy = cells;
    for (std::uint8_t& cell : copy) {
        if (cell == CellWater)
            cell = CellEmpty;
    }
    auto at = [&copy](int c, int r) -> std::uint8_t& { return copy[c * Size + r]; };
    if (at(column, row) == CellEmpty)
        return 0;

    CellStack stack;
    std::uint8_t tally = 0;
    int c = column;
    int r = row;
    for (;;) {
        if (at(c, r) != CellEmpty) {
            const std::uint8_t code = at(c, r);
            at(c, r) = CellEmpty;
            switch (mode) {
            case CountCells:
                ++tally;
                break;
            case EraseShip:
                setCell(c, r, CellEmpty);
                ++tally;
                break;
            case CountIntact:
                if (code == CellShip)
                    ++tally;
                break;
            case MarkWater:
                markWaterAround(c, r);
                break;
            }
        }
        const bool left = c > 0 && at(c - 1, r) != CellEmpty;
        const bool right = c < Size - 1 && at(c + 1, r) != CellEmpty;
        const bool below = r < Size - 1 && at(c, r + 1) != CellEmpty;
        const bool above = r > 0 && at(c, r - 1) != CellEmpty;
        if (!left && !right && !below && !above) {
            if (stack.empty())
                return tally;
            stack.pop(c, r);
            continue;
        }
        stack.push(c, r);
        if (left)
            --c;
        else if (right)
            ++c;
        else if (below)
            ++r;
        else
            --r;
    }
}

void Board::markWaterAround(int column, int row)
{
    static constexpr int offsets[8][2]
        = { { -1, -1 }, { -1, 0 }, { -1, 1 }, { 0, -1 }, { 0, 1 }, { 1, -1 }, { 1, 0 }, { 1, 1 } };
    for (const auto& offset : offsets) {
        const int c = column + offset[0];
        const int r = row + offset[1];
        if (onGrid(c, r) && getCell(c, r) == CellEmpty)
            setCell(c, r, CellWater);
    }
}
