// The match engine and the board, in memory: no window, no socket.

#include "enginepair.h"
#include "match/protocol.h"

#include <benchmark/benchmark.h>

namespace {

// A whole match between two engines, from the ready declarations to "$WINGAME$", every
// message delivered in a read of its own. Reported per message exchanged.
void wholeMatch(benchmark::State& state)
{
    std::int64_t messages = 0;
    unsigned seed = 1;
    for (auto _ : state) {
        EnginePair pair(seed++);
        pair.connect();
        pair.randomizeAndAccept(pair.server);
        pair.pump();
        pair.randomizeAndAccept(pair.client);
        pair.pump();
        pair.playToEnd();
        messages += static_cast<std::int64_t>(
            pair.server.link.sent.size() + pair.client.link.sent.size());
        benchmark::DoNotOptimize(pair.server.engine.myWins());
    }
    state.counters["messages/match"] = benchmark::Counter(
        static_cast<double>(messages) / static_cast<double>(state.iterations()));
    state.counters["per message"] = benchmark::Counter(
        static_cast<double>(messages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(wholeMatch)->Unit(benchmark::kMicrosecond);

// One ship measure on a full fleet, for each mode that the game uses.
void measureShip(benchmark::State& state)
{
    Board board;
    for (auto [column, row] : handFleet)
        board.setCell(column, row, CellShip);
    const auto mode = static_cast<MeasureMode>(state.range(0));
    for (auto _ : state) {
        Board copy = board;
        benchmark::DoNotOptimize(copy.measureShip(2, 2, mode)); // the T of five
    }
}
BENCHMARK(measureShip)->Arg(CountCells)->Arg(CountIntact)->Arg(EraseShip)->Arg(MarkWater);

// One full read of the wire, as a peer may fill it: shots, or short chat lines each with a
// message glued behind it, which the reader must find. Reported per read.
void readFullRead(benchmark::State& state)
{
    const std::string_view unit = state.range(0) == 0 ? "TIRO:A0" : "USER_MSG:a$WINGAME$";
    std::string read;
    while (read.size() + unit.size() <= protocol::ReadSize)
        read += unit;
    for (auto _ : state) {
        protocol::MessageReader reader;
        benchmark::DoNotOptimize(reader.feed(read));
    }
    state.SetLabel(state.range(0) == 0 ? "shots" : "glued chat");
}
BENCHMARK(readFullRead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
