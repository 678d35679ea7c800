// The computer player's shot planners in memory: each level against generated and hand-built
// fleets, how the hard level reads the replies and the fleets it draws, and peers that lie.

#include "ai/fleetsampler.h"
#include "ai/hardplanner.h"
#include "ai/seachart.h"
#include "core/board.h"
#include "core/fleetgenerator.h"
#include "core/fleetrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The target's side, answered as the match engine answers: the reply names the whole ship's
// length, and a sinking shows the water around the ship.
struct Target {
    Board fleet, view;
    std::vector<ShotReport> shots;

    void fire(GridCell at)
    {
        const int code = fleet.getCell(at.column, at.row);
        ShotReport report { at, ShotReport::Miss, 0 };
        if (code == CellShip || code == CellHit) {
            fleet.setCell(at.column, at.row, CellHit);
            report.length = fleet.measureShip(at.column, at.row, CountCells);
            report.kind = fleet.measureShip(at.column, at.row, CountIntact) ? ShotReport::Hit
                                                                            : ShotReport::Sunk;
        }
        view.setCell(at.column, at.row, report.length ? CellShip : CellWater);
        if (report.kind == ShotReport::Sunk)
            view.measureShip(at.column, at.row, MarkWater);
        shots.push_back(report);
    }
    FiringView firingView(bool generated) const { return { view, shots, generated }; }
};

Board generatedFleet(unsigned seed)
{
    RandomSource random(seed);
    Board board;
    generateFleet(board, random);
    return board;
}

// A legal fleet the generator never makes: a T along the right edge with its stem to the
// left, an S-shaped four, a bent three.
const Board bentFleet = [] {
    Board board;
    for (auto [column, row] : std::vector<std::pair<int, int>> { { 9, 0 }, { 9, 1 }, { 9, 2 },
             { 8, 1 }, { 7, 1 }, { 0, 0 }, { 1, 0 }, { 1, 1 }, { 2, 1 }, { 4, 0 }, { 5, 0 },
             { 5, 1 }, { 0, 3 }, { 0, 4 }, { 0, 5 }, { 3, 3 }, { 4, 3 }, { 6, 3 }, { 6, 4 },
             { 2, 6 }, { 2, 7 }, { 9, 9 }, { 5, 6 }, { 8, 5 }, { 0, 9 } })
        board.setCell(column, row, CellShip);
    return board;
}();

// Every level sinks every fleet, whatever the opponent declared (a peer may declare a
// generated fleet and place one by hand), never firing at a cell already shot or known to be
// water; the hard level always finds fleets that explain the replies, along every edge too.
TEST(ShotPlanners, EveryLevelSinksEveryFleetWithoutWastingAShot)
{
    ASSERT_TRUE(validateFleet(bentFleet));
    for (int level = 0; level < 4; ++level) { // easy, normal, hard, hard with even odds
        const std::unique_ptr<ShotPlanner> planner = level < 2
            ? makeShotPlanner(level == 0 ? PlannerLevel::Easy : PlannerLevel::Normal)
            : std::make_unique<HardPlanner>(
                HardPlanner::Options { .draws = 60, .generatorWeights = level == 2 });
        const auto* hardPlanner = dynamic_cast<const HardPlanner*>(planner.get());
        for (unsigned seed = 1; seed <= 3; ++seed) {
            for (const auto& [fleet, declared] : { std::pair { generatedFleet(seed), true },
                     { generatedFleet(seed), false }, { bentFleet, true }, { bentFleet, false } }) {
                Target target { fleet, {}, {} };
                RandomSource random(seed);
                while (target.fleet.holdsCode(CellShip)) {
                    const auto cell = planner->chooseShot(target.firingView(declared), random);
                    ASSERT_TRUE(cell);
                    ASSERT_EQ(target.view.getCell(cell->column, cell->row), CellEmpty)
                        << cell->column << "," << cell->row << " seed " << seed;
                    ASSERT_FALSE(hardPlanner && hardPlanner->lastDecision().fellBack);
                    target.fire(*cell);
                }
            }
        }
    }
}

// A reply as the shooter read it; no length: a miss.
ShotReport shot(int column, int row, int length = -1, ShotReport::Kind kind = ShotReport::Hit)
{
    return { { column, row }, length < 0 ? ShotReport::Miss : kind, std::max(length, 0) };
}

