#pragma once

#include <windows.h>

// The messages the input hooks post for each trigger event: wParam the
// trigger code, lParam 1 for a press, 0 for a release. Read by the program,
// by quillfret-check --keys and by the tests and benchmarks that post them
// from outside.
constexpr UINT WM_APP_KEYBOARD = WM_APP + 2;
constexpr UINT WM_APP_MOUSE = WM_APP + 3;

// A release the program makes itself, when the hooks are installed again,
// for a key or mouse button that the system shows up although no hook saw
// it let go (TakeLostReleases, hook_rules.h): wParam the trigger code. It
// ends what the press started without the modifier test.
constexpr UINT WM_APP_LET_GO = WM_APP + 4;
