// A ring of the bell where no sound server answers: the sound is handed to the sound
// thread, which is refused at once, or, while that thread is still busy with the last one,
// the X bell (a no-op here) sounds in its place at once.

#include "ui/bell.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

void ringWithTheClockPastTheGap(benchmark::State& state)
{
    setenv("CANBERRA_DRIVER", "pulse", 1);
    setenv("PULSE_SERVER", "unix:/nonexistent", 1);
    Bell bell;
    auto now = std::chrono::steady_clock::now();
    bell.setClock([&now] { return now += Bell::gap; });
    long fallbacks = 0;
    bell.setFallback([&fallbacks] { ++fallbacks; });
    for (auto _ : state)
        bell.ring(Beep::Error);
    state.counters["fallbacks"]
        = benchmark::Counter(double(fallbacks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(ringWithTheClockPastTheGap)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
