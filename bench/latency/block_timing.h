#pragma once

#include <algorithm>
#include <string>

#include "latency/counter.h"
#include "latency/latency_table.h"

// Timing a call on the program's thread under Wine, against a baseline:
// blocks of calls, the fastest block of each, taken in turn so that both
// see the same moments of a shared machine.

inline constexpr int kCallsPerBlock = 1000;
inline constexpr int kBlocks = 7;

// Microseconds per call of `work` over one block.
template <typename Work>
double BlockUs(Work& work) {
    const int64_t start = CounterNow();
    for (int i = 0; i < kCallsPerBlock; ++i) work();
    return static_cast<double>(CounterNow() - start) * 1e6 / static_cast<double>(CounterFrequency()) / kCallsPerBlock;
}

// The row of `figure`: the fastest block of `measured` against the fastest
// of `baseline`.
template <typename Measured, typename Baseline>
latency::TableRow MeasureAgainst(std::string figure, Measured measured, Baseline baseline) {
    double value = 1e300;
    double base = 1e300;
    for (int block = 0; block < kBlocks; ++block) {
        value = std::min(value, BlockUs(measured));
        base = std::min(base, BlockUs(baseline));
    }
    return latency::Compare(std::move(figure), value, base, "%.2f us");
}
