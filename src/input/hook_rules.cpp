#include "input/hook_rules.h"

namespace {

TriggerEvents One(int32_t code, bool down) { return TriggerEvents{1, {{code, down}, {}}}; }

int32_t ExtraButtonCode(uint32_t mouse_data) {
    return (mouse_data >> 16) == 1 ? trigger_code::ExtraButton1 : trigger_code::ExtraButton2;
}

// The trigger events of one mouse message.
TriggerEvents MouseEvents(uint32_t message, uint32_t mouse_data) {
    using namespace input_message;
    switch (message) {
        case LeftButtonDown: return One(trigger_code::LeftButton, true);
        case LeftButtonUp: return One(trigger_code::LeftButton, false);
        case RightButtonDown: return One(trigger_code::RightButton, true);
        case RightButtonUp: return One(trigger_code::RightButton, false);
        case MiddleButtonDown: return One(trigger_code::MiddleButton, true);
        case MiddleButtonUp: return One(trigger_code::MiddleButton, false);
        case ExtraButtonDown: return One(ExtraButtonCode(mouse_data), true);
        case ExtraButtonUp: return One(ExtraButtonCode(mouse_data), false);
        case Wheel: {
            const auto delta = static_cast<int16_t>(mouse_data >> 16);
            const int32_t code = delta > 0 ? trigger_code::WheelAway : trigger_code::WheelTowards;
            return TriggerEvents{2, {{code, true}, {code, false}}};
        }
        default: return {};
    }
}

}  // namespace

TriggerEvents KeyboardTriggers(HeldKeySet& held_keys, uint32_t message, int32_t vk) {
    switch (message) {
        case input_message::KeyDown:
            if (held_keys.contains(vk)) return {};
            held_keys.insert(vk);
            return One(vk, true);
        case input_message::KeyUp: held_keys.erase(vk); return One(vk, false);
        case input_message::SysKeyUp:
            if (!held_keys.contains(vk)) return {};
            held_keys.erase(vk);
            return One(vk, false);
        default: return {};
    }
}

TriggerEvents MouseTriggers(HeldKeySet& held_buttons, uint32_t message, uint32_t mouse_data) {
    const TriggerEvents events = MouseEvents(message, mouse_data);
    // A button gives one event; a wheel notch, a press and its release.
    if (events.count == 1) {
        const TriggerEvent& button = events.events[0];
        if (button.down) {
            held_buttons.insert(button.code);
        } else {
            held_buttons.erase(button.code);
        }
    }
    return events;
}

bool HooksNeedInstalling(bool both_installed, const HookSightings& sightings, const RetryPacing& installs,
                         RawDevice device, int64_t raw_event_ms, int64_t margin_ms) {
    if (!both_installed) return RetryIsDue(installs, raw_event_ms);
    const int64_t last_seen_ms = device == RawDevice::Keyboard ? sightings.keyboard_ms : sightings.mouse_ms;
    return raw_event_ms - last_seen_ms > margin_ms;
}
