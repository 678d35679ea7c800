#pragma once

#include <array>
#include <cstdint>

// Cell codes. The same codes serve every board; what they mean depends on the board:
// on the own board CellShip is an intact ship cell and CellHit a hit one, on the enemy
// board a hit is recorded with CellShip, and the cover board shows CellCover where the
// fleet is hidden.
enum CellCode : std::uint8_t {
    CellEmpty = 0,
    CellShip = 1,
    CellWater = 2,
    CellHit = 3,
    CellCover = 5,
};

enum MeasureMode : std::uint8_t {
    CountCells = 0, // number of cells of the ship
    EraseShip = 1, // the same, and every cell of the ship becomes CellEmpty
    CountIntact = 2, // cells of the ship still holding CellShip
    MarkWater = 3, // water around every cell of the ship; answers 0
};

// A cell of a grid: column 0 is the leftmost, row 0 the top one. A cell off the grid (a peer
// may name one) has a column or row outside 0..9.
struct GridCell {
    int column = 0;
    int row = 0;

    bool operator==(const GridCell&) const = default;
};

// One 10x10 grid: a byte of cell code per cell, stored column by column (index
// column * 10 + row). A ship is a group of cells that are neither CellEmpty nor CellWater,
// joined through shared sides. No operation allocates.
class Board {
public:
    static constexpr int Size = 10;
    static constexpr int CellCount = Size * Size;

    Board();

    void clear();
    std::uint8_t getCell(int column, int row) const;
    std::uint8_t getCell(GridCell cell) const { return getCell(cell.column, cell.row); }
    void setCell(int column, int row, std::uint8_t code);
    void setCell(GridCell cell, std::uint8_t code) { setCell(cell.column, cell.row, code); }
    bool holdsCode(std::uint8_t code) const;
    std::uint8_t measureShip(int column, int row, MeasureMode mode);
    void markWaterAround(int column, int row);

    static bool onGrid(int column, int row)
    {
        return column >= 0 && column < Size && row >= 0 && row < Size;
    }
    static bool onGrid(GridCell cell) { return onGrid(cell.column, cell.row); }

    bool operator==(const Board&) const = default;

    std::array<std::uint8_t, CellCount> cells {};
};
