#include "core/board.h"

#include <gtest/gtest.h>

namespace {

// Sets the listed cells to a code; cells are (column, row).
void put(Board& board, std::initializer_list<std::pair<int, int>> cells, std::uint8_t code)
{
    for (auto [column, row] : cells)
        board.setCell(column, row, code);
}

TEST(Board, NewBoardIsEmptyWithCursorAtOrigin)
{
    const Board board(310, 10);
    EXPECT_EQ(board.originX, 310);
    EXPECT_EQ(board.originY, 10);
    EXPECT_EQ(board.cursorColumn, 0);
    EXPECT_EQ(board.cursorRow, 0);
    EXPECT_FALSE(board.holdsCode(CellShip));
    EXPECT_TRUE(board.holdsCode(CellEmpty));
}

TEST(Board, ReadsAndWritesOffTheGridAreHarmless)
{
    Board board;
    put(board, { { 0, 9 }, { 9, 9 }, { 4, 0 } }, CellShip);
    const Board before = board;
    for (auto [column, row] :
        { std::pair { -1, 0 }, { 0, -1 }, { 10, 0 }, { 0, 10 }, { 3, 10 }, { -128, 127 } }) {
        EXPECT_EQ(board.getCell(column, row), CellEmpty) << column << "," << row;
        board.setCell(column, row, CellHit);
    }
    EXPECT_EQ(board.cells, before.cells) << "a write at (3, 10) must not reach (4, 0)";
}

TEST(Board, CellsAreStoredColumnByColumn)
{
    Board board;
    board.setCell(2, 7, CellHit);
    EXPECT_EQ(board.cells[27], CellHit);
    board.setCursor(9, 3);
    EXPECT_EQ(board.cursorColumn, 9);
    EXPECT_EQ(board.cursorRow, 3);
    board.clear();
    EXPECT_FALSE(board.holdsCode(CellHit));
    EXPECT_EQ(board.cursorColumn, 9) << "clear keeps the cursor";
}

TEST(Board, HoldsCodeFindsAnySingleCell)
{
    for (int index = 0; index < 100; ++index) {
        Board board;
        board.setCell(index / 10, index % 10, CellShip);
        EXPECT_TRUE(board.holdsCode(CellShip)) << index;
    }
}

TEST(Board, MeasureFromSeaOrWaterAnswersZeroAndChangesNothing)
{
    Board board;
    put(board, { { 1, 1 }, { 2, 1 } }, CellShip);
    board.setCell(5, 5, CellWater);
    const Board before = board;
    for (MeasureMode mode : { CountCells, EraseShip, CountIntact, MarkWater }) {
        EXPECT_EQ(board.measureShip(0, 0, mode), 0);
        EXPECT_EQ(board.measureShip(5, 5, mode), 0);
        EXPECT_EQ(board.measureShip(-1, 3, mode), 0);
        EXPECT_EQ(board.cells, before.cells) << int(mode);
    }
}

TEST(Board, MeasureCountsCellsAndIntactCells)
{
    Board board;
    put(board, { { 3, 4 }, { 4, 4 }, { 5, 4 } }, CellShip);
    board.setCell(4, 4, CellHit);
    EXPECT_EQ(board.measureShip(3, 4, CountCells), 3);
    EXPECT_EQ(board.measureShip(5, 4, CountIntact), 2);
    put(board, { { 3, 4 }, { 5, 4 } }, CellHit);
    EXPECT_EQ(board.measureShip(4, 4, CountCells), 3);
    EXPECT_EQ(board.measureShip(4, 4, CountIntact), 0);
}

TEST(Board, ShipsJoinOnlyThroughSides)
{
    Board board;
    put(board, { { 0, 0 }, { 1, 1 } }, CellShip); // corner contact: two ships
    EXPECT_EQ(board.measureShip(0, 0, CountCells), 1);
    put(board, { { 5, 5 }, { 7, 5 } }, CellShip);
    board.setCell(6, 5, CellWater); // water between two cells parts them
    EXPECT_EQ(board.measureShip(5, 5, CountCells), 1);
    board.setCell(6, 5, CellHit);
    EXPECT_EQ(board.measureShip(5, 5, CountCells), 3);
}

TEST(Board, WalkFollowsEveryBranchOfAShape)
{
    // A comb and a ring reach every cell, however the walk turns.
    Board comb;
    for (int column = 0; column < 10; ++column)
        put(comb, { { column, 0 } }, CellShip);
    for (int column = 0; column < 10; column += 2)
        put(comb, { { column, 1 }, { column, 2 } }, CellShip);
    EXPECT_EQ(comb.measureShip(9, 0, CountCells), 20);
    Board ring;
    for (int i = 2; i <= 6; ++i)
        put(ring, { { i, 2 }, { i, 6 }, { 2, i }, { 6, i } }, CellShip);
    EXPECT_EQ(ring.measureShip(4, 6, CountCells), 16);
}

TEST(Board, EraseShipEmptiesOnlyThatShip)
{
    Board board;
    put(board, { { 4, 4 }, { 5, 4 }, { 6, 4 }, { 5, 5 }, { 5, 6 } }, CellShip); // a T
    put(board, { { 0, 0 }, { 9, 9 } }, CellShip);
    board.setCell(8, 8, CellWater);
    EXPECT_EQ(board.measureShip(5, 6, EraseShip), 5);
    Board expected;
    put(expected, { { 0, 0 }, { 9, 9 } }, CellShip);
    expected.setCell(8, 8, CellWater);
    EXPECT_EQ(board.cells, expected.cells);
}

TEST(Board, MarkWaterInACornerTouchesOnlyEmptyCellsOnTheGrid)
{
    Board board;
    put(board, { { 0, 0 }, { 1, 0 } }, CellShip);
    board.setCell(0, 0, CellHit);
    board.setCell(0, 1, CellWater);
    board.setCell(2, 1, CellCover);
    board.setCell(9, 9, CellShip);
    Board expected = board;
    put(expected, { { 1, 1 }, { 2, 0 } }, CellWater);
    EXPECT_EQ(board.measureShip(1, 0, MarkWater), 0);
    EXPECT_EQ(board.cells, expected.cells);
}

TEST(Board, MarkWaterAroundOneCell)
{
    Board board;
    board.setCell(9, 9, CellShip);
    board.markWaterAround(9, 9);
    EXPECT_EQ(board.getCell(9, 9), CellShip);
    EXPECT_EQ(board.getCell(8, 8), CellWater);
    EXPECT_EQ(board.getCell(8, 9), CellWater);
    EXPECT_EQ(board.getCell(9, 8), CellWater);
    int water = 0;
    for (std::uint8_t cell : board.cells)
        water += cell == CellWater;
    EXPECT_EQ(water, 3);
}

TEST(Board, HugeGroupsEndTheWalk)
{
    // A full grid is one group of 100: the stack of 30 entries overflows, the walk still
    // ends, every cell is visited at most once.
    Board full;
    full.cells.fill(CellShip);
    const int counted = full.measureShip(0, 0, CountCells);
    EXPECT_GT(counted, 29);
    EXPECT_LE(counted, 100);
}

} // namespace
