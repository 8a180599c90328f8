// HandleTrigger per event, with the player state as the program keeps it:
// nanoseconds and heap allocations per event.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>

#include "allocation_counter.h"
#include "engine/engine.h"
#include "input/hook_rules.h"

namespace {

constexpr int32_t kHit = 65;
constexpr int32_t kMiss = 90;
constexpr int32_t kModifierMiss = 66;
constexpr int32_t kChord = 67;
constexpr int32_t kTransposeKey = 38;
constexpr int32_t kTransposeReset = 36;
constexpr int32_t kSoundChange = 112;

// A table the size of a full keyboard mapping, with the cases measured.
MappingTable MakeTable() {
    MappingTable table;
    for (int32_t code = 1; code < 255; ++code) {
        if (code == kMiss) continue;
        Mapping m;
        m.key = code;
        m.notes = {code % 128};
        table[code] = m;
    }
    table[kModifierMiss].modifier = 17;
    table[kChord].notes = {48, 52, 55, 59, 62, 64, 67, 71, 74, 76};
    table[kTransposeKey].notes.clear();
    table[kTransposeKey].transpose = 12;
    table[kTransposeReset].notes.clear();
    table[kTransposeReset].transpose = 0;
    table[kSoundChange].notes = {60, 64, 67};
    table[kSoundChange].program = 5;
    table[kSoundChange].bank = 258;
    table[kSoundChange].pitch_bend = 4096;
    return table;
}

// Runs `iteration` once per iteration of the benchmark and reports the heap
// allocations it made per event, as the row's counter `allocs_per_event`.
template <typename Iteration>
void RunCountingAllocations(benchmark::State& state, int64_t events_per_iteration, Iteration iteration) {
    const uint64_t before = AllocationCount();
    for (auto _ : state) iteration();
    state.counters["allocs_per_event"] =
        benchmark::Counter(static_cast<double>(AllocationCount() - before) / static_cast<double>(events_per_iteration),
                           benchmark::Counter::kAvgIterations);
}

constexpr auto kNoKeyDown = [](int32_t) { return false; };

// Where the engine sends its messages: they are only folded together, so
// that the compiler cannot drop the work that made them.
struct MessageSink {
    uint32_t folded = 0;
    void operator()(uint32_t message) { folded ^= message; }
};

void RunTrigger(benchmark::State& state, int32_t code) {
    Engine engine;
    MessageSink sink;
    PutInForce(engine, MakeTable(), {}, TableSource::AnotherFile, sink);
    bool down = true;
    RunCountingAllocations(state, 1, [&] {
        HandleTrigger(engine, code, down, kNoKeyDown, sink, PlaysEverywhere);
        down = !down;
        benchmark::DoNotOptimize(sink.folded);
    });
}

void BM_HandleTrigger_Hit(benchmark::State& state) { RunTrigger(state, kHit); }
void BM_HandleTrigger_Miss(benchmark::State& state) { RunTrigger(state, kMiss); }
void BM_HandleTrigger_ModifierMiss(benchmark::State& state) { RunTrigger(state, kModifierMiss); }
void BM_HandleTrigger_TenNoteChord(benchmark::State& state) { RunTrigger(state, kChord); }
// A transpose key (+12): press changes the transpose, release sends nothing.
void BM_HandleTrigger_TransposeKey(benchmark::State& state) { RunTrigger(state, kTransposeKey); }
// Bank select, program change, pitch bend and three notes: press sends six
// messages, release four (note-offs and the pitch-bend centre).
void BM_HandleTrigger_SoundChange(benchmark::State& state) { RunTrigger(state, kSoundChange); }

// A key pressed, another table in force (in one of them the key plays a
// ten-note chord), and its release, which ends what the press started: the
// time of the pair, and allocations per event.
void BM_HandleTrigger_ReleaseAfterReload(benchmark::State& state) {
    MappingTable other_table = MakeTable();
    other_table[kHit].notes = other_table[kChord].notes;
    Engine engine;
    MessageSink sink;
    PutInForce(engine, MakeTable(), {}, TableSource::AnotherFile, sink);
    TakeTable(engine.player, other_table);  // room for the switch-offs of both tables
    RunCountingAllocations(state, 2, [&] {
        HandleTrigger(engine, kHit, true, kNoKeyDown, sink, PlaysEverywhere);
        std::swap(engine.mappings, other_table);  // the other table in force, as after a reload (not measured)
        HandleTrigger(engine, kHit, false, kNoKeyDown, sink, PlaysEverywhere);
        benchmark::DoNotOptimize(sink.folded);
    });
}

// A held key pressed again before its release (its release found the
// modifier up, or was lost), with the transpose moved between the two
// presses: the second press adds its note-off to what the key owes, the
// release ends both, and the transpose is set back. Time of the five
// events, and allocations per event.
void BM_HandleTrigger_SecondPressOfAHeldKey(benchmark::State& state) {
    Engine engine;
    MessageSink sink;
    PutInForce(engine, MakeTable(), {}, TableSource::AnotherFile, sink);
    RunCountingAllocations(state, 5, [&] {
        HandleTrigger(engine, kHit, true, kNoKeyDown, sink, PlaysEverywhere);
        HandleTrigger(engine, kTransposeKey, true, kNoKeyDown, sink, PlaysEverywhere);
        HandleTrigger(engine, kHit, true, kNoKeyDown, sink, PlaysEverywhere);
        HandleTrigger(engine, kHit, false, kNoKeyDown, sink, PlaysEverywhere);
        HandleTrigger(engine, kTransposeReset, true, kNoKeyDown, sink, PlaysEverywhere);
        benchmark::DoNotOptimize(sink.folded);
    });
}

// The hooks' own work per event, without the chained call: the decision.
void BM_KeyboardHookDecision(benchmark::State& state) {
    HeldKeySet held;
    uint32_t message = input_message::KeyDown;
    RunCountingAllocations(state, 1, [&] {
        benchmark::DoNotOptimize(KeyboardTriggers(held, message, kHit));
        message = message == input_message::KeyDown ? input_message::KeyUp : input_message::KeyDown;
    });
}

void BM_MouseHookDecision(benchmark::State& state) {
    HeldKeySet held_buttons;
    for (auto _ : state) benchmark::DoNotOptimize(MouseTriggers(held_buttons, input_message::Wheel, 120u << 16));
}

BENCHMARK(BM_HandleTrigger_Hit);
BENCHMARK(BM_HandleTrigger_Miss);
BENCHMARK(BM_HandleTrigger_ModifierMiss);
BENCHMARK(BM_HandleTrigger_TenNoteChord);
BENCHMARK(BM_HandleTrigger_TransposeKey);
BENCHMARK(BM_HandleTrigger_SoundChange);
BENCHMARK(BM_HandleTrigger_ReleaseAfterReload);
BENCHMARK(BM_HandleTrigger_SecondPressOfAHeldKey);
BENCHMARK(BM_KeyboardHookDecision);
BENCHMARK(BM_MouseHookDecision);

}  // namespace

BENCHMARK_MAIN();
