#include "latency/latency_table.h"

#include <cstdio>
#include <utility>

#include "latency/latency_statistics.h"

namespace latency {

namespace {

constexpr double kLateLimitMs = 50.0;

struct Statistic {
    const char* name;
    double Summary::*member;
};

const RoundSamples* Find(const GroupedSamples& groups, const std::string& name) {
    const auto found = groups.find(name);
    return found == groups.end() ? nullptr : &found->second;
}

using SampleList = std::vector<double> RoundSamples::*;

struct Measure {
    const char* name;
    SampleList samples;
};

constexpr Measure kSendToMessage{"key SendInput->MIDI", &RoundSamples::send_to_message_ms};
constexpr Measure kScheduleToMessage{"key schedule->MIDI", &RoundSamples::schedule_to_message_ms};
constexpr Measure kChordSpread{"chord spread", &RoundSamples::chord_spread_ms};

// Quillfret against the posted floor for each statistic, then the median
// against the direct floor, and the floors against each other.
void AddIdleRows(const GroupedSamples& groups, const std::string& label, const Measure& measure,
                 std::vector<TableRow>& rows) {
    const RoundSamples* quillfret = Find(groups, "quillfret-idle");
    const RoundSamples* posted = Find(groups, "posted-idle");
    const RoundSamples* direct = Find(groups, "direct-idle");
    if (!quillfret || !posted) return;
    const Summary q = Summarise(quillfret->*measure.samples);
    const Summary p = Summarise(posted->*measure.samples);
    const Statistic statistics[] = {
        {"median", &Summary::median}, {"p90", &Summary::p90}, {"p99", &Summary::p99}, {"max", &Summary::max}};
    const std::string prefix = label + " " + measure.name + " ";
    for (const Statistic& s : statistics) {
        rows.push_back(Compare(prefix + s.name + ", Quillfret / posted floor", q.*s.member, p.*s.member));
    }
    if (!direct) return;
    const Summary d = Summarise(direct->*measure.samples);
    rows.push_back(Compare(prefix + "median, Quillfret / direct floor", q.median, d.median));
    rows.push_back(Compare(prefix + "median, posted floor / direct floor", p.median, d.median));
}

// Quillfret with a file that plays only in the program in front, against
// the posted floor: the medians of the two key measures.
void AddOnlyInRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const RoundSamples* only_in = Find(groups, "onlyin-idle");
    const RoundSamples* posted = Find(groups, "posted-idle");
    if (!only_in || !posted) return;
    for (const Measure* measure : {&kSendToMessage, &kScheduleToMessage}) {
        rows.push_back(Compare(label + " " + measure->name + " median, Quillfret with only_in / posted floor",
                               Summarise(only_in->*measure->samples).median,
                               Summarise(posted->*measure->samples).median));
    }
}

// The 99th percentiles of the two key measures of `value` against those of
// `baseline`, each row named `prefix` + the measure + `suffix`.
void AddKeyP99Rows(const RoundSamples& value, const RoundSamples& baseline, const std::string& prefix,
                   const std::string& suffix, std::vector<TableRow>& rows) {
    for (const Measure* measure : {&kSendToMessage, &kScheduleToMessage}) {
        rows.push_back(Compare(prefix + measure->name + suffix, Summarise(value.*measure->samples).p99,
                               Summarise(baseline.*measure->samples).p99));
    }
}

// A program's figures under the reload storm against its own idle ones.
void AddStormRows(const GroupedSamples& groups, const std::string& label, const std::string& program,
                  std::vector<TableRow>& rows) {
    const RoundSamples* idle = Find(groups, program + "-idle");
    const RoundSamples* storm = Find(groups, program + "-storm");
    if (!idle || !storm) return;
    const std::string prefix = label + " storm " + program + " ";
    AddKeyP99Rows(*storm, *idle, prefix, " p99 / idle p99", rows);
    const auto& late = storm->schedule_to_message_ms;
    const size_t late_count = CountAtLeast(late, kLateLimitMs) + static_cast<size_t>(storm->lost_messages);
    rows.push_back({prefix + "events >= 50 ms behind schedule or lost", std::to_string(late_count), "", ""});
}

// Quillfret under the storm against the posted floor under the same storm:
// what the reloads themselves add beyond the platform's cost of the writes
// and of the watch waking.
void AddStormComparisonRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const RoundSamples* quillfret = Find(groups, "quillfret-storm");
    const RoundSamples* posted = Find(groups, "posted-storm");
    if (quillfret && posted)
        AddKeyP99Rows(*quillfret, *posted, label + " storm ", " p99, Quillfret / posted floor", rows);
}

void AddLostRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    for (const auto& [name, samples] : groups) {
        if (name.starts_with("hold-")) continue;  // AddHoldRows tells these
        rows.push_back(
            {label + " " + name + " lost messages, of " + std::to_string(samples.counted_events) + " counted events",
             std::to_string(samples.lost_messages), "", ""});
    }
}

struct HoldAction {
    const char* group;
    const char* name;
};

// What telling why a file is not wholly in force adds to its load: the
// longest wait of a key during the load of a file with problems, against
// that of the same load of a clean file.
void AddDiagnosisRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const HoldAction pairs[][2] = {
        {{"hold-reload_900kib_idle", "900 KiB of entries that do nothing"},
         {"hold-reload_900kib", "900 KiB of one-note entries"}},
        {{"hold-reload_1mib_broken", "1 MiB that fails at its end"}, {"hold-reload_1mib", "1 MiB that loads"}}};
    for (const auto& [diagnosed, clean] : pairs) {
        const RoundSamples* with = Find(groups, diagnosed.group);
        const RoundSamples* without = Find(groups, clean.group);
        if (!with || !without) continue;
        rows.push_back(Compare(
            label + " hold reload diagnosis, longest key SendInput->MIDI: " + diagnosed.name + " / " + clean.name,
            Summarise(with->send_to_message_ms).max, Summarise(without->send_to_message_ms).max));
    }
}

// Keys every 10 ms while one step runs on the program's thread: the longest
// time a key waited, against the idle 99th percentile of the same rounds.
void AddHoldRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const RoundSamples* idle = Find(groups, "hold-idle");
    if (!idle) return;
    const Summary idle_send = Summarise(idle->send_to_message_ms);
    const Summary idle_call = Summarise(idle->send_call_ms);
    const HoldAction actions[] = {{"hold-reload_1mib", "reload of 1 MiB of {\"key\":\"66\"}"},
                                  {"hold-reload_900kib", "reload of 900 KiB of one-note entries"},
                                  {"hold-reload_900kib_idle", "reload of 900 KiB of entries that do nothing"},
                                  {"hold-reload_1mib_broken", "reload of 1 MiB that fails at its end"},
                                  {"hold-new_config", "New Config"},
                                  {"hold-edit_current", "Edit Current"},
                                  {"hold-open_folder", "Open CFG Folder"},
                                  {"hold-choose_config", "choosing a config"}};
    for (const HoldAction& action : actions) {
        const RoundSamples* held = Find(groups, action.group);
        if (!held) continue;
        const std::string prefix = label + " hold " + action.name + ": ";
        rows.push_back(Compare(prefix + "longest key SendInput->MIDI / idle p99",
                               Summarise(held->send_to_message_ms).max, idle_send.p99));
        rows.push_back(
            Compare(prefix + "longest SendInput call / idle p99", Summarise(held->send_call_ms).max, idle_call.p99));
        rows.push_back({prefix + "lost messages, of " + std::to_string(held->counted_events) + " counted events",
                        std::to_string(held->lost_messages), "", ""});
    }
    AddDiagnosisRows(groups, label, rows);
}

}  // namespace

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TableRow Compare(std::string figure, double value, double baseline, const char* format) {
    return {std::move(figure), Format(format, value), Format(format, baseline),
            baseline > 0 ? Format("%.2f", value / baseline) : "n/a"};
}

void PrintRows(const std::vector<TableRow>& rows) {
    for (const TableRow& row : rows) {
        std::printf("%s\t%s\t%s\t%s\n", row.figure.c_str(), row.value.c_str(), row.baseline.c_str(), row.ratio.c_str());
    }
}

std::vector<TableRow> LatencyRows(const GroupedSamples& groups, const std::string& label) {
    std::vector<TableRow> rows;
    AddIdleRows(groups, label, kSendToMessage, rows);
    AddIdleRows(groups, label, kScheduleToMessage, rows);
    AddIdleRows(groups, label, kChordSpread, rows);
    AddOnlyInRows(groups, label, rows);
    AddStormRows(groups, label, "quillfret", rows);
    AddStormRows(groups, label, "posted", rows);
    AddStormComparisonRows(groups, label, rows);
    AddLostRows(groups, label, rows);
    AddHoldRows(groups, label, rows);
    return rows;
}

}  // namespace latency
