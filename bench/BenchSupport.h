#pragma once
// What the benchmark programs share: our way of doing a piece of work timed against the
// plain way (the raw engine, a plain loop) in the same run, so the machine's load touches
// both; such a benchmark repeats and reports the spread of the ratio (min, median, max)
// rather than one lucky or unlucky run.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

namespace bench {

// Milliseconds that work takes, once.
template <typename Work>
double msOf(Work&& work) {
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// Repeats the benchmark and reports min, median and max of every counter.
inline benchmark::internal::Benchmark* spread(benchmark::internal::Benchmark* b,
                                              int repetitions = 5) {
    return b->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->UseManualTime()
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics(
            "min",
            [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) {
            return *std::max_element(v.begin(), v.end());
        });
}

// One repetition's figures: ours, the plain way's, and their ratio.
inline void report(benchmark::State& state, double oursMs, double plainMs) {
    state.SetIterationTime(oursMs / 1000);
    state.counters["ours_ms"] = oursMs;
    state.counters["plain_ms"] = plainMs;
    state.counters["ratio"] = oursMs / plainMs;
}

// Runs ours and the plain way in turns, each going first in every other round, and
// reports the best time of each: a burst of load on the machine then spoils a round,
// not the figure.
template <typename Ours, typename Plain>
void compare(benchmark::State& state, Ours&& ours, Plain&& plain, int rounds = 3) {
    double best = 1e18, bestPlain = 1e18;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 0) best = std::min(best, ours());
        bestPlain = std::min(bestPlain, plain());
        if (i % 2 == 1) best = std::min(best, ours());
    }
    report(state, best, bestPlain);
}

}  // namespace bench
