#include "core/board.h"
#include "core/fleetrules.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace {

using Grid = std::array<std::string_view, 10>; // rows top to bottom, '#' a ship cell

Board boardFrom(const Grid& grid)
{
    Board board;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < static_cast<int>(grid[row].size()); ++column) {
            if (grid[row][column] == '#')
                board.setCell(column, row, CellShip);
        }
    }
    return board;
}

Board mirrored(const Board& board)
{
    Board result;
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 10; ++row)
            result.setCell(9 - column, row, board.getCell(column, row));
    }
    return result;
}

Board transposed(const Board& board)
{
    Board result;
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 10; ++row)
            result.setCell(row, column, board.getCell(column, row));
    }
    return result;
}

// A legal fleet: the T of five with its bar along row 1 and its stem down.
constexpr Grid legal {
    "..........",
    ".###.####.",
    "..#.......",
    "..#......#",
    "....##...#",
    "#......#.#",
    "#.##......",
    "#.........",
    "......##..",
    "#...#....#",
};

// The T's bar along the right edge, its stem pointing left.
constexpr Grid teeOnTheEdge {
    "#.#......#",
    ".......###",
    "####.....#",
    "..........",
    "###..###..",
    "..........",
    "##..##..##",
    "..........",
    "..........",
    "#....#....",
};

struct Case {
    const char* name;
    Grid grid;
    FleetFault fault; // the first rule the fleet breaks
};

const Case cases[] = {
    { "legal fleet", legal, FleetFault::None },
    { "straight five",
        { "..#.......", "..#..####.", "..#.......", "..#......#", "..#.##...#", "#......#.#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::FiveNotATee },
    { "plus-shaped five",
        { "..........", "..#..####.", ".###......", "..#......#", "....##...#", "#......#.#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::FiveNotATee },
    { "bent three",
        { "..........", ".###.####.", "..#.......", "..#.....##", "....##...#", "#......#..",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::None },
    { "T-shaped four to the right of the five",
        { "..........", ".###.###..", "..#...#...", "..#......#", "....##...#", "#......#.#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::None },
    { "square four",
        { "..........", ".###.##...", "..#..##...", "..#......#", "....##...#", "#......#.#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::None },
    { "two ships touching at a corner",
        { "..........", ".###.####.", "..#.......", "..#......#", "....##...#", "#........#",
            "#.##....#.", "#.........", "......##..", "#...#....#" },
        FleetFault::ShipsTouch },
    { "two singles side by side",
        { "..........", ".###.####.", "..#.......", "..#......#", "....##...#", "#......#.#",
            "#.##......", "#.........", "......##..", "##.......#" },
        FleetFault::WrongShips },
    { "a group of six",
        { ".....#..#.", ".###.####.", "..#.......", "..#......#", "....##...#", "#........#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::ShipTooLong },
    { "a cell missing",
        { "..........", ".###.####.", "..#.......", "..#......#", "....##...#", "#........#",
            "#.##......", "#.........", "......##..", "#...#....#" },
        FleetFault::WrongShips },
    { "T along the right edge", teeOnTheEdge, FleetFault::None },
    { "empty board", { "", "", "", "", "", "", "", "", "", "" }, FleetFault::WrongShips },
    // Walked as a four and a two, this six would make the fleet's counts come out right.
    { "a plus with a tail, and the rest for a four and a two",
        { ".........#", "..#..###.#", ".###..#..#", "..#...#...", "..#.......", ".........#",
            "#...###...", "#.........", "........##", "#..#..#..." },
        FleetFault::ShipTooLong },
};

TEST(FleetRules, JudgesEachFleet)
{
    for (const Case& c : cases) {
        EXPECT_EQ(checkFleet(boardFrom(c.grid)), c.fault) << c.name;
        EXPECT_EQ(validateFleet(boardFrom(c.grid)), c.fault == FleetFault::None) << c.name;
    }
}

// A legal fleet stays legal however it is turned or mirrored: the T may stand in any of its
// four orientations, along any edge of the grid.
TEST(FleetRules, AcceptsTheTeeInEveryOrientationAndOnEveryEdge)
{
    for (const Grid& grid : { legal, teeOnTheEdge }) {
        Board turned = boardFrom(grid);
        for (int quarter = 0; quarter < 4; ++quarter) {
            EXPECT_TRUE(validateFleet(turned)) << quarter;
            EXPECT_TRUE(validateFleet(mirrored(turned))) << quarter;
            turned = mirrored(transposed(turned)); // a quarter turn
        }
    }
}

// Fleets refused whichever way they are turned or mirrored, so that each fault shows at
// every edge of the grid: the single of row 9 moved up into the corner, touching the T's bar
// at a corner; and fives that are almost a T.
TEST(FleetRules, RefusesInEveryOrientation)
{
    const Case refused[] = {
        { "a corner contact in the grid's corner",
            { "#.........", ".###.####.", "..#.......", "..#......#", "....##...#", "#......#.#",
                "#.##......", "#.........", "......##..", "....#....#" },
            FleetFault::ShipsTouch },
        { "a bar of four with a stem of one",
            { "..........", "####.####.", ".#........", ".........#", "....##...#", "#......#.#",
                "#.##......", "#.........", "......##..", "#...#....#" },
            FleetFault::FiveNotATee },
        { "a T of four with a cell beside the end of its bar",
            { "...#......", ".###.####.", "..#.......", ".........#", "....##...#", "#......#.#",
                "#.##......", "#.........", "......##..", "#...#....#" },
            FleetFault::FiveNotATee },
        { "a T whose stem turns aside",
            { "..........", ".###.####.", "..##......", ".........#", "....##...#", "#......#.#",
                "#.##......", "#.........", "......##..", "#...#....#" },
            FleetFault::FiveNotATee },
    };
    for (const Case& c : refused) {
        Board turned = boardFrom(c.grid);
        for (int quarter = 0; quarter < 4; ++quarter) {
            EXPECT_FALSE(validateFleet(turned)) << c.name << ", quarter " << quarter;
            EXPECT_EQ(checkFleet(turned), c.fault) << c.name << ", quarter " << quarter;
            EXPECT_FALSE(validateFleet(mirrored(turned))) << c.name << ", quarter " << quarter;
            turned = mirrored(transposed(turned));
        }
    }
}

TEST(FleetRules, ReadsTheBoardWithoutChangingIt)
{
    const Board board = boardFrom(legal);
    const Board copy = board;
    validateFleet(board);
    EXPECT_EQ(board.cells, copy.cells);
}

} // namespace
