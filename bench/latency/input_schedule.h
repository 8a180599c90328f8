#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "latency/counter.h"
#include "latency/latency_log.h"

// The input of one round: single key presses and releases on a fixed
// schedule (by default one pair every 4 ms, the release 2 ms after the
// press, the first pairs a warm-up that is not counted), then ten-key
// chords, each pressed in one SendInput call and released in another.

struct ScheduledInput {
    latency::EventKind kind = latency::EventKind::Key;
    bool counted = false;
    int64_t scheduled_ticks = 0;
    std::vector<INPUT> inputs;
    std::vector<uint32_t> messages;  // what the event must make the program send
};

struct ScheduleShape {
    int warm_up_pairs = 25;
    int counted_pairs = 400;
    int chords = 20;
    double pair_period_ms = 4.0;
    double release_after_ms = 2.0;
};

// The start of a schedule built now: a fiftieth of a second ahead, so that
// building it does not make its first event late.
int64_t ScheduleStart();

// A key press or release of `vk` with the message it must produce.
ScheduledInput KeyEvent(int32_t vk, int32_t note, bool down, bool counted, int64_t scheduled_ticks);

std::vector<ScheduledInput> BuildSchedule(const ScheduleShape& shape, int64_t start_ticks);

// Sends one event and logs it with the time just before SendInput.
void SendLogged(const ScheduledInput& event, latency::InjectLog& log);

// Sends every event at its scheduled time; an event whose time has passed
// (the program held SendInput up) is sent at once, its schedule unchanged.
void RunSchedule(std::span<const ScheduledInput> schedule, latency::InjectLog& log);
