#include "floors/floor_common.h"

#include <string_view>
#include <unordered_map>

#include "latency/bench_keymap.h"

namespace {

std::unordered_map<uint32_t, int32_t> MakeKeyNotes() {
    std::unordered_map<uint32_t, int32_t> notes;
    for (const auto& key : bench_keymap::kScheduleKeys) notes[static_cast<uint32_t>(key.vk)] = key.note;
    for (const auto& key : bench_keymap::kChordKeys) notes[static_cast<uint32_t>(key.vk)] = key.note;
    notes[static_cast<uint32_t>(bench_keymap::kProbeKey.vk)] = bench_keymap::kProbeKey.note;
    return notes;
}

const std::unordered_map<uint32_t, int32_t> key_notes = MakeKeyNotes();

}  // namespace

HMIDIOUT OpenFloorPort() {
    const UINT count = midiOutGetNumDevs();
    for (UINT id = 0; id < count; ++id) {
        MIDIOUTCAPSW caps{};
        if (midiOutGetDevCapsW(id, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        if (std::wstring_view(caps.szPname).find(L"Fenwickloop") == std::wstring_view::npos) continue;
        HMIDIOUT port = nullptr;
        if (midiOutOpen(&port, id, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) return port;
    }
    return nullptr;
}

std::optional<uint32_t> FloorMessage(uint32_t vk, bool down) {
    const auto found = key_notes.find(vk);
    if (found == key_notes.end()) return std::nullopt;
    return down ? bench_keymap::NoteOn(found->second) : bench_keymap::NoteOff(found->second);
}

HWND CreateFloorWindow(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = kFloorWindowClass;
    RegisterClassW(&window_class);
    return CreateWindowExW(0, kFloorWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr, instance,
                           nullptr);
}

LRESULT FloorDefaultProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && LOWORD(wparam) == ID_QUIT) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}
