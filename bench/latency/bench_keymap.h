#pragma once

#include <array>
#include <cstdint>

// The one key-to-note mapping of the latency runs. Quillfret gets it as a
// mapping file, the floor programs compile it in, the injector presses its
// keys: all three programs turn the same keys into the same messages.
// Letter keys, because every keyboard layout reports them alike.

namespace bench_keymap {

struct KeyNote {
    int32_t vk;
    int32_t note;
};

// The keys of the single presses, taken in turn. A value comes back only
// every 20 messages, so a lost message is never paired with a later one.
inline constexpr std::array<KeyNote, 10> kScheduleKeys{
    {{'A', 60}, {'B', 61}, {'C', 62}, {'D', 63}, {'E', 64}, {'F', 65}, {'G', 66}, {'H', 67}, {'I', 68}, {'J', 69}}};

// The keys of a chord, in the order of the SendInput call: other keys and
// notes than the single presses, so that the two phases never pair across.
inline constexpr std::array<KeyNote, 10> kChordKeys{
    {{'L', 71}, {'M', 72}, {'N', 73}, {'O', 74}, {'P', 75}, {'Q', 76}, {'R', 77}, {'S', 78}, {'T', 79}, {'U', 80}}};

// The key that probes whether a program is ready; its note is never
// scheduled, so a late probe message cannot be taken for a measured one.
inline constexpr KeyNote kProbeKey{'K', 70};

inline constexpr int32_t kVelocity = 100;

// Channel 1; the same packing as the engine's.
constexpr uint32_t NoteOn(int32_t note) {
    return 0x90u | static_cast<uint32_t>(note) << 8 | static_cast<uint32_t>(kVelocity) << 16;
}
constexpr uint32_t NoteOff(int32_t note) { return 0x80u | static_cast<uint32_t>(note) << 8; }

}  // namespace bench_keymap
