#include "core/board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

Board withCells(std::initializer_list<std::pair<int, int>> cells, std::uint8_t code = CellShip)
{
    Board board;
    for (auto [column, row] : cells)
        board.setCell(column, row, code);
    return board;
}

TEST(Board, CellsAndTheEdgesOfTheGrid)
{
    Board board;
    EXPECT_FALSE(board.holdsCode(CellShip));
    board.setCell(2, 7, CellHit);
    EXPECT_EQ(board.cells[27], CellHit) << "stored column by column";
    EXPECT_EQ(board.getCell(2, 7), CellHit);
    EXPECT_EQ(board.getCell(7, 2), CellEmpty);
    board.setCell(9, 9, CellShip);
    EXPECT_TRUE(board.holdsCode(CellShip));
    // Off the grid, reads answer CellEmpty and writes change nothing: (3, 10) is not (4, 0).
    const Board before = board;
    for (auto [column, row] :
        { std::pair { -1, 0 }, { 0, 10 }, { 10, 0 }, { 3, 10 }, { -128, 127 } }) {
        EXPECT_EQ(board.getCell(column, row), CellEmpty);
        board.setCell(column, row, CellShip);
    }
    EXPECT_EQ(board.cells, before.cells);
    EXPECT_EQ(board.getCell(GridCell { 9, 9 }), CellShip);
    EXPECT_FALSE(Board::onGrid(GridCell { 3, 10 }));
    board.clear();
    EXPECT_FALSE(board.holdsCode(CellHit));
}

TEST(Board, MeasuresTheShipHoldingACell)
{
    Board board
        = withCells({ { 3, 4 }, { 4, 4 }, { 5, 4 }, { 0, 0 }, { 1, 1 }, { 7, 7 }, { 9, 7 } });
    board.setCell(4, 4, CellHit);
    board.setCell(8, 7, CellWater);
    board.setCell(6, 6, CellWater);
    EXPECT_EQ(board.measureShip(3, 4, CountCells), 3);
    EXPECT_EQ(board.measureShip(5, 4, CountIntact), 2);
    EXPECT_EQ(board.measureShip(0, 0, CountCells), 1) << "corner contact joins nothing";
    EXPECT_EQ(board.measureShip(7, 7, CountCells), 1) << "water parts two cells";
    // From open sea, water or off the grid: 0 in every mode, and nothing changes.
    const Board before = board;
    for (MeasureMode mode : { CountCells, EraseShip, CountIntact, MarkWater }) {
        EXPECT_EQ(board.measureShip(2, 2, mode), 0);
        EXPECT_EQ(board.measureShip(6, 6, mode), 0);
        EXPECT_EQ(board.measureShip(-1, 3, mode), 0);
    }
    EXPECT_EQ(board.cells, before.cells);
    board.setCell(3, 4, CellHit);
    board.setCell(5, 4, CellHit);
    EXPECT_EQ(board.measureShip(4, 4, CountIntact), 0);
}

TEST(Board, TheWalkReachesEveryBranchAndAlwaysEnds)
{
    Board comb;
    for (int column = 0; column < 10; ++column)
        comb.setCell(column, 0, CellShip);
    for (int column = 0; column < 10; column += 2) {
        comb.setCell(column, 1, CellShip);
        comb.setCell(column, 2, CellShip);
    }
    EXPECT_EQ(comb.measureShip(9, 0, CountCells), 20);
    Board ring;
    for (int i = 2; i <= 6; ++i) {
        for (auto [column, row] : { std::pair { i, 2 }, { i, 6 }, { 2, i }, { 6, i } })
            ring.setCell(column, row, CellShip);
    }
    EXPECT_EQ(ring.measureShip(4, 6, CountCells), 16);
    // A cell with ship cells on all four sides: every arm is walked, from wherever the walk
    // starts, so a plus is a five and a plus with a tail a six, not a four and a single or a
    // four and a two.
    const std::pair<int, int> plus[] = { { 4, 4 }, { 3, 4 }, { 5, 4 }, { 4, 3 }, { 4, 5 } };
    for (const auto& extra : { std::pair { -1, -1 }, std::pair { 4, 6 }, std::pair { 2, 4 } }) {
        Board ship = withCells({ plus[0], plus[1], plus[2], plus[3], plus[4] });
        ship.setCell(extra.first, extra.second, CellShip);
        const int size = extra.first < 0 ? 5 : 6;
        for (int column = 0; column < 10; ++column) {
            for (int row = 0; row < 10; ++row) {
                if (ship.getCell(column, row) == CellShip) {
                    EXPECT_EQ(ship.measureShip(column, row, CountCells), size)
                        << column << ", " << row << " of " << size;
                }
            }
        }
    }
    // A full grid overflows the walk's 30 remembered cells: some cells may be missed, but
    // the walk ends and counts none twice.
    Board full;
    full.cells.fill(CellShip);
    const int counted = full.measureShip(0, 0, CountCells);
    EXPECT_GT(counted, 29);
    EXPECT_LE(counted, 100);
}

