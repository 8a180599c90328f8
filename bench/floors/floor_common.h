#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>

#include "app/window_messages.h"

// What the two floor programs share. They are not Quillfret: each is the
// least a program can do to turn a key into a MIDI message on this
// platform, measured beside Quillfret to show what the platform costs.
// Each opens the first port whose name holds "Fenwickloop", maps keys by
// the benchmark's key map, and quits on Quillfret's Quit command. The
// posted floor posts each key as Quillfret's keyboard hook does.

inline constexpr wchar_t kFloorWindowClass[] = L"QuillfretBenchFloor";

// Null when no such port opens.
HMIDIOUT OpenFloorPort();

// The message for a key press or release: one hash lookup. Nothing for a
// key outside the map.
std::optional<uint32_t> FloorMessage(uint32_t vk, bool down);

// The hidden window, with `procedure`; it must pass messages it does not
// handle to FloorDefaultProc.
HWND CreateFloorWindow(HINSTANCE instance, WNDPROC procedure);

// Quits on the Quit command, otherwise the default handling.
LRESULT FloorDefaultProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
