// The computer player's shot planners, in memory: each level against generated fleets and
// fleets built by hand, the hard level's reading of the replies, the fleets it draws, and an
// automatic player at the controls of a match engine.

#include "enginepair.h"

#include "core/board.h"
#include "core/easyplanner.h"
#include "core/fleetgenerator.h"
#include "core/fleetrules.h"
#include "core/fleetsampler.h"
#include "core/hardplanner.h"
#include "core/normalplanner.h"
#include "core/seachart.h"
#include "match/autoplayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Cells = std::vector<std::pair<int, int>>;

// The target's side of the shots, answered as the match engine answers them: the reply names
// the whole ship's length, and a sinking shows the water around the ship.
struct Target {
    Board fleet;
    Board view;
    std::vector<ShotReport> shots;

    explicit Target(const Board& ships)
        : fleet(ships)
    {
    }

    void fire(int column, int row)
    {
        ShotReport report { { column, row }, ShotReport::Miss, 0 };
        if (fleet.getCell(column, row) == CellShip || fleet.getCell(column, row) == CellHit) {
            fleet.setCell(column, row, CellHit);
            report.length = fleet.measureShip(column, row, CountCells);
            const bool sunk = fleet.measureShip(column, row, CountIntact) == 0;
            report.kind = sunk ? ShotReport::Sunk : ShotReport::Hit;
            view.setCell(column, row, CellShip);
            if (sunk)
                view.measureShip(column, row, MarkWater);
        } else {
            view.setCell(column, row, CellWater);
        }
        shots.push_back(report);
    }
    bool afloat() const { return fleet.holdsCode(CellShip); }
    FiringView firingView(bool generated) const { return { view, shots, generated }; }
};

Board boardOf(const Cells& cells)
{
    Board board;
    for (auto [column, row] : cells)
        board.setCell(column, row, CellShip);
    return board;
}

Board generatedFleet(unsigned seed)
{
    RandomSource random(seed);
    Board board;
    generateFleet(board, random);
    return board;
}

// A legal fleet that the generator never makes: a bent three, an S-shaped four, the T with its
// stem to the left along the right edge.
const Cells bentFleet {
    { 9, 0 }, { 9, 1 }, { 9, 2 }, { 8, 1 }, { 7, 1 }, // T
    { 0, 0 }, { 1, 0 }, { 1, 1 }, { 2, 1 }, // S-shaped four
    { 4, 0 }, { 5, 0 }, { 5, 1 }, // bent three
    { 0, 3 }, { 0, 4 }, { 0, 5 }, // straight three
    { 3, 3 }, { 4, 3 }, { 6, 3 }, { 6, 4 }, { 2, 6 }, { 2, 7 }, // twos
    { 9, 9 }, { 5, 6 }, { 8, 5 }, { 0, 9 }, // singles
};

HardPlanner::Options smallBudget(int draws = 60)
{
    HardPlanner::Options options;
    options.draws = draws;
    return options;
}

// Plays the planner against the fleet until every ship is sunk. Every cell it names must be
// one the shooter's grid shows as not yet shot; answers the shots fired.
int playOut(ShotPlanner& planner, const Board& fleet, bool declaredGenerated, unsigned seed)
{
    Target target(fleet);
    RandomSource random(seed);
    int shots = 0;
    while (target.afloat() && shots < 100) {
        const auto cell = planner.chooseShot(target.firingView(declaredGenerated), random);
        if (!cell) {
            ADD_FAILURE() << "no shot while ships are afloat";
            break;
        }
        if (target.view.getCell(cell->column, cell->row) != CellEmpty) {
            ADD_FAILURE() << "shot at a cell already shot or known water: " << cell->column << ","
                          << cell->row << " (shot " << shots + 1 << ")";
            break;
        }
        // A legal fleet always answers in a way some fleet of the hard level's models explains.
        if (const auto* hard = dynamic_cast<const HardPlanner*>(&planner)) {
            EXPECT_FALSE(hard->lastDecision().fellBack) << "shot " << shots + 1;
            EXPECT_GT(hard->lastDecision().validDraws, 0) << "shot " << shots + 1;
        }
        target.fire(cell->column, cell->row);
        ++shots;
    }
    EXPECT_FALSE(target.afloat());
    return shots;
}

struct LevelCase {
    const char* name;
    std::function<std::unique_ptr<ShotPlanner>()> make;
};

