#pragma once

#include <windows.h>

#include <cstdint>

// The performance counter: the clock of the injectors' logs, of the virtual
// MIDI port's record and of the reload benchmark.

inline int64_t CounterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline int64_t CounterFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

inline int64_t MsToTicks(double ms) {
    return static_cast<int64_t>(ms * static_cast<double>(CounterFrequency()) / 1000.0);
}
