// LoadConfig: reading a changed mapping file (time per entry) and the call
// for an unchanged one, with its baseline: the two file-system queries it
// must make, alone, on the same kind of file. The files hold 100, 1,000 and
// 5,000 entries (mapping_text.h).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "config/config_loader.h"
#include "config/mapping_file.h"
#include "engine/engine.h"
#include "mapping_text.h"

namespace {

namespace fs = std::filesystem;

fs::path WriteMappingFile(int entries, KeyNameTable& names) {
    fs::path path = fs::temp_directory_path() / ("quillfret-bench-" + std::to_string(entries) + ".json");
    std::ofstream(path, std::ios::trunc) << MappingFileText(entries, names);
    return path;
}

// The current file loaded and put in force, as the program does after a change.
struct Reloader {
    KeyNameTable key_names;
    std::wstring current_config;
    LoadedFile loaded;
    Engine engine;

    void Reload() {
        std::optional<MappingFileRead> read = LoadConfig(current_config, key_names, loaded);
        if (read) PutInForce(engine, std::move(read->mappings), read->settings, TableSource::SameFile, [](uint32_t) {});
    }
};

void BM_LoadConfig_Changed(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    Reloader core;
    const fs::path path = WriteMappingFile(entries, core.key_names);
    if (fs::file_size(path) > kMaxMappingFileBytes) state.SkipWithError("the file is over the size limit");
    core.current_config = path.wstring();
    for (auto _ : state) {
        core.loaded.loaded_write_time = 0;  // as if the file had been saved again
        core.Reload();
        benchmark::DoNotOptimize(core.engine.mappings.size());
    }
    if (core.engine.mappings.size() != static_cast<size_t>(entries)) state.SkipWithError("the file did not load");
    state.counters["per_entry"] =
        benchmark::Counter(entries, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    fs::remove(path);
}

void BM_LoadConfig_Unchanged(benchmark::State& state) {
    Reloader core;
    const fs::path path = WriteMappingFile(100, core.key_names);
    core.current_config = path.wstring();
    core.Reload();
    for (auto _ : state) {
        core.Reload();
        benchmark::DoNotOptimize(core.engine.mappings.size());
    }
    fs::remove(path);
}

// Does the file exist, when was it last written: what an unchanged-file call
// cannot do without.
void BM_TwoFileSystemQueries(benchmark::State& state) {
    const fs::path path = fs::temp_directory_path() / "quillfret-bench-queries.json";
    std::ofstream(path) << "{}\n";
    std::error_code error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fs::exists(path, error));
        benchmark::DoNotOptimize(fs::last_write_time(path, error));
    }
    fs::remove(path);
}

}  // namespace

BENCHMARK(BM_LoadConfig_Changed)->Arg(100)->Arg(1'000)->Arg(5'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadConfig_Unchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoFileSystemQueries)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