// The hard level reads the lengths in the replies to find the rest of a ship. Replies that
// break the fleet rules leave it no fleet to explain them: it falls back to hunt and target.
TEST(HardPlanner, ReadsTheRepliesAndSeesThroughRepliesThatBreakTheRules)
{
    constexpr auto Sunk = ShotReport::Sunk;
    const struct {
        const char* name;
        std::vector<ShotReport> shots;
        bool fallsBack;
        std::optional<GridCell> next;
    } cases[] = {
        { "the rest of a four", { shot(4, 0), shot(4, 2, 4), shot(4, 3, 4), shot(4, 1, 4) }, false,
            GridCell { 4, 4 } },
        { "the rest of a pair", { shot(5, 4), shot(5, 6), shot(4, 5), shot(5, 5, 2) }, false,
            GridCell { 6, 5 } },
        { "hits touching at a corner", { shot(4, 4, 5), shot(5, 5, 5) }, false, {} },
        { "a sunk ship of the wrong size", { shot(1, 1, 3), shot(2, 1, 3, Sunk) }, true, {} },
        { "a hit with no length", { shot(3, 3, 0) }, true, {} },
        { "one ship, two lengths", { shot(3, 3, 4), shot(3, 4, 3) }, true, {} },
        { "a single cell afloat", { shot(3, 3, 1) }, true, {} },
        { "two fives far apart", { shot(0, 0, 5), shot(5, 5, 5) }, true, {} },
        { "a sunk single touching a hit", { shot(3, 3, 1, Sunk), shot(4, 4, 2) }, true, {} },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Board view;
        for (const ShotReport& shot : test.shots)
            view.setCell(shot.cell.column, shot.cell.row,
                shot.kind == ShotReport::Miss ? CellWater : CellShip);
        const auto planner = std::make_unique<HardPlanner>(HardPlanner::Options { .draws = 200 });
        RandomSource random(4);
        const auto cell = planner->chooseShot({ view, test.shots, true }, random);
        ASSERT_TRUE(cell);
        EXPECT_EQ(view.getCell(cell->column, cell->row), CellEmpty);
        EXPECT_TRUE(!test.next || *cell == *test.next) << cell->column << "," << cell->row;
        EXPECT_EQ(planner->lastDecision().fellBack, test.fallsBack);
    }
}

// The shooter's view of the replies: misses and hits, and water around each sunk ship.
Board viewOf(const std::vector<ShotReport>& shots)
{
    Board view;
    for (const ShotReport& shot : shots)
        view.setCell(
            shot.cell.column, shot.cell.row, shot.kind == ShotReport::Miss ? CellWater : CellShip);
    for (const ShotReport& shot : shots) {
        if (shot.kind == ShotReport::Sunk)
            view.measureShip(shot.cell.column, shot.cell.row, MarkWater);
    }
    return view;
}

// Hunt and target: beside a ship afloat, along a line of hits to its end, and never at the
// ships already sunk, for any draw of the random source.
TEST(NormalPlanner, FollowsTheHitsOfTheShipAfloat)
{
    constexpr auto Sunk = ShotReport::Sunk;
    const struct {
        const char* name;
        std::vector<ShotReport> shots;
        std::vector<GridCell> choices;
    } cases[] = {
        { "one hit: a cell beside it", { shot(5, 5, 3) },
            { { 4, 5 }, { 6, 5 }, { 5, 4 }, { 5, 6 } } },
        { "a line of two: either end", { shot(4, 4, 4), shot(4, 5, 4) }, { { 4, 3 }, { 4, 6 } } },
        { "a line of three with water at one end: the other end",
            { shot(4, 4, 4), shot(4, 5, 4), shot(4, 6, 4), shot(4, 7) }, { { 4, 3 } } },
        { "a line along the top edge", { shot(0, 0, 3), shot(1, 0, 3) }, { { 2, 0 } } },
        { "a line up from the bottom edge", { shot(9, 9, 4), shot(9, 8, 4), shot(9, 7, 4) },
            { { 9, 6 } } },
        { "the ship afloat, not the one sunk", { shot(0, 0, 1, Sunk), shot(5, 5, 2) },
            { { 4, 5 }, { 6, 5 }, { 5, 4 }, { 5, 6 } } },
    };
    const auto planner = makeShotPlanner(PlannerLevel::Normal);
    for (const auto& test : cases) {
        const Board view = viewOf(test.shots);
        for (unsigned seed = 1; seed <= 20; ++seed) {
            RandomSource random(seed);
            const auto cell = planner->chooseShot({ view, test.shots, false }, random);
            ASSERT_TRUE(cell) << test.name;
            EXPECT_NE(
                std::find(test.choices.begin(), test.choices.end(), *cell), test.choices.end())
                << test.name << ": " << cell->column << "," << cell->row << " seed " << seed;
        }
    }
}

// A straight three hit at its top, water to its right: every fleet drawn puts the rest of the
// ship on the two cells below, which tie as the likeliest. Each shot is one of them, and the
// seed decides which.
TEST(HardPlanner, BreaksTiesAtRandomAmongTheLikeliest)
{
    const std::vector<ShotReport> shots { shot(0, 0, 3), shot(1, 0) };
    const Board view = viewOf(shots);
    std::vector<GridCell> chosen;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        HardPlanner planner(HardPlanner::Options { .draws = 100 });
        RandomSource random(seed);
        const auto cell = planner.chooseShot({ view, shots, true }, random);
        ASSERT_TRUE(cell);
        ASSERT_TRUE(*cell == (GridCell { 0, 1 }) || *cell == (GridCell { 0, 2 }))
            << cell->column << "," << cell->row << " seed " << seed;
        EXPECT_FALSE(planner.lastDecision().fellBack);
        chosen.push_back(*cell);
    }
    EXPECT_NE(std::count(chosen.begin(), chosen.end(), GridCell { 0, 1 }), 0);
    EXPECT_NE(std::count(chosen.begin(), chosen.end(), GridCell { 0, 2 }), 0);
}