const LevelCase levels[] = {
    { "easy", [] { return std::make_unique<EasyPlanner>(); } },
    { "normal", [] { return std::make_unique<NormalPlanner>(); } },
    { "hard", [] { return std::make_unique<HardPlanner>(smallBudget()); } },
    { "hard, no generator odds",
        [] {
            HardPlanner::Options options = smallBudget();
            options.generatorWeights = false;
            return std::make_unique<HardPlanner>(options);
        } },
};

// Every level sinks every fleet, generated or built by hand, whatever the opponent declared
// (a peer may declare a generated fleet and place one by hand), and never fires at a cell
// already shot or known to be water. The hard level always finds fleets that explain the
// replies, ships along every edge included.
TEST(ShotPlanners, EveryLevelSinksEveryFleetWithoutWastingAShot)
{
    ASSERT_TRUE(validateFleet(boardOf(bentFleet)));
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(level.name);
        auto planner = level.make();
        for (unsigned seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(seed);
            for (bool declared : { true, false }) {
                const int generated = playOut(*planner, generatedFleet(seed), declared, seed);
                EXPECT_GE(generated, FleetCellCount);
                const int byHand = playOut(*planner, boardOf(bentFleet), declared, seed);
                EXPECT_GE(byHand, FleetCellCount);
            }
        }
    }
}

TEST(ShotPlanners, NothingToFireAtOnAGridAllShot)
{
    Board view;
    for (int index = 0; index < Board::CellCount; ++index)
        view.cells[static_cast<std::size_t>(index)] = CellWater;
    RandomSource random(1);
    for (const LevelCase& level : levels) {
        SCOPED_TRACE(level.name);
        EXPECT_FALSE(level.make()->chooseShot({ view, {}, true }, random));
    }
}

TEST(ShotPlanners, LevelNames)
{
    for (PlannerLevel level : { PlannerLevel::Easy, PlannerLevel::Normal, PlannerLevel::Hard })
        EXPECT_EQ(plannerLevelFromName(plannerLevelName(level)), level);
    EXPECT_FALSE(plannerLevelFromName("Hard"));
    EXPECT_FALSE(plannerLevelFromName(""));
}

// After a hit that did not sink, hunt and target fires beside it, and along the line once
// two hits make one.
TEST(NormalPlanner, FiresBesideAHitAndAlongALine)
{
    Target target(boardOf({ { 4, 4 }, { 4, 5 }, { 4, 6 } }));
    target.fire(4, 5);
    RandomSource random(3);
    NormalPlanner planner;
    for (int round = 0; round < 20; ++round) {
        const auto cell = planner.chooseShot(target.firingView(false), random);
        ASSERT_TRUE(cell);
        EXPECT_EQ(std::abs(cell->column - 4) + std::abs(cell->row - 5), 1);
    }
    target.fire(4, 4);
    for (int round = 0; round < 20; ++round) {
        const auto cell = planner.chooseShot(target.firingView(false), random);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->column, 4);
        EXPECT_TRUE(cell->row == 3 || cell->row == 6);
    }
}

struct ChartCase {
    const char* name;
    Cells hits;
    std::vector<ShotReport> shots;
    bool consistent;
    int groups;
};

ShotReport hitAt(int column, int row, int length)
{
    return { { column, row }, ShotReport::Hit, length };
}
ShotReport sunkAt(int column, int row, int length)
{
    return { { column, row }, ShotReport::Sunk, length };
}

