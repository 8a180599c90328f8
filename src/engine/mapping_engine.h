#pragma once

#include <cstdint>

#include "engine/mapping.h"
#include "engine/midi_message.h"

// The engine's decisions, free of the platform: the caller supplies the two
// answers it needs from the system, `key_is_down(vk)` (is this key held right
// now) and `send(packed)` (send one short message). Neither allocates here.

// Sends a mapping's switch-on or switch-off messages: every note first, then,
// when controllers are enabled, every controller, each in list order.
template <typename Send>
void SwitchMapping(const Mapping& mapping, bool on, Send& send) {
    for (int32_t note : mapping.notes) {
        auto message = on ? PackShortMessage(MidiStatus::NoteOn, mapping.channel, note, mapping.velocity)
                          : PackShortMessage(MidiStatus::NoteOff, mapping.channel, note, 0);
        if (message) send(*message);
    }
    if (!mapping.cc_enabled) return;
    const int32_t value = on ? mapping.cc_value_on : mapping.cc_value_off;
    for (int32_t controller : mapping.cc_numbers) {
        if (auto message = PackShortMessage(MidiStatus::ControlChange, mapping.channel, controller, value)) {
            send(*message);
        }
    }
}

// Turns one trigger transition into MIDI messages by the mapping stored for
// `code`. Unmapped codes and mappings whose modifier is not held do nothing,
// on press and on release alike (so a toggle does not flip either).
template <typename KeyIsDown, typename Send>
void HandleTrigger(MappingTable& mappings, int32_t code, bool down, KeyIsDown&& key_is_down, Send&& send) {
    auto found = mappings.find(code);
    if (found == mappings.end()) return;
    Mapping& mapping = found->second;
    if (mapping.modifier != 0 && !key_is_down(mapping.modifier)) return;

    if (mapping.mode == MappingMode::Toggle) {
        if (!down) return;
        mapping.toggled_on = !mapping.toggled_on;
        SwitchMapping(mapping, mapping.toggled_on, send);
    } else {
        SwitchMapping(mapping, down, send);
    }
}
