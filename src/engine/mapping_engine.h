#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "engine/mapping.h"
#include "engine/midi_message.h"
#include "engine/player.h"

// The engine's decisions on one trigger, free of the platform: what a
// switch-on and a switch-off send, what a press and a release do, and what a
// trigger owes. The caller supplies the answers it needs from the system,
// `key_is_down(vk)` (is this key held right now) and `send(packed)` (send
// one short message); neither allocates here. The engine as a whole, which
// the program runs, is engine.h.

template <typename Send>
void SendIfPacked(std::optional<uint32_t> message, Send& send) {
    if (message) send(*message);
}

// A written note as played with `shift` semitones: nothing when the note as
// written, or as moved, lies outside 0..127. A note written out of range is
// never played, whatever the transpose.
constexpr std::optional<int32_t> PlayedNote(int32_t note, int32_t shift) {
    if (!IsMidiDataByte(note)) return std::nullopt;
    const int64_t moved = int64_t{note} + shift;
    if (moved < 0 || moved > 127) return std::nullopt;
    return static_cast<int32_t>(moved);
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
        const std::optional<int32_t> played = PlayedNote(note, shift);
        if (!played) continue;
        SendIfPacked(on ? PackShortMessage(MidiStatus::NoteOn, mapping.channel, *played, mapping.velocity)
                        : PackShortMessage(MidiStatus::NoteOff, mapping.channel, *played, 0),
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

// Adds to `owed` what ends a switch-on of `mapping` with `shift`. Owing
// nothing, it owes exactly that, in sending order (a note listed twice was
// started twice and is ended twice). Already owing (the trigger was pressed
// again before its release), it adds only the messages not owed yet: the
// release then ends both switch-ons and sends no message twice.
inline void Owe(OwedMessages& owed, const Mapping& mapping, int32_t shift) {
    const bool owing = !owed.empty();
    auto add = [&owed, owing](uint32_t message) {
        if (owing && std::find(owed.begin(), owed.end(), message) != owed.end()) return;
        owed.push_back(message);
    };
    SwitchMapping(mapping, false, shift, add);
}

// The most messages the presses of `mapping` can add to what its trigger
// owes while its table is in force. A switch-on onto nothing owed adds its
// whole switch-off, counted here by switching off with no transpose, where
// every note written in range is played (a transpose can only leave notes
// out). A Hold mapping pressed again before its release adds only the
// note-offs not owed yet, all on its one channel: at most one per note
// number. A toggle owes one switch-on at a time.
inline size_t MostOwedByPresses(const Mapping& mapping) {
    size_t messages = 0;
    bool notes = false;
    auto count = [&messages, &notes](uint32_t message) {
        ++messages;
        notes = notes || UnpackShortMessage(message).status == MidiStatus::NoteOff;
    };
    SwitchMapping(mapping, false, 0, count);
    if (mapping.mode == MappingMode::Toggle || !notes) return messages;
    return messages + kLastMidiDataByte + 1;
}

// Switches `mapping` on for its trigger: a transpose change first (the
// mapping's own notes already use the new transpose), then its messages; and
// adds what ends them, as they were sent, to what the trigger owes.
template <typename Send>
void SwitchOn(const Mapping& mapping, Player& player, OwedMessages& owed, Send& send) {
    if (mapping.transpose) player.transpose = TransposeAfter(player.transpose, *mapping.transpose);
    SwitchMapping(mapping, true, player.transpose, send);
    Owe(owed, mapping, player.transpose);
}

// Sends what is owed, which is then owed no more.
template <typename Send>
void SendOwed(OwedMessages& owed, Send& send) {
    for (uint32_t message : owed) send(message);
    owed.clear();
}

// The mapping of `code`, when there is one and its modifier (if any) is held now.
template <typename KeyIsDown>
const Mapping* ActingMapping(const MappingTable& mappings, int32_t code, KeyIsDown& key_is_down) {
    const auto found = mappings.find(code);
    if (found == mappings.end()) return nullptr;
    const Mapping& mapping = found->second;
    if (mapping.modifier != 0 && !key_is_down(mapping.modifier)) return nullptr;
    return &mapping;
}

template <typename KeyIsDown, typename Send>
void Press(const MappingTable& mappings, Player& player, int32_t code, KeyIsDown& key_is_down, Send& send) {
    const Mapping* mapping = ActingMapping(mappings, code, key_is_down);
    TriggerState* trigger = mapping != nullptr ? &TriggerStateOf(player, code) : FindTriggerState(player, code);
    if (mapping != nullptr && mapping->mode == MappingMode::Hold) {
        // Pressed again before its release (a release that found its
        // modifier up, or was lost), it adds to what the release ends.
        SwitchOn(*mapping, player, trigger->press_owes, send);
        trigger->modifier = mapping->modifier;
        trigger->press = PressState::Held;
        return;
    }
    // A press that starts nothing for its release to end. Pressed again
    // before its release, a trigger that switched a Hold mapping on leaves
    // that to the release.
    if (trigger != nullptr && trigger->press != PressState::Held) trigger->press = PressState::Pressed;
    if (mapping == nullptr) return;
    if (trigger->toggled_on) {
        trigger->toggled_on = false;
        SendOwed(trigger->toggle_owes, send);
    } else {
        SwitchOn(*mapping, player, trigger->toggle_owes, send);
        trigger->toggled_on = true;
    }
}

// A release whose press switched a Hold mapping on ends exactly that (and
// what the presses before it since the last release started), when the
// modifier of the record its latest press used is held, whatever the table
// says now. A release whose press started nothing, or was not seen, is
// taken as the table says, with the transpose in force; unless the table it
// was pressed under went out of force meanwhile: then it sends nothing.
template <typename KeyIsDown, typename Send>
void Release(const MappingTable& mappings, Player& player, int32_t code, KeyIsDown& key_is_down, Send& send) {
    if (TriggerState* trigger = FindTriggerState(player, code)) {
        switch (trigger->press) {
            case PressState::Held:
                if (trigger->modifier != 0 && !key_is_down(trigger->modifier)) return;
                trigger->press = PressState::Up;
                SendOwed(trigger->press_owes, send);
                return;
            case PressState::Ended: trigger->press = PressState::Up; return;
            case PressState::Pressed: trigger->press = PressState::Up; break;
            case PressState::Up: break;
        }
    }
    const Mapping* mapping = ActingMapping(mappings, code, key_is_down);
    if (mapping != nullptr && mapping->mode == MappingMode::Hold)
        SwitchMapping(*mapping, false, player.transpose, send);
}

// Switches off everything still on, as when a file that asks for it goes out
// of force: each held trigger (whose later release then sends nothing more)
// and each toggle that is on.
template <typename Send>
void SwitchOffEverything(Player& player, Send& send) {
    ForEachTrigger(player, [&send](TriggerState& trigger) {
        if (trigger.press == PressState::Held) {
            trigger.press = PressState::Ended;
            SendOwed(trigger.press_owes, send);
        }
        if (trigger.toggled_on) {
            trigger.toggled_on = false;
            SendOwed(trigger.toggle_owes, send);
        }
    });
}
