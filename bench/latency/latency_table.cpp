#include "latency/latency_table.h"

#include <cstdio>
#include <utility>

#include "latency/latency_statistics.h"

namespace latency {

namespace {

constexpr double kLateLimitMs = 50.0;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Ms(double value) { return Format("%.3f ms", value); }

// A ratio against a baseline, with the verdict when it has a ceiling.
void SetRatio(TableRow& row, double value, double baseline, double ceiling) {
    row.ratio = baseline > 0 ? Format("%.2f", value / baseline) : "n/a";
    if (ceiling <= 0) return;
    const bool met = baseline > 0 && value / baseline <= ceiling;
    row.goal = Format("<= %.2f", ceiling) + (met ? " ok" : " MISSED");
}

TableRow Compare(std::string figure, double value, double baseline, double ceiling) {
    TableRow row{std::move(figure), Ms(value), Ms(baseline), "", ""};
    SetRatio(row, value, baseline, ceiling);
    return row;
}

struct Statistic {
    const char* name;
    double Summary::*member;
    double ceiling;  // of the ratio to the posted floor; 0: reported only
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
void AddIdleRows(const GroupedSamples& groups, const std::string& label, const Measure& measure, double ceiling,
                 std::vector<TableRow>& rows) {
    const RoundSamples* quillfret = Find(groups, "quillfret-idle");
    const RoundSamples* posted = Find(groups, "posted-idle");
    const RoundSamples* direct = Find(groups, "direct-idle");
    if (!quillfret || !posted) return;
    const Summary q = Summarise(quillfret->*measure.samples);
    const Summary p = Summarise(posted->*measure.samples);
    const Statistic statistics[] = {{"median", &Summary::median, ceiling},
                                    {"p90", &Summary::p90, 0},
                                    {"p99", &Summary::p99, ceiling},
                                    {"max", &Summary::max, 0}};
    const std::string prefix = label + " " + measure.name + " ";
    for (const Statistic& s : statistics) {
        rows.push_back(Compare(prefix + s.name + ", Quillfret / posted floor", q.*s.member, p.*s.member, s.ceiling));
    }
    if (!direct) return;
    const Summary d = Summarise(direct->*measure.samples);
    rows.push_back(Compare(prefix + "median, Quillfret / direct floor", q.median, d.median, 0));
    rows.push_back(Compare(prefix + "median, posted floor / direct floor", p.median, d.median, 0));
}

// A program's figures under the reload storm against its own idle ones.
void AddStormRows(const GroupedSamples& groups, const std::string& label, const std::string& program, double ceiling,
                  std::vector<TableRow>& rows) {
    const RoundSamples* idle = Find(groups, program + "-idle");
    const RoundSamples* storm = Find(groups, program + "-storm");
    if (!idle || !storm) return;
    const std::string prefix = label + " storm " + program + " ";
    for (const Measure* measure : {&kSendToMessage, &kScheduleToMessage}) {
        const Summary s = Summarise(storm->*measure->samples);
        const Summary i = Summarise(idle->*measure->samples);
        rows.push_back(Compare(prefix + measure->name + " p99 / idle p99", s.p99, i.p99, ceiling));
    }
    const auto& late = storm->schedule_to_message_ms;
    const double late_count = static_cast<double>(CountAtLeast(late, kLateLimitMs) + storm->lost_messages);
    TableRow row{prefix + "events >= 50 ms behind schedule or lost", Format("%.0f", late_count), "0", "", ""};
    if (ceiling > 0) row.goal = late_count == 0 ? "= 0 ok" : "= 0 MISSED";
    rows.push_back(row);
}

// Quillfret under the storm against the posted floor under the same storm:
// what the reloads themselves add beyond the platform's cost of the writes
// and of the watch waking.
void AddStormComparisonRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const RoundSamples* quillfret = Find(groups, "quillfret-storm");
    const RoundSamples* posted = Find(groups, "posted-storm");
    if (!quillfret || !posted) return;
    for (const Measure* measure : {&kSendToMessage, &kScheduleToMessage}) {
        const Summary q = Summarise(quillfret->*measure->samples);
        const Summary p = Summarise(posted->*measure->samples);
        rows.push_back(Compare(label + " storm " + measure->name + " p99, Quillfret / posted floor", q.p99, p.p99, 0));
    }
}

void AddLostRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    for (const auto& [name, samples] : groups) {
        if (name.starts_with("hold-")) continue;  // AddHoldRows tells these
        rows.push_back(
            {label + " " + name + " lost messages, of " + std::to_string(samples.counted_events) + " counted events",
             std::to_string(samples.lost_messages), "", "", samples.lost_messages == 0 ? "= 0 ok" : "= 0 MISSED"});
    }
}

// A row of a longest time against an absolute limit, beside a baseline.
TableRow Longest(std::string figure, double value, double baseline, double limit_ms) {
    TableRow row = Compare(std::move(figure), value, baseline, 0);
    row.goal = Format("<= %.0f ms", limit_ms) + (value <= limit_ms ? " ok" : " MISSED");
    return row;
}

struct HoldAction {
    const char* group;
    const char* name;
    double limit_ms;
    bool loses_by_design;  // New Config makes an empty mapping current: later keys send nothing
};

// Keys every 10 ms while one step runs on the program's thread: the longest
// time a key waited, against the idle 99th percentile of the same rounds.
void AddHoldRows(const GroupedSamples& groups, const std::string& label, std::vector<TableRow>& rows) {
    const RoundSamples* idle = Find(groups, "hold-idle");
    if (!idle) return;
    const Summary idle_send = Summarise(idle->send_to_message_ms);
    const Summary idle_call = Summarise(idle->send_call_ms);
    const HoldAction actions[] = {{"hold-reload_1mib", "reload of 1 MiB of {\"key\":\"66\"}", 150, false},
                                  {"hold-reload_900kib", "reload of 900 KiB of one-note entries", 150, false},
                                  {"hold-new_config", "New Config", 100, true},
                                  {"hold-edit_current", "Edit Current", 100, false},
                                  {"hold-open_folder", "Open CFG Folder", 100, false},
                                  {"hold-choose_config", "choosing a config", 100, false}};
    for (const HoldAction& action : actions) {
        const RoundSamples* held = Find(groups, action.group);
        if (!held) continue;
        const std::string prefix = label + " hold " + action.name + ": ";
        rows.push_back(Longest(prefix + "longest key SendInput->MIDI / idle p99",
                               Summarise(held->send_to_message_ms).max, idle_send.p99, action.limit_ms));
        rows.push_back(Longest(prefix + "longest SendInput call / idle p99", Summarise(held->send_call_ms).max,
                               idle_call.p99, action.limit_ms));
        TableRow lost{prefix + "lost messages, of " + std::to_string(held->counted_events) + " counted events",
                      std::to_string(held->lost_messages), "", "", ""};
        if (!action.loses_by_design) lost.goal = held->lost_messages == 0 ? "= 0 ok" : "= 0 MISSED";
        rows.push_back(lost);
    }
}

}  // namespace

std::vector<TableRow> LatencyRows(const GroupedSamples& groups, const std::string& label) {
    std::vector<TableRow> rows;
    AddIdleRows(groups, label, kSendToMessage, 1.15, rows);
    AddIdleRows(groups, label, kScheduleToMessage, 1.15, rows);
    AddIdleRows(groups, label, kChordSpread, 1.2, rows);
    AddStormRows(groups, label, "quillfret", 1.5, rows);
    AddStormRows(groups, label, "posted", 0, rows);
    AddStormComparisonRows(groups, label, rows);
    AddLostRows(groups, label, rows);
    AddHoldRows(groups, label, rows);
    return rows;
}

}  // namespace latency