TEST(ShotPlanners, LevelsGoByTheirNames)
{
    const std::pair<PlannerLevel, std::string_view> levels[] = { { PlannerLevel::Easy, "easy" },
        { PlannerLevel::Normal, "normal" }, { PlannerLevel::Hard, "hard" } };
    for (const auto& [level, name] : levels) {
        EXPECT_EQ(plannerLevelName(level), name);
        EXPECT_EQ(plannerLevelFromName(name), level);
    }
    for (std::string_view name : { "", "Normal", "hardest", "norma" })
        EXPECT_EQ(plannerLevelFromName(name), std::nullopt) << name;
}

// True when the fleet answers every shot fired at the real one alike.
bool answersAlike(const Board& fleet, const Target& real)
{
    Target replay { fleet, {}, {} };
    for (const ShotReport& shot : real.shots)
        replay.fire(shot.cell);
    // Equal views leave the kind of each reply no choice once its length agrees.
    return replay.view.cells == real.view.cells
        && std::equal(real.shots.begin(), real.shots.end(), replay.shots.begin(),
            [](const ShotReport& a, const ShotReport& b) { return a.length == b.length; });
}

// The sampler draws legal fleets that would have answered every shot so far as the real one
// did, the weight spread over many of them. With the generator's odds, the chance of a ship on
// each cell is how often the generator itself puts one there among its fleets that answer the
// misses alike; even odds are measurably off.
TEST(FleetSampler, DrawsFleetsThatAnswerAlikeAtTheGeneratorsOdds)
{
    using S = FleetSampler;
    constexpr int Fleets = 6000; // a standard error under 0.007 per cell
    for (unsigned seed = 0; seed <= 3; ++seed) {
        for (const auto& [shapes, prior] :
            { std::pair { S::Shapes::Generated, S::Prior::Generator },
                { S::Shapes::Generated, S::Prior::Even },
                { S::Shapes::AnyLegal, S::Prior::Even } }) {
            const bool generated = shapes == S::Shapes::Generated;
            // Seed 0: three misses, to compare with the generator; else part of a match.
            Target target { generated ? generatedFleet(seed + 10) : bentFleet, {}, {} };
            const auto shooter = makeShotPlanner(PlannerLevel::Normal);
            RandomSource random(seed);
            for (int draw = 0; target.shots.size() < (seed ? 35u : 3u); ++draw) {
                ASSERT_LT(draw, 1000) << "the planner keeps choosing ship cells";
                const GridCell cell = *shooter->chooseShot(target.firingView(false), random);
                if (seed || target.fleet.getCell(cell.column, cell.row) == CellEmpty)
                    target.fire(cell);
            }
            S sampler(shapes, prior);
            ASSERT_TRUE(sampler.observe(SeaChart(target.firingView(generated))));
            const int draws = seed ? 150 : Fleets;
            std::array<double, Board::CellCount> share {};
            double weights = 0, squares = 0;
            for (int draw = 0; draw < draws; ++draw) {
                const S::Fleet fleet = sampler.drawFleet(random);
                Board drawn;
                for (std::size_t index = 0; index < share.size(); ++index) {
                    drawn.cells[index] = fleet.ship[index] ? CellShip : CellEmpty;
                    share[index] += fleet.ship[index] * fleet.weight;
                }
                weights += fleet.weight;
                squares += fleet.weight * fleet.weight;
                ASSERT_TRUE(
                    fleet.weight <= 0 || (validateFleet(drawn) && answersAlike(drawn, target)))
                    << "seed " << seed;
            }
            EXPECT_GT(weights * weights / squares, draws / 3.0) << "seed " << seed;
            if (seed != 0 || !generated)
                continue;
            std::array<double, Board::CellCount> counted {};
            RandomSource generator(5);
            for (int accepted = 0; accepted < Fleets;) {
                Board fleet;
                generateFleet(fleet, generator);
                if (!answersAlike(fleet, target))
                    continue;
                ++accepted;
                for (std::size_t index = 0; index < counted.size(); ++index)
                    counted[index] += fleet.cells[index] == CellShip;
            }
            double worst = 0;
            for (std::size_t index = 0; index < counted.size(); ++index)
                worst = std::max(worst, std::abs(share[index] / weights - counted[index] / Fleets));
            EXPECT_EQ(worst < 0.035, prior == S::Prior::Generator) << worst;
        }
    }
}

} // namespace
