#include "latency/latency_statistics.h"

#include <algorithm>
#include <cmath>

namespace latency {

namespace {

double NearestRank(const std::vector<double>& sorted, double percent) {
    const auto rank = static_cast<size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

}  // namespace

Summary Summarise(std::vector<double> samples) {
    Summary summary;
    summary.count = samples.size();
    if (samples.empty()) return summary;
    std::sort(samples.begin(), samples.end());
    summary.median = NearestRank(samples, 50);
    summary.p90 = NearestRank(samples, 90);
    summary.p99 = NearestRank(samples, 99);
    summary.max = samples.back();
    return summary;
}

size_t CountAtLeast(const std::vector<double>& samples, double limit) {
    return static_cast<size_t>(std::count_if(samples.begin(), samples.end(), [&](double s) { return s >= limit; }));
}

}  // namespace latency
