// The baseline of an unchanged-file LoadConfig call: the two file-system
// queries it must make (does the file exist, when was it last written),
// alone, on the same kind of file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

namespace fs = std::filesystem;

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

BENCHMARK(BM_TwoFileSystemQueries)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
