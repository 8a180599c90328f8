// Native companion of the latency runs:
//   latency_report mapping [PROGRAM]  prints the mapping file Quillfret is given
//                                     (that plays only in PROGRAM, when named)
//   latency_report table DIR LABEL    prints the latency rows of one run as
//                                     tab-separated figure, value, baseline,
//                                     ratio
// DIR holds the rounds of the run: <program>-<condition>-<n>.inject (the
// injector's log) with <program>-<condition>-<n>.record (the MIDI record).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "latency/bench_keymap.h"
#include "latency/latency_log.h"
#include "latency/latency_table.h"

namespace {

namespace fs = std::filesystem;

int PrintMappingFile(const std::string& only_in) {
    std::cout << "{\n  \"midi_device\": \"Fenwickloop\",\n";
    if (!only_in.empty()) std::cout << "  \"only_in\": [\"" << only_in << "\"],\n";
    std::cout << "  \"mappings\": [\n";
    auto entry = [](const bench_keymap::KeyNote& key, bool last) {
        std::cout << "    { \"key\": \"" << key.vk << "\", \"note\": " << key.note
                  << ", \"velocity\": " << bench_keymap::kVelocity << " }" << (last ? "\n" : ",\n");
    };
    for (const auto& key : bench_keymap::kScheduleKeys) entry(key, false);
    for (const auto& key : bench_keymap::kChordKeys) entry(key, false);
    entry(bench_keymap::kProbeKey, true);
    std::cout << "  ]\n}\n";
    return 0;
}

// "<program>-<condition>" of "<program>-<condition>-<n>.inject".
std::string GroupOf(const fs::path& inject) {
    const std::string stem = inject.stem().string();
    return stem.substr(0, stem.rfind('-'));
}

// Adds one round to its group; false when its log is damaged.
bool AddRound(const fs::path& inject, latency::GroupedSamples& groups) {
    std::ifstream log_file(inject);
    const auto log = latency::ReadInjectLog(log_file);
    if (!log) return false;
    fs::path record = inject;
    record.replace_extension(".record");
    latency::PairRound(*log, latency::ReadSentMessages(record), groups[GroupOf(inject)]);
    return true;
}

int PrintTable(const fs::path& dir, const std::string& label) {
    latency::GroupedSamples groups;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".inject") continue;
        if (!AddRound(entry.path(), groups)) {
            std::cerr << "latency_report: damaged log " << entry.path() << "\n";
            return 1;
        }
    }
    latency::PrintRows(latency::LatencyRows(groups, label));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "mapping" && argc <= 3) return PrintMappingFile(argc == 3 ? argv[2] : "");
    if (command == "table" && argc == 4) return PrintTable(argv[2], argv[3]);
    std::cerr << "usage: latency_report mapping [PROGRAM] | latency_report table DIR LABEL\n";
    return 2;
}
