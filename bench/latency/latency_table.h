#pragma once

#include <map>
#include <string>
#include <vector>

#include "latency/latency_pairing.h"

// The latency rows of the benchmark table, from the samples of one run
// grouped by "<program>-<condition>": programs "quillfret", "posted"
// (posted floor) and "direct" (direct floor); conditions "idle" and "storm"
// (the current mapping file rewritten every 50 ms). Groups "hold-<action>"
// are Quillfret's rounds of hold_inject (keys every 10 ms while one action
// runs on its thread), "hold-idle" their baseline.

namespace latency {

// One row of the table; the goals are attached by bench/tools/goals.awk.
struct TableRow {
    std::string figure;
    std::string value;
    std::string baseline;
    std::string ratio;
};

using GroupedSamples = std::map<std::string, RoundSamples>;

// `value` in a printf format of one double ("%.3f ms").
std::string Format(const char* format, double value);

// A time against a baseline, with their ratio; the times in `format`.
TableRow Compare(std::string figure, double value, double baseline, const char* format = "%.3f ms");

// The rows to standard output, tab-separated, one a line.
void PrintRows(const std::vector<TableRow>& rows);

// Every row is prefixed with `label` (the run's name); rows whose programs
// were not measured are left out.
std::vector<TableRow> LatencyRows(const GroupedSamples& groups, const std::string& label);

}  // namespace latency