TEST(Board, EraseAndWaterTouchOnlyWhatTheyShould)
{
    Board board
        = withCells({ { 4, 4 }, { 5, 4 }, { 6, 4 }, { 5, 5 }, { 5, 6 }, { 0, 0 }, { 9, 9 } });
    board.setCell(8, 8, CellWater);
    EXPECT_EQ(board.measureShip(5, 6, EraseShip), 5);
    Board expected = withCells({ { 0, 0 }, { 9, 9 } });
    expected.setCell(8, 8, CellWater);
    EXPECT_EQ(board.cells, expected.cells);

    // Water round a ship in a corner: only empty cells on the grid become water.
    board = withCells({ { 1, 0 }, { 9, 9 } });
    board.setCell(0, 0, CellHit);
    board.setCell(0, 1, CellWater);
    board.setCell(2, 1, CellCover);
    expected = board;
    expected.setCell(1, 1, CellWater);
    expected.setCell(2, 0, CellWater);
    EXPECT_EQ(board.measureShip(1, 0, MarkWater), 0);
    EXPECT_EQ(board.cells, expected.cells);
}

// The board as rows top to bottom: '.' CellEmpty, '#' CellShip, '~' CellWater, 'x' CellHit,
// 'c' CellCover.
std::string picture(const Board& board)
{
    std::string rows;
    for (int row = 0; row < Board::Size; ++row) {
        for (int column = 0; column < Board::Size; ++column)
            rows += ".#~x?c"[std::min<int>(board.getCell(column, row), 5)];
        rows += '/';
    }
    return rows;
}

// A ship is measured whole from any of its cells, wherever it lies: the walk steps into the
// first and last rows and columns from either side.
TEST(Board, MeasuresShipsAlongEveryEdge)
{
    const struct {
        std::initializer_list<std::pair<int, int>> cells;
        std::pair<int, int> start;
        int expected;
    } cases[] = {
        { { { 5, 0 }, { 5, 1 } }, { 5, 1 }, 2 }, // up into row 0
        { { { 5, 8 }, { 5, 9 } }, { 5, 8 }, 2 }, // down into row 9
        { { { 0, 4 }, { 1, 4 } }, { 1, 4 }, 2 }, // left into column 0
        { { { 8, 4 }, { 9, 4 } }, { 8, 4 }, 2 }, // right into column 9
        { { { 9, 9 }, { 9, 8 }, { 9, 7 }, { 8, 9 }, { 7, 9 } }, { 7, 9 }, 5 },
        { { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 1, 0 }, { 2, 0 } }, { 0, 2 }, 5 },
        { { { 3, 1 }, { 3, 0 }, { 4, 0 } }, { 3, 1 }, 3 },
    };
    for (const auto& c : cases) {
        Board board = withCells(c.cells);
        EXPECT_EQ(board.measureShip(c.start.first, c.start.second, CountCells), c.expected)
            << c.start.first << "," << c.start.second;
    }
}

// A sunk ship is ringed with water on all eight sides of every cell, the grid's edges and the
// cells that are not open sea left alone.
TEST(Board, WaterRingsASunkShipOnEverySide)
{
    const struct {
        std::initializer_list<std::pair<int, int>> cells;
        std::string expected;
    } cases[] = {
        { { { 4, 4 } },
            "........../........../........../...~~~..../...~x~..../...~~~..../........../"
            "........../........../........../" },
        { { { 8, 8 }, { 9, 8 }, { 8, 9 } },
            "........../........../........../........../........../........../........../"
            ".......~~~/.......~xx/.......~x~/" },
        { { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 1, 1 }, { 1, 2 } },
            "xxx~....../~x~~....../~x~......./~~~......./........../........../........../"
            "........../........../........../" },
    };
    for (const auto& c : cases) {
        Board board = withCells(c.cells, CellHit);
        EXPECT_EQ(board.measureShip(c.cells.begin()->first, c.cells.begin()->second, MarkWater), 0);
        EXPECT_EQ(picture(board), c.expected);
    }
}

} // namespace
