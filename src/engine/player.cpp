#include "engine/player.h"

#include <cstddef>
#include <new>

#include "engine/mapping_engine.h"

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
        trigger.toggle_owes.clear();
    });
    try {
        for (const auto& [code, mapping] : table) {
            TriggerState& trigger = TriggerStateOf(player, code);
            OwedMessages& owes = mapping.mode == MappingMode::Hold ? trigger.press_owes : trigger.toggle_owes;
            owes.reserve(owes.size() + MostOwedByPresses(mapping));
        }
    } catch (const std::bad_alloc&) {
        // Out of memory making room: the table is in force all the same, and
        // a trigger without its room allocates when it plays.
    }
}
