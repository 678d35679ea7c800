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

// One 10x10 grid: a byte of cell code per cell, stored column by column (index
// column * 10 + row), the pixel origin at which it is drawn and the cursor cell that
// mouse tracking keeps under the pointer. A ship is a group of cells that are neither
// CellEmpty nor CellWater, joined through shared sides. No operation allocates.
class Board {
public:
    static constexpr int Size = 10;
    static constexpr int CellCount = Size * Size;

    Board(int originX = 0, int originY = 0);

    void clear();
    std::uint8_t getCell(int column, int row) const;
    void setCell(int column, int row, std::uint8_t code);
    bool holdsCode(std::uint8_t code) const;
    void setCursor(int column, int row);
    std::uint8_t measureShip(int column, int row, MeasureMode mode);
    void markWaterAround(int column, int row);

    static bool onGrid(int column, int row)
    {
        return column >= 0 && column < Size && row >= 0 && row < Size;
    }

    std::array<std::uint8_t, CellCount> cells {};
    int originX;
    int originY;
    int cursorColumn = 0;
    int cursorRow = 0;
};
