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
            EXPECT_EQ(countShips(turned).ships, FleetShipsOfSize) << quarter;
            EXPECT_EQ(countShips(mirrored(turned)).ships, FleetShipsOfSize) << quarter;
            EXPECT_EQ(findProblem(mirrored(turned), true), FleetProblem {}) << quarter;
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
            EXPECT_EQ(findProblem(mirrored(turned), true).fault, c.fault)
                << c.name << ", quarter " << quarter;
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

namespace {

// Stages of the legal fleet above, and boards that break rules. Cells are named as the grid
// labels them: the row's letter, then the column's digit.
const Board teeAndFour = boardFrom({ "", ".###.####.", "..#", "..#" });
// A fourth two, J2-J3, for the singles J0 and J4.
const Board aTwoTooMany = boardFrom({ "..........", ".###.####.", "..#.......", "..#......#",
    "....##...#", "#......#.#", "#.##......", "#.........", "......##..", "..##.....#" });
// The single F7 moved to G8, touching the three D9-F9 at a corner.
const Board cornerToCorner = boardFrom({ "..........", ".###.####.", "..#.......", "..#......#",
    "....##...#", "#........#", "#.##....#.", "#.........", "......##..", "#...#....#" });

// The ships that count at each stage: what stands legally on the board, no more of a size
// than the fleet holds, and nothing of two ships that touch, a group too long or a five
// that is not a T.
TEST(FleetRules, CountsTheShipsThatStandAtEveryStage)
{
    struct Stage {
        const char* name;
        Board board;
        std::array<int, 6> found; // by size
        int ticked; // of all sizes
    };
    const Stage stages[] = {
        { "empty", Board {}, {}, 0 },
        { "the T and the four", teeAndFour, { 0, 0, 0, 0, 1, 1 }, 2 },
        { "complete", boardFrom(legal), FleetShipsOfSize, 11 },
        { "a two too many", aTwoTooMany, { 0, 2, 4, 2, 1, 1 }, 9 },
        { "a single touching a three", cornerToCorner, { 0, 3, 3, 1, 1, 1 }, 9 },
        { "a straight five, a six and a two", boardFrom({ "#####", "", "######", "", "##" }),
            { 0, 0, 1, 0, 0, 0 }, 1 },
    };
    for (const Stage& stage : stages) {
        const FleetCount count = countShips(stage.board);
        EXPECT_EQ(count.ships, stage.found) << stage.name;
        int ticked = 0;
        for (int size = 1; size <= LargestFleetShip; ++size)
            ticked += count.ticked(size);
        EXPECT_EQ(ticked, stage.ticked) << stage.name;
    }
}

// The rule broken, and where, for a complete fleet (as its 25th cell is judged) and for one
// still being built, which only breaks what more cells cannot mend.
TEST(FleetRules, FindsTheRuleBrokenAndItsCells)
{
    struct Finding {
        const char* name;
        Board board;
        bool complete;
        FleetFault fault;
        std::vector<std::string_view> cells;
        int size = 0;
    };
    const Finding findings[] = {
        { "legal", boardFrom(legal), true, FleetFault::None, {} },
        { "the T and the four, being built", teeAndFour, false, FleetFault::None, {} },
        { "too few of every size", teeAndFour, true, FleetFault::WrongShips, {}, 3 },
        { "a two too many", aTwoTooMany, true, FleetFault::WrongShips, { "E4", "G2", "I6", "J2" },
            2 },
        { "corner contact", cornerToCorner, true, FleetFault::ShipsTouch, { "F9", "G8" } },
        { "corner contact, being built", boardFrom({ "", "", "", "", "", "", "", "..#", ".#" }),
            false, FleetFault::ShipsTouch, { "H2", "I1" } },
        { "a group of six", boardFrom(cases[8].grid), true, FleetFault::ShipTooLong,
            { "A5", "A8", "B5", "B6", "B7", "B8" }, 6 },
        { "an L of five, being built", boardFrom({ "#", "#", "#", "##" }), false,
            FleetFault::FiveNotATee, { "A0", "B0", "C0", "D0", "D1" }, 5 },
        { "two Ts, being built", boardFrom({ "###..###", ".#....#.", ".#....#." }), false,
            FleetFault::WrongShips, { "A0", "A5" }, 5 },
        // Two rules at once: ships touching (G8 at F9) and a two split into singles (G2 and
        // G4) tell the contact; a straight five and a two split (G2 and G5), the numbers.
        { "touching, and singles too many",
            boardFrom({ "..........", ".###.####.", "..#.......", "..#......#", "....##...#",
                "#........#", "#.#.#...#.", "#.........", "......##..", "#...#....#" }),
            true, FleetFault::ShipsTouch, { "F9", "G8" } },
        { "a straight five, and singles too many",
            boardFrom({ "..#.......", "..#..####.", "..#.......", "..#......#", "..#.##...#",
                "#......#.#", "#.#..#....", "#.........", "......##..", "#...#....#" }),
            true, FleetFault::WrongShips, { "F7", "G2", "G5", "J0", "J4", "J9" }, 1 },
    };
    for (const Finding& f : findings) {
        std::vector<GridCell> cells;
        for (std::string_view name : f.cells)
            cells.push_back({ name[1] - '0', name[0] - 'A' });
        EXPECT_EQ(findProblem(f.board, f.complete), (FleetProblem { f.fault, cells, f.size }))
            << f.name;
    }
}

// A complete fleet that breaks one rule breaks the one checkFleet finds.
TEST(FleetRules, FindsTheRuleCheckFleetFindsWhenOneIsBroken)
{
    for (const Case& c : cases)
        EXPECT_EQ(findProblem(boardFrom(c.grid), true).fault, c.fault) << c.name;
}

} // namespace
