#pragma once

#include <cstdint>

#include "app/app_state.h"

// The engine's `send`: one packed message on the program's port.
inline auto PortSender(AppState& state) {
    return [&state](uint32_t message) { SendShortMessage(state.midi_out, message); };
}
