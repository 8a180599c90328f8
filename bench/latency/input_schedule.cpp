#include "latency/input_schedule.h"

#include "latency/bench_keymap.h"

namespace {

constexpr double kScheduleLeadMs = 20.0;
constexpr double kChordGapMs = 20.0;      // after the last pair, and between chord starts
constexpr double kChordReleaseMs = 10.0;  // chord press to chord release
// Below this much time to go the wait spins instead of sleeping (a Sleep(1)
// may take longer than a millisecond).
constexpr double kSpinMs = 1.2;

INPUT KeyInput(int32_t vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return input;
}

ScheduledInput ChordEvent(bool down, int64_t scheduled_ticks) {
    ScheduledInput event{latency::EventKind::Chord, true, scheduled_ticks, {}, {}};
    for (const auto& key : bench_keymap::kChordKeys) {
        event.inputs.push_back(KeyInput(key.vk, down));
        event.messages.push_back(down ? bench_keymap::NoteOn(key.note) : bench_keymap::NoteOff(key.note));
    }
    return event;
}

void WaitUntil(int64_t due_ticks) {
    const int64_t spin_ticks = MsToTicks(kSpinMs);
    for (int64_t now = CounterNow(); now < due_ticks; now = CounterNow()) {
        if (due_ticks - now > spin_ticks) {
            Sleep(1);
        } else {
            SwitchToThread();
        }
    }
}

}  // namespace

int64_t ScheduleStart() { return CounterNow() + MsToTicks(kScheduleLeadMs); }

ScheduledInput KeyEvent(int32_t vk, int32_t note, bool down, bool counted, int64_t scheduled_ticks) {
    const uint32_t message = down ? bench_keymap::NoteOn(note) : bench_keymap::NoteOff(note);
    return {latency::EventKind::Key, counted, scheduled_ticks, {KeyInput(vk, down)}, {message}};
}

std::vector<ScheduledInput> BuildSchedule(const ScheduleShape& shape, int64_t start_ticks) {
    std::vector<ScheduledInput> schedule;
    const int pairs = shape.warm_up_pairs + shape.counted_pairs;
    for (int i = 0; i < pairs; ++i) {
        const auto& key = bench_keymap::kScheduleKeys[static_cast<size_t>(i) % bench_keymap::kScheduleKeys.size()];
        const bool counted = i >= shape.warm_up_pairs;
        const int64_t press = start_ticks + MsToTicks(i * shape.pair_period_ms);
        schedule.push_back(KeyEvent(key.vk, key.note, true, counted, press));
        schedule.push_back(KeyEvent(key.vk, key.note, false, counted, press + MsToTicks(shape.release_after_ms)));
    }
    const int64_t chords_start = start_ticks + MsToTicks(pairs * shape.pair_period_ms + kChordGapMs);
    for (int j = 0; j < shape.chords; ++j) {
        const int64_t press = chords_start + MsToTicks(j * kChordGapMs);
        schedule.push_back(ChordEvent(true, press));
        schedule.push_back(ChordEvent(false, press + MsToTicks(kChordReleaseMs)));
    }
    return schedule;
}

void SendLogged(const ScheduledInput& event, latency::InjectLog& log) {
    const int64_t sent = CounterNow();
    SendInput(static_cast<UINT>(event.inputs.size()), const_cast<INPUT*>(event.inputs.data()), sizeof(INPUT));
    log.events.push_back({event.kind, event.counted, event.scheduled_ticks, sent, event.messages, CounterNow()});
}

void RunSchedule(std::span<const ScheduledInput> schedule, latency::InjectLog& log) {
    log.events.reserve(log.events.size() + schedule.size());
    for (const ScheduledInput& event : schedule) {
        WaitUntil(event.scheduled_ticks);
        SendLogged(event, log);
    }
}
