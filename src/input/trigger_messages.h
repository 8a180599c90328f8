#pragma once

#include <windows.h>

// The messages the input hooks post for each trigger event: wParam the
// trigger code, lParam 1 for a press, 0 for a release. Read by the program,
// by quillfret-check --keys and by the tests and benchmarks that post them
// from outside.
constexpr UINT WM_APP_KEYBOARD = WM_APP + 2;
constexpr UINT WM_APP_MOUSE = WM_APP + 3;