// What the chart makes of the replies, and which replies no fleet can give.
TEST(SeaChart, GroupsHitsAndRefusesRepliesThatBreakTheRules)
{
    const ChartCase cases[] = {
        { "a sunk pair and a hit three", { { 1, 1 }, { 2, 1 }, { 6, 6 } },
            { hitAt(1, 1, 2), sunkAt(2, 1, 2), hitAt(6, 6, 3) }, true, 2 },
        { "hits touching at a corner are one ship", { { 4, 4 }, { 5, 5 } },
            { hitAt(4, 4, 5), hitAt(5, 5, 5) }, true, 1 },
        { "a sunk ship of the wrong size", { { 1, 1 }, { 2, 1 } },
            { hitAt(1, 1, 3), sunkAt(2, 1, 3) }, false, 1 },
        { "a hit with no length", { { 3, 3 } }, { hitAt(3, 3, 0) }, false, 1 },
        { "one ship, two lengths", { { 3, 3 }, { 3, 4 } }, { hitAt(3, 3, 4), hitAt(3, 4, 3) },
            false, 1 },
        { "a single cell that did not sink", { { 3, 3 } }, { hitAt(3, 3, 1) }, false, 1 },
        { "far apart, two ships", { { 0, 0 }, { 5, 5 } }, { hitAt(0, 0, 3), hitAt(5, 5, 3) }, true,
            2 },
        { "five singles sunk", { { 0, 0 }, { 2, 0 }, { 4, 0 }, { 6, 0 }, { 8, 0 } },
            { sunkAt(0, 0, 1), sunkAt(2, 0, 1), sunkAt(4, 0, 1), sunkAt(6, 0, 1), sunkAt(8, 0, 1) },
            false, 5 },
    };
    for (const ChartCase& test : cases) {
        SCOPED_TRACE(test.name);
        Board view;
        for (auto [column, row] : test.hits)
            view.setCell(column, row, CellShip);
        const SeaChart chart({ view, test.shots, true });
        EXPECT_EQ(chart.consistent(), test.consistent);
        EXPECT_EQ(static_cast<int>(chart.hitGroups().size()), test.groups);
        EXPECT_EQ(chart.openCount(), Board::CellCount - static_cast<int>(test.hits.size()));
    }
}

// A four with three cells hit in a column and water above them can only go on below; a pair
// hit once with water on three sides can only lie on the fourth.
TEST(HardPlanner, ReadsTheLengthsInTheReplies)
{
    struct Case {
        const char* name;
        Cells ships;
        Cells shots;
        bool generated;
        GridCell expected;
    };
    const Case cases[] = {
        { "the rest of a straight four", { { 4, 1 }, { 4, 2 }, { 4, 3 }, { 4, 4 } },
            { { 4, 0 }, { 4, 2 }, { 4, 3 }, { 4, 1 } }, true, { 4, 4 } },
        { "the other cell of a pair", { { 5, 5 }, { 6, 5 } },
            { { 5, 4 }, { 5, 6 }, { 4, 5 }, { 5, 5 } }, false, { 6, 5 } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Target target(boardOf(test.ships));
        for (auto [column, row] : test.shots)
            target.fire(column, row);
        HardPlanner planner(smallBudget(200));
        RandomSource random(9);
        const auto cell = planner.chooseShot(target.firingView(test.generated), random);
        ASSERT_TRUE(cell);
        EXPECT_EQ(*cell, test.expected);
        EXPECT_FALSE(planner.lastDecision().fellBack);
    }
}

// Replies that no legal fleet gives leave the hard level to hunt and target; a fleet declared
// generated that turns out built by hand is read as any legal fleet.
TEST(HardPlanner, ReadsPeersThatBreakTheirWord)
{
    RandomSource random(4);
    HardPlanner planner(smallBudget());

    Board view;
    view.setCell(3, 3, CellShip);
    const std::vector<ShotReport> nonsense { hitAt(3, 3, 1) };
    auto cell = planner.chooseShot({ view, nonsense, true }, random);
    ASSERT_TRUE(cell);
    EXPECT_EQ(view.getCell(cell->column, cell->row), CellEmpty);
    EXPECT_TRUE(planner.lastDecision().fellBack);

    // Two hits of the one ship of five, too far apart to be one ship.
    view.clear();
    view.setCell(0, 0, CellShip);
    view.setCell(5, 5, CellShip);
    const std::vector<ShotReport> twoFives { hitAt(0, 0, 5), hitAt(5, 5, 5) };
    cell = planner.chooseShot({ view, twoFives, true }, random);
    ASSERT_TRUE(cell);
    EXPECT_EQ(view.getCell(cell->column, cell->row), CellEmpty);
    EXPECT_TRUE(planner.lastDecision().fellBack);

    Target target(boardOf(bentFleet));
    for (auto [column, row] : Cells { { 4, 0 }, { 5, 0 }, { 5, 1 } })
        target.fire(column, row);
    ASSERT_EQ(target.shots.back().kind, ShotReport::Sunk);
    cell = planner.chooseShot(target.firingView(true), random);
    ASSERT_TRUE(cell);
    EXPECT_EQ(target.view.getCell(cell->column, cell->row), CellEmpty);
    EXPECT_FALSE(planner.lastDecision().fellBack);
    EXPECT_GT(planner.lastDecision().validDraws, 0);
}

// Replays the shots against a drawn fleet: it must answer every one as the real fleet did.
bool answersAlike(const Board& drawn, const Target& real)
{
    Target replay(drawn);
    for (const ShotReport& shot : real.shots)
        replay.fire(shot.cell.column, shot.cell.row);
    for (std::size_t i = 0; i < real.shots.size(); ++i) {
        if (replay.shots[i].kind != real.shots[i].kind
            || replay.shots[i].length != real.shots[i].length)
            return false;
    }
    return replay.view.cells == real.view.cells;
}

// Every fleet the sampler draws is legal and would have answered every shot of the match so
// far exactly as the real fleet did, and the weights are spread over many of them.
TEST(FleetSampler, DrawnFleetsAreLegalAndAnswerEveryShotAlike)
{
    struct Model {
        FleetSampler::Shapes shapes;
        FleetSampler::Prior prior;
        bool generatedFleet;
    };
    const Model models[] = {
        { FleetSampler::Shapes::Generated, FleetSampler::Prior::Generator, true },
        { FleetSampler::Shapes::Generated, FleetSampler::Prior::Even, true },
        { FleetSampler::Shapes::AnyLegal, FleetSampler::Prior::Even, false },
    };
    for (const Model& model : models) {
        FleetSampler sampler(model.shapes, model.prior);
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(seed);
            Target target(model.generatedFleet ? generatedFleet(seed) : boardOf(bentFleet));
            // Part of a match: the normal level's shots, which hit and sink some ships.
            NormalPlanner shooter;
            RandomSource random(seed);
            for (int shot = 0; shot < 35; ++shot) {
                const auto cell = shooter.chooseShot(target.firingView(false), random);
                target.fire(cell->column, cell->row);
            }
            ASSERT_TRUE(sampler.observe(SeaChart(target.firingView(model.generatedFleet))));
            int valid = 0;
            double weights = 0;
            double squares = 0;
            for (int draw = 0; draw < 150; ++draw) {
                const FleetSampler::Fleet fleet = sampler.drawFleet(random);
                if (fleet.weight <= 0)
                    continue;
                ++valid;
                weights += fleet.weight;
                squares += fleet.weight * fleet.weight;
                Board drawn;
                for (int index = 0; index < Board::CellCount; ++index) {
                    if (fleet.ship[static_cast<std::size_t>(index)])
                        drawn.cells[static_cast<std::size_t>(index)] = CellShip;
                }
                ASSERT_TRUE(validateFleet(drawn));
                ASSERT_TRUE(answersAlike(drawn, target));
            }
            // No few fleets carry all the weight: the effective number of draws stays high.
            EXPECT_GT(weights * weights / squares, 50.0);
            EXPECT_GT(valid, 120);
        }
    }
}

