#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/mapping.h"
#include "engine/midi_message.h"

// The engine's decisions, free of the platform: the caller supplies the two
// answers it needs from the system, `key_is_down(vk)` (is this key held right
// now) and `send(packed)` (send one short message). Neither allocates here.

template <typename Send>
void SendIfPacked(std::optional<uint32_t> message, Send& send) {
    if (message) send(*message);
}

// A note moved by `shift` semitones. A note moved out of 0..127 stays out of
// range, so that packing refuses it, and the sum never overflows.
constexpr int32_t ShiftedNote(int32_t note, int32_t shift) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{note} + shift, -1, 128));
}

// What a switch-on sends before its notes: the bank select (only together
// with a program, and only for a bank in range: both controllers come from
// the one number), the program change, the pitch bend.
template <typename Send>
void SendSoundChange(const Mapping& mapping, Send& send) {
    if (mapping.program) {
        if (mapping.bank && IsMidiBank(*mapping.bank)) {
            SendIfPacked(
                PackShortMessage(MidiStatus::ControlChange, mapping.channel, kBankSelectHigh, *mapping.bank >> 7),
                send);
            SendIfPacked(
                PackShortMessage(MidiStatus::ControlChange, mapping.channel, kBankSelectLow, *mapping.bank & 127),
                send);
        }
        SendIfPacked(PackShortMessage(MidiStatus::ProgramChange, mapping.channel, *mapping.program, 0), send);
    }
    if (mapping.pitch_bend) SendIfPacked(PackPitchBend(mapping.channel, *mapping.pitch_bend), send);
}

// Sends a mapping's switch-on or switch-off messages, each list in its order.
// On: bank select, program change, pitch bend, notes moved by `shift`, then
// controllers when enabled. Off: notes moved by `shift`, controllers when
// enabled, then the pitch bend's centre whenever the mapping has a pitch bend.
template <typename Send>
void SwitchMapping(const Mapping& mapping, bool on, int32_t shift, Send& send) {
    if (on) SendSoundChange(mapping, send);
    for (int32_t note : mapping.notes) {
        const int32_t shifted = ShiftedNote(note, shift);
        SendIfPacked(on ? PackShortMessage(MidiStatus::NoteOn, mapping.channel, shifted, mapping.velocity)
                        : PackShortMessage(MidiStatus::NoteOff, mapping.channel, shifted, 0),
                     send);
    }
    if (mapping.cc_enabled) {
        const int32_t value = on ? mapping.cc_value_on : mapping.cc_value_off;
        for (int32_t controller : mapping.cc_numbers) {
            SendIfPacked(PackShortMessage(MidiStatus::ControlChange, mapping.channel, controller, value), send);
        }
    }
    if (!on && mapping.pitch_bend) SendIfPacked(PackPitchBend(mapping.channel, 0), send);
}

// A transpose key's switch-on: its value is added to the transpose in force,
// which stays within the limit; the value 0 sets it back to 0.
constexpr int32_t TransposeAfter(int32_t in_force, int32_t change) {
    if (change == 0) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{in_force} + change, -kTransposeLimit, kTransposeLimit));
}

// The transpose a switch-off of `code` uses: the one recorded at its
// switch-on. A code outside 0..255 has no record (no hook produces one; only
// a key name mapped to such a number and a message posted from outside reach
// the engine with it), so it uses the transpose in force.
constexpr int32_t TransposeOfSwitchOn(const Transpose& transpose, int32_t code) {
    return IsHookCode(code) ? transpose.at_switch_on[static_cast<size_t>(code)] : transpose.in_force;
}

// Switches the mapping of `code` on: a transpose change first (the mapping's
// own notes already use the new transpose), which is recorded for the switch-off.
template <typename Send>
void SwitchOn(const Mapping& mapping, Transpose& transpose, int32_t code, Send& send) {
    if (mapping.transpose) transpose.in_force = TransposeAfter(transpose.in_force, *mapping.transpose);
    if (IsHookCode(code)) transpose.at_switch_on[static_cast<size_t>(code)] = static_cast<int8_t>(transpose.in_force);
    SwitchMapping(mapping, true, transpose.in_force, send);
}

// Turns one trigger transition into MIDI messages by the mapping stored for
// `code`, with the player's `transpose`. Unmapped codes and mappings whose
// modifier is not held do nothing, on press and on release alike (so a
// toggle does not flip and a transpose key changes nothing either).
template <typename KeyIsDown, typename Send>
void HandleTrigger(MappingTable& mappings, Transpose& transpose, int32_t code, bool down, KeyIsDown&& key_is_down,
                   Send&& send) {
    auto found = mappings.find(code);
    if (found == mappings.end()) return;
    Mapping& mapping = found->second;
    if (mapping.modifier != 0 && !key_is_down(mapping.modifier)) return;

    bool on = down;
    if (mapping.mode == MappingMode::Toggle) {
        if (!down) return;
        mapping.toggled_on = !mapping.toggled_on;
        on = mapping.toggled_on;
    }
    if (on) {
        SwitchOn(mapping, transpose, code, send);
    } else {
        SwitchMapping(mapping, false, TransposeOfSwitchOn(transpose, code), send);
    }
}

// The same without a player's transpose, for a table without transpose keys:
// every note is sent as written (a transpose key would change nothing beyond
// this one call).
template <typename KeyIsDown, typename Send>
void HandleTrigger(MappingTable& mappings, int32_t code, bool down, KeyIsDown&& key_is_down, Send&& send) {
    Transpose none;
    HandleTrigger(mappings, none, code, down, key_is_down, send);
}
