// The fleet generator and the fleet rules.

#include "enginepair.h"

#include "core/fleetgenerator.h"
#include "core/fleetrules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// One fleet per iteration, a new seed each time.
void generateFleetMean(benchmark::State& state)
{
    Board board;
    unsigned seed = 0;
    for (auto _ : state) {
        RandomSource random(seed++);
        generateFleet(board, random);
        benchmark::DoNotOptimize(board.cells);
    }
}
BENCHMARK(generateFleetMean);

// The spread over seeds: some fleets need many attempts, a few start again from a cleared
// board. Each iteration times 100,000 seeds one by one and reports their median and worst.
void generateFleetSpread(benchmark::State& state)
{
    constexpr unsigned seeds = 100000;
    std::vector<double> times(seeds);
    Board board;
    for (auto _ : state) {
        for (unsigned seed = 0; seed < seeds; ++seed) {
            const auto start = std::chrono::steady_clock::now();
            RandomSource random(seed);
            generateFleet(board, random);
            benchmark::DoNotOptimize(board.cells);
            times[seed]
                = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                      .count();
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median ns"] = times[seeds / 2];
    state.counters["p99 ns"] = times[seeds * 99 / 100];
    state.counters["worst ns"] = times.back();
}
BENCHMARK(generateFleetSpread)->Iterations(1)->Unit(benchmark::kMillisecond);

void validateFleetCall(benchmark::State& state)
{
    Board board;
    for (auto [column, row] : handFleet)
        board.setCell(column, row, CellShip);
    for (auto _ : state)
        benchmark::DoNotOptimize(validateFleet(board));
}
BENCHMARK(validateFleetCall);

} // namespace

BENCHMARK_MAIN();
