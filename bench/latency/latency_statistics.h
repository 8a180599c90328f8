#pragma once

#include <cstddef>
#include <vector>

namespace latency {

struct Summary {
    size_t count = 0;
    double median = 0;
    double p90 = 0;
    double p99 = 0;
    double max = 0;
};

// Nearest-rank percentiles: each figure is one of the samples, the smallest
// one with at least that share of the samples at or below it. No samples
// give a count of 0 and zeros.
Summary Summarise(std::vector<double> samples);

// How many samples are at or above `limit`.
size_t CountAtLeast(const std::vector<double>& samples, double limit);

}  // namespace latency
