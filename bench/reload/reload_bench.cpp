// What a reload costs the program's one thread under Wine, where the input
// hooks wait while it runs: the call the main loop makes after every change
// in the folder when the current file did not change, and the read of a
// changed file, each against the file-system work it cannot avoid.
//
//   reload_bench.exe MAPPING_FILE
//
// Prints tab-separated rows: figure, value, baseline, ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/config_loader.h"
#include "engine/engine.h"
#include "latency/block_timing.h"

namespace {

// A new time on every call: LoadConfig reads the file each time.
std::optional<int64_t> AlwaysNewTime(const std::filesystem::path&) {
    static int64_t time = 0;
    return ++time;
}

// The bytes of the file, as any reader must fetch them.
void ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: reload_bench MAPPING_FILE\n");
        return 2;
    }
    const std::wstring path = argv[1];
    const std::string label = "Wine reload:";
    const KeyNameTable no_names;
    LoadedFile loaded;
    Engine engine;
    // The load the program makes after a change in the folder: the file read
    // when its time is new, and what it read put in force.
    auto load = [&](auto write_time) {
        std::optional<MappingFileRead> read = LoadConfig(path, no_names, loaded, write_time);
        if (read) PutInForce(engine, std::move(read->mappings), read->settings, TableSource::SameFile, [](uint32_t) {});
    };
    load(LastWriteTime);
    if (engine.mappings.empty()) {
        std::fprintf(stderr, "reload_bench: the mapping file gave no mappings\n");
        return 1;
    }

    const auto query = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    };
    latency::PrintRows(
        {MeasureAgainst(
             label + " LoadConfig unchanged-file call / its file-system query", [&] { load(LastWriteTime); }, query),
         MeasureAgainst(
             label + " LoadConfig of a changed file (" + std::to_string(engine.mappings.size()) +
                 " entries) / reading its bytes",
             [&] { load(AlwaysNewTime); }, [&] { ReadBytes(path); })});
    return 0;
}
