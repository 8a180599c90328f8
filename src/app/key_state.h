#pragma once

#include <windows.h>

#include <cstdint>

// Whether the system shows key `vk` down at this moment: the engine's
// modifier test (the program's and quillfret-check --keys'), and the hooks'
// check for keys released while they were gone.
inline bool KeyIsDownNow(int32_t vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }
