// The editor's check of a draft, from the request read to the answer ready
// (the transport excluded), against the program's own read of the same
// text: the check reads it once, with the program's loader keeping every
// entry, and answers what the picture needs. Drafts of 100, 1,000 and 5,000
// entries (mapping_text.h).
#include <benchmark/benchmark.h>

#include <string>

#include "config/mapping_file.h"
#include "editor/editor_routes.h"
#include "editor/request_rules.h"
#include "mapping_text.h"

namespace {

void BM_EditorCheck(benchmark::State& state) {
    EditorSession session{{"m.json", {}}, {}, 0};
    const std::string text = MappingFileText(static_cast<int>(state.range(0)), session.files.key_names.names);
    const ServerAddress address{8080, std::string(32, 'a')};
    const EditorRequest request{"POST", "/" + address.secret + "/api/check", "127.0.0.1:8080", "", "", text};
    for (auto _ : state) {
        if (RefuseRequest(request, address)) state.SkipWithError("refused");
        const EditorReply reply = AnswerRequest(request, *PathUnderSecret(request.target, address), session);
        benchmark::DoNotOptimize(reply.body.data());
    }
}

void BM_LoaderRead(benchmark::State& state) {
    KeyNameTable names;
    const std::string text = MappingFileText(static_cast<int>(state.range(0)), names);
    for (auto _ : state) {
        const MappingFileRead read = ReadMappingText(text, names);
        benchmark::DoNotOptimize(read.mappings.size());
    }
}

}  // namespace

BENCHMARK(BM_EditorCheck)->Arg(100)->Arg(1'000)->Arg(5'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoaderRead)->Arg(100)->Arg(1'000)->Arg(5'000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
