#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/mapping.h"
#include "engine/trigger_code.h"

// What is playing, beside the table of what the file says: the transpose in
// force and, for each trigger, what its press started. It outlives reloads
// and config switches, so that a release always ends what its press started,
// whatever the table says by then.

// Where a trigger's press stands, as far as its release is concerned.
enum class PressState : uint8_t {
    Up,       // no press waits for its release (or none was seen)
    Pressed,  // pressed, and the press started nothing for its release to end
    Held,     // pressed on a Hold mapping, which it switched on: the release ends that
    Ended,    // pressed, but what it started is over (or the table it was pressed under
              // went out of force): its release sends nothing
};

// Packed messages that end what a trigger switched on, in sending order.
using OwedMessages = std::vector<uint32_t>;

struct TriggerState {
    PressState press = PressState::Up;
    int32_t modifier = 0;      // the modifier of the record its latest Hold press used
    OwedMessages press_owes;   // Held: what ends every switch-on of its Hold presses since the last release
    bool toggled_on = false;   // a toggle this trigger switched on is sounding
    OwedMessages toggle_owes;  // toggled on: what ends the toggle's switch-on
};

struct Player {
    int32_t transpose = 0;  // the transpose in force, within -kTransposeLimit..kTransposeLimit
    std::array<TriggerState, kLastHookCode + 1> hook_triggers;  // the codes the hooks produce, by code
    // Codes outside 0..255 (a key name for a larger number, a message posted
    // from outside): made for each code a table in force names, never removed.
    std::unordered_map<int32_t, TriggerState> other_triggers;
};

// The state of `code`; null for a code outside 0..255 that no table in force named.
TriggerState* FindTriggerState(Player& player, int32_t code);

// The state of `code`, made when it has none yet.
TriggerState& TriggerStateOf(Player& player, int32_t code);

// What happens to the player whenever a table comes into force (a reload or
// another file): the table it replaces is gone, so a pending release of a
// press that started nothing will send nothing, and which toggles are on is
// forgotten without a message (their notes keep sounding; the next press of
// such a key switches it on again). Held triggers still end what they
// started. Room is made for what the presses of each mapping of `table`
// can owe (MostOwedByPresses, mapping_engine.h), so that playing it never
// allocates.
void TakeTable(Player& player, const MappingTable& table);

// Calls `visit` with the state of every trigger.
template <typename Visit>
void ForEachTrigger(Player& player, Visit&& visit) {
    for (TriggerState& trigger : player.hook_triggers) visit(trigger);
    for (auto& [code, trigger] : player.other_triggers) visit(trigger);
}
