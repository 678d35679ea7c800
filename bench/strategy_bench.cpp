// Shots to win for each level of the computer player, against fleets from the game's
// generator, and the time the hard level takes per shot.
//
//   strategy_bench [--fleets N] [--budget-fleets M] [--budgets A,B,...] [--seed S]
//                  [benchmark flags]
//
// Every level fires at the same N fleets (10,000 unless told). The table gives the mean,
// median and 90th percentile of the shots each needed to sink the whole fleet, and for the
// hard level the median and worst time of one decision. The hard level is run with the
// generator's odds (as it plays against a fleet declared generated), without them (every
// place equally likely), and as against a fleet declared built by hand (any legal shapes),
// and then with each sampling budget of --budgets, on the first M fleets (1,000 unless
// told). Then Google Benchmark times one hard decision on a fixed position.

#include "ai/easyplanner.h"
#include "ai/hardplanner.h"
#include "ai/normalplanner.h"
#include "ai/shotplanner.h"
#include "core/board.h"
#include "core/fleetgenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The target's side of a shot, as the match engine answers it: the reply names the length
// of the ship hit, and a sinking marks the water around the ship on the shooter's grid.
struct Target {
    Board fleet;
    Board view;
    std::vector<ShotReport> shots;

    bool fire(GridCell cell)
    {
        ShotReport report { cell, ShotReport::Miss, 0 };
        if (fleet.getCell(cell.column, cell.row) == CellShip) {
            fleet.setCell(cell.column, cell.row, CellHit);
            report.length = fleet.measureShip(cell.column, cell.row, CountCells);
            const bool sunk = fleet.measureShip(cell.column, cell.row, CountIntact) == 0;
            report.kind = sunk ? ShotReport::Sunk : ShotReport::Hit;
            view.setCell(cell.column, cell.row, CellShip);
            if (sunk)
                view.measureShip(cell.column, cell.row, MarkWater);
        } else {
            view.setCell(cell.column, cell.row, CellWater);
        }
        shots.push_back(report);
        return fleet.holdsCode(CellShip);
    }
};

struct Run {
    std::vector<int> shots; // per fleet
    std::vector<double> decisionMicros;
};

Run play(const std::function<std::unique_ptr<ShotPlanner>()>& makePlanner, bool declaredGenerated,
    int fleets, unsigned seed, bool timeDecisions)
{
    Run run;
    RandomSource fleetSource(seed);
    RandomSource shooterSource(seed + 1);
    auto planner = makePlanner();
    for (int game = 0; game < fleets; ++game) {
        Target target;
        generateFleet(target.fleet, fleetSource);
        int shots = 0;
        for (bool afloat = true; afloat && shots < 100;) {
            const FiringView view { target.view, target.shots, declaredGenerated };
            const auto start = std::chrono::steady_clock::now();
            const auto cell = planner->chooseShot(view, shooterSource);
            if (timeDecisions) {
                run.decisionMicros.push_back(std::chrono::duration<double, std::micro>(
                    std::chrono::steady_clock::now() - start)
                                                 .count());
            }
            if (!cell || target.view.getCell(cell->column, cell->row) != CellEmpty) {
                std::fprintf(stderr, "planner fired at a cell already shot\n");
                std::exit(1);
            }
            afloat = target.fire(*cell);
            ++shots;
        }
        run.shots.push_back(shots);
    }
    return run;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[index];
}

void report(std::string_view name, const Run& run)
{
    std::vector<double> shots(run.shots.begin(), run.shots.end());
    double sum = 0;
    for (double value : shots)
        sum += value;
    std::printf("%-44.*s %7.2f %7.0f %7.0f", static_cast<int>(name.size()), name.data(),
        sum / static_cast<double>(shots.size()), percentile(shots, 0.5), percentile(shots, 0.9));
    if (!run.decisionMicros.empty()) {
        std::printf("   %9.0f %9.0f", percentile(run.decisionMicros, 0.5),
            *std::max_element(run.decisionMicros.begin(), run.decisionMicros.end()));
    }
    std::printf("\n");
    std::fflush(stdout);
}

std::unique_ptr<ShotPlanner> hard(int draws, bool generatorWeights)
{
    HardPlanner::Options options;
    options.draws = draws;
    options.generatorWeights = generatorWeights;
    return std::make_unique<HardPlanner>(options);
}

// One hard decision on a position from the middle of a match.
void hardDecision(benchmark::State& state)
{
    RandomSource source(7);
    Target target;
    generateFleet(target.fleet, source);
    auto warmUp = hard(static_cast<int>(state.range(0)), true);
    for (int shot = 0; shot < 20; ++shot) {
        const FiringView view { target.view, target.shots, true };
        target.fire(*warmUp->chooseShot(view, source));
    }
    auto planner = hard(static_cast<int>(state.range(0)), true);
    const FiringView view { target.view, target.shots, true };
    for (auto _ : state)
        benchmark::DoNotOptimize(planner->chooseShot(view, source));
}
BENCHMARK(hardDecision)->Arg(250)->Arg(1500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    int fleets = 10'000;
    int budgetFleets = 1'000;
    unsigned seed = 2024;
    std::vector<int> budgets { 50, 100, 250, 500, 1000, 1500, 3000, 6000 };
    std::vector<char*> rest { argv[0] };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--fleets" && i + 1 < argc) {
            fleets = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--budget-fleets" && i + 1 < argc) {
            budgetFleets = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--budgets" && i + 1 < argc) {
            budgets.clear();
            std::string list = argv[++i];
            for (std::size_t at = 0; at < list.size();) {
                const std::size_t comma = std::min(list.find(',', at), list.size());
                budgets.push_back(std::max(1, std::atoi(list.substr(at, comma - at).c_str())));
                at = comma + 1;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }

    std::printf("shots to win over %d generated fleets (seed %u)\n", fleets, seed);
    std::printf(
        "%-44s %7s %7s %7s   %9s %9s\n", "player", "mean", "median", "p90", "us/shot", "worst us");
    const int defaultDraws = HardPlanner::Options {}.draws;
    report("easy", play([] { return std::make_unique<EasyPlanner>(); }, true, fleets, seed, false));
    report("normal (hunt and target)",
        play([] { return std::make_unique<NormalPlanner>(); }, true, fleets, seed, false));
    report("hard, generator odds",
        play([&] { return hard(defaultDraws, true); }, true, fleets, seed, true));
    report("hard, no generator odds",
        play([&] { return hard(defaultDraws, false); }, true, fleets, seed, true));
    report("hard, fleet declared built by hand",
        play([&] { return hard(defaultDraws, true); }, false, fleets, seed, true));
    std::printf("\nthe sampling budget, over the first %d of those fleets\n", budgetFleets);
    for (int draws : budgets) {
        report("hard, generator odds, " + std::to_string(draws) + " fleets/shot",
            play([&] { return hard(draws, true); }, true, budgetFleets, seed, true));
    }

    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
