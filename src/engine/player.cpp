#include "engine/player.h"

#include <cstddef>
#include <new>

namespace {

// The most messages a switch-off of `mapping` sends: a note-off per note,
// a controller per listed controller when enabled, and the pitch-bend centre.
size_t MostSwitchOffMessages(const Mapping& mapping) {
    return mapping.notes.size() + (mapping.cc_enabled ? mapping.cc_numbers.size() : 0) + 1;
}

}  // namespace

TriggerState* FindTriggerState(Player& player, int32_t code) {
    if (IsHookCode(code)) return &player.hook_triggers[static_cast<size_t>(code)];
    const auto found = player.other_triggers.find(code);
    return found == player.other_triggers.end() ? nullptr : &found->second;
}

TriggerState& TriggerStateOf(Player& player, int32_t code) {
    if (IsHookCode(code)) return player.hook_triggers[static_cast<size_t>(code)];
    return player.other_triggers[code];
}

void TakeTable(Player& player, const MappingTable& table) {
    ForEachTrigger(player, [](TriggerState& trigger) {
        if (trigger.press == PressState::Pressed) trigger.press = PressState::Ended;
        trigger.toggled_on = false;
    });
    try {
        for (const auto& [code, mapping] : table) {
            TriggerStateOf(player, code).switch_off.reserve(MostSwitchOffMessages(mapping));
        }
    } catch (const std::bad_alloc&) {
        // Out of memory making room: the table is in force all the same, and
        // a trigger without its room allocates when it plays.
    }
}
