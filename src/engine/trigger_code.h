#pragma once

#include <cstdint>

// Trigger codes: what was pressed, as a signed 32-bit number. A key gives its
// virtual-key code, a mouse button or wheel direction one of the codes below;
// both kinds share one number space, and 0 means no key.

namespace trigger_code {
constexpr int32_t MiddleButton = 4;
constexpr int32_t ExtraButton1 = 5;
constexpr int32_t ExtraButton2 = 6;
constexpr int32_t RightButton = 252;
constexpr int32_t LeftButton = 253;
constexpr int32_t WheelAway = 254;
constexpr int32_t WheelTowards = 255;
}  // namespace trigger_code

// The codes the hooks produce are one byte: 0 to kLastHookCode.
constexpr int32_t kLastHookCode = 255;
constexpr bool IsHookCode(int32_t code) { return code >= 0 && code <= kLastHookCode; }