// The probability of a ship on each cell, with the generator's odds, matches how often the
// generator itself puts one there: before any shot, and given a few misses (among the
// generator's fleets that would have answered them alike).
TEST(FleetSampler, GeneratorOddsMatchTheGenerator)
{
    for (int misses : { 0, 3 }) {
        SCOPED_TRACE(misses);
        Target target(generatedFleet(11));
        for (int index = 22; target.shots.size() < static_cast<std::size_t>(misses); index += 23) {
            const int column = index % 100 / 10;
            const int row = index % 10;
            if (target.fleet.getCell(column, row) == CellEmpty)
                target.fire(column, row);
        }

        std::array<double, 100> counted {};
        int accepted = 0;
        RandomSource generator(5);
        while (accepted < 6000) {
            Board fleet;
            generateFleet(fleet, generator);
            if (!answersAlike(fleet, target))
                continue;
            ++accepted;
            for (int index = 0; index < Board::CellCount; ++index)
                counted[static_cast<std::size_t>(index)]
                    += fleet.cells[static_cast<std::size_t>(index)] == CellShip;
        }

        FleetSampler sampler(FleetSampler::Shapes::Generated, FleetSampler::Prior::Generator);
        FleetSampler uniform(FleetSampler::Shapes::Generated, FleetSampler::Prior::Even);
        const SeaChart chart(target.firingView(true));
        ASSERT_TRUE(sampler.observe(chart));
        ASSERT_TRUE(uniform.observe(chart));
        RandomSource random(6);
        FleetSampler::Estimate estimate;
        FleetSampler::Estimate uniformEstimate;
        const auto noDeadline = std::chrono::steady_clock::now() + std::chrono::hours(1);
        sampler.sample(6000, noDeadline, random, estimate);
        uniform.sample(6000, noDeadline, random, uniformEstimate);
        double worst = 0;
        double uniformWorst = 0;
        for (int index = 0; index < Board::CellCount; ++index) {
            if (target.view.cells[static_cast<std::size_t>(index)] != CellEmpty)
                continue;
            const double expected = counted[static_cast<std::size_t>(index)] / accepted;
            worst = std::max(worst,
                std::abs(estimate.shipWeight[static_cast<std::size_t>(index)] / estimate.totalWeight
                    - expected));
            uniformWorst = std::max(uniformWorst,
                std::abs(uniformEstimate.shipWeight[static_cast<std::size_t>(index)]
                        / uniformEstimate.totalWeight
                    - expected));
        }
        // Each frequency has a standard error under 0.007 here.
        EXPECT_LT(worst, 0.035);
        EXPECT_GT(uniformWorst, 0.05); // the generator's odds do matter
    }
}

