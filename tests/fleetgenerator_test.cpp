#include "core/board.h"
#include "core/fleetgenerator.h"
#include "core/fleetrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// The side-connected groups of ship cells.
std::vector<Cells> shipsOn(const Board& board)
{
    std::vector<Cells> ships;
    std::array<bool, 100> seen {};
    for (int start = 0; start < 100; ++start) {
        if (seen[start] || board.cells[start] != CellShip)
            continue;
        Cells ship;
        std::vector<int> pending { start };
        seen[start] = true;
        while (!pending.empty()) {
            const int index = pending.back();
            pending.pop_back();
            const int column = index / 10;
            const int row = index % 10;
            ship.emplace_back(column, row);
            const std::pair<int, int> sides[] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
            for (auto [dc, dr] : sides) {
                const int c = column + dc;
                const int r = row + dr;
                if (Board::onGrid(c, r) && !seen[c * 10 + r] && board.getCell(c, r) == CellShip) {
                    seen[c * 10 + r] = true;
                    pending.push_back(c * 10 + r);
                }
            }
        }
        ships.push_back(ship);
    }
    return ships;
}

bool straight(const Cells& ship)
{
    const bool oneColumn = std::all_of(
        ship.begin(), ship.end(), [&](auto cell) { return cell.first == ship.front().first; });
    const bool oneRow = std::all_of(
        ship.begin(), ship.end(), [&](auto cell) { return cell.second == ship.front().second; });
    return oneColumn || oneRow;
}

// Five cells: a junction with three neighbours in the ship, the stem going on for two.
bool tee(const Cells& ship)
{
    auto has = [&](int c, int r) {
        return std::find(ship.begin(), ship.end(), std::pair { c, r }) != ship.end();
    };
    for (auto [column, row] : ship) {
        const std::pair<int, int> sides[] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
        for (auto [dc, dr] : sides) {
            // The stem leaves along (dc, dr); the bar lies across it.
            if (has(column + dc, row + dr) && has(column + 2 * dc, row + 2 * dr)
                && has(column + dr, row + dc) && has(column - dr, row - dc)
                && !has(column - dc, row - dr))
                return ship.size() == 5;
        }
    }
    return false;
}

// Every generated fleet, over many seeds: the right ships, the right shapes, water all
// round each ship, and the hand-built fleet's rules accept it.
TEST(FleetGenerator, EveryFleetIsComplete)
{
    Board board;
    for (unsigned seed = 0; seed < 100000; ++seed) {
        RandomSource random(seed);
        generateFleet(board, random);
        const auto ships = shipsOn(board);
        std::vector<std::size_t> lengths;
        for (const Cells& ship : ships) {
            lengths.push_back(ship.size());
            if (ship.size() >= 2 && ship.size() <= 4) {
                ASSERT_TRUE(straight(ship)) << seed;
            }
            if (ship.size() == 5) {
                ASSERT_TRUE(tee(ship)) << seed;
            }
        }
        std::sort(lengths.rbegin(), lengths.rend());
        ASSERT_EQ(lengths, (std::vector<std::size_t> { 5, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1 })) << seed;
        // No diagonal contact either: two cells of different ships never share a corner.
        for (int column = 0; column < 9; ++column) {
            for (int row = 0; row < 9; ++row) {
                const bool a = board.getCell(column, row) == CellShip;
                const bool b = board.getCell(column + 1, row + 1) == CellShip;
                const bool c = board.getCell(column + 1, row) == CellShip;
                const bool d = board.getCell(column, row + 1) == CellShip;
                ASSERT_FALSE(a != c && a == b && c == d) << seed;
            }
        }
        ASSERT_TRUE(validateFleet(board)) << seed;
    }
}

TEST(FleetGenerator, SameSeedSameFleet)
{
    Board first;
    Board second;
    RandomSource a(42);
    RandomSource b(42);
    generateFleet(first, a);
    generateFleet(second, b);
    EXPECT_EQ(first.cells, second.cells);
    // A fixed seed gives a fixed fleet on every standard library.
    std::string rows;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column)
            rows += first.getCell(column, row) == CellShip ? '#' : '.';
        rows += '/';
    }
    EXPECT_EQ(rows,
        ".#..#...../.#..#...../.#..#.#.../......###./.####.#.../"
        "........##/#....#..../..#......./#.#.....#./.....#..#./");
}

// The weights of one draw: 1 to 6 twice as often as 0, 7, 8 and 9. Over 1.6 million
// draws each count lies within 1% of its expectation with a margin of more than ten
// standard deviations, so the bounds cannot fail by chance.
TEST(FleetGenerator, CoordinateDrawsHaveTheirWeights)
{
    RandomSource random(7);
    constexpr int draws = 1600000;
    std::array<int, 10> counts {};
    for (int i = 0; i < draws; ++i) {
        const int value = randomCoordinate(random);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 9);
        ++counts[value];
    }
    for (int value = 0; value < 10; ++value) {
        const double expected = draws * (value >= 1 && value <= 6 ? 2.0 : 1.0) / 16.0;
        EXPECT_NEAR(counts[value], expected, expected * 0.01) << value;
    }
}

TEST(FleetGenerator, TemplatesFollowTheirDraw)
{
    Board board;
    // The T's orientations by the low two bits of the draw: stem down, left, up, right.
    const std::pair<int, int> stemEnds[] = { { 5, 7 }, { 3, 5 }, { 5, 3 }, { 7, 5 } };
    for (int choice = 0; choice < 4; ++choice) {
        board.clear();
        ASSERT_TRUE(tryPlaceShip(shipTemplateFor(5, choice), 5, 5, board));
        EXPECT_EQ(board.getCell(stemEnds[choice].first, stemEnds[choice].second), CellShip);
        EXPECT_EQ(board.measureShip(5, 5, CountCells), 5);
    }
    // Odd draws lay a pair across (the anchor and the cell to its left), even ones upright.
    board.clear();
    ASSERT_TRUE(tryPlaceShip(shipTemplateFor(2, 1), 5, 5, board));
    EXPECT_EQ(board.getCell(4, 5), CellShip);
    board.clear();
    ASSERT_TRUE(tryPlaceShip(shipTemplateFor(4, 1), 5, 5, board));
    EXPECT_EQ(board.getCell(5, 3), CellShip);
    EXPECT_EQ(board.getCell(5, 6), CellShip);
}

TEST(FleetGenerator, PlacesOnlyWithAFreeMargin)
{
    Board board;
    board.setCell(3, 3, CellShip);
    const Board before = board;
    EXPECT_FALSE(tryPlaceShip(shipTemplateFor(3, 0), 4, 4, board)) << "touches at a corner";
    EXPECT_FALSE(tryPlaceShip(shipTemplateFor(3, 0), 9, 0, board)) << "off the grid";
    EXPECT_EQ(board.cells, before.cells);
    EXPECT_TRUE(isClearAround(5, 5, board));
    EXPECT_FALSE(isClearAround(4, 2, board));
    EXPECT_TRUE(isClearAround(0, 9, board));
    EXPECT_TRUE(tryPlaceShip(shipTemplateFor(3, 0), 6, 3, board));
}

} // namespace