// Two engines, each at the controls of an automatic player, play whole matches through the
// commands a person's clicks give; the engine takes them like any other.
TEST(AutoPlayer, PlaysWholeMatchesThroughTheEngine)
{
    struct Pairing {
        const char* name;
        std::function<std::unique_ptr<ShotPlanner>()> server;
        std::function<std::unique_ptr<ShotPlanner>()> client;
    };
    const Pairing pairings[] = {
        { "easy against normal", levels[0].make, levels[1].make },
        { "hard against normal", levels[2].make, levels[1].make },
    };
    for (const Pairing& pairing : pairings) {
        SCOPED_TRACE(pairing.name);
        EnginePair pair(7);
        AutoPlayer server(pair.server.engine, pairing.server());
        AutoPlayer client(pair.client.engine, pairing.client());
        pair.connect();
        for (int match = 1; match <= 2; ++match) {
            int steps = 0;
            while (pair.server.engine.myWins() + pair.client.engine.myWins() < match) {
                ASSERT_LT(++steps, 1000) << "the match does not end";
                for (AutoPlayer* player : { &server, &client }) {
                    player->play();
                    pair.pump();
                }
                // Each side fires at a cell at most once in a match.
                for (const Side* side : { &pair.server, &pair.client }) {
                    std::set<std::pair<int, int>> fired;
                    for (const ShotResult& result : side->engine.shotResults())
                        ASSERT_TRUE(fired.insert({ result.column, result.row }).second);
                }
            }
            EXPECT_EQ(pair.server.engine.myWins(), pair.client.engine.peerWins());
            EXPECT_EQ(pair.server.engine.peerWins(), pair.client.engine.myWins());
        }
        const auto wins = [](const Side& side) {
            return std::count(side.link.sent.begin(), side.link.sent.end(), "$WINGAME$");
        };
        EXPECT_EQ(wins(pair.server) + wins(pair.client), 2);
        EXPECT_EQ(wins(pair.server), pair.client.engine.myWins());
    }
}

// The player reads a reply's length as the digit it is; anything else names no ship, and the
// hard level still finds a cell to fire at.
TEST(AutoPlayer, RepliesWithoutADigitNameNoLength)
{
    Side side;
    AutoPlayer player(side.engine, std::make_unique<HardPlanner>(smallBudget()));
    side.engine.connectionOpened(true);
    EXPECT_EQ(player.nextMove(), AutoPlayer::Move::DeclareFleet);
    EXPECT_EQ(player.play(), AutoPlayer::Move::DeclareFleet);
    EXPECT_EQ(side.link.sent.back(), "$READY$ &RANDOMIZED");
    side.engine.onPeerData("$READY$ &RANDOMIZED");
    ASSERT_EQ(player.nextMove(), AutoPlayer::Move::Fire);
    ASSERT_EQ(player.play(), AutoPlayer::Move::Fire);
    EXPECT_EQ(player.nextMove(), AutoPlayer::Move::None);
    side.engine.onPeerData("TREQ:x");
    const std::vector<ShotReport> reports = player.shotReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, ShotReport::Hit);
    EXPECT_EQ(reports[0].length, 0);
    ASSERT_EQ(player.play(), AutoPlayer::Move::Fire);
    EXPECT_EQ(side.link.sent.back().substr(0, 5), "TIRO:");
    EXPECT_NE(side.link.sent.back(), side.link.sent[side.link.sent.size() - 2]);
}

} // namespace
