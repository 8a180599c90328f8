// A stand-in for a winmm.dll that someone dropped beside the program. When
// any process loads it, it leaves the file "planted-winmm-loaded" in its own
// folder; its MIDI functions find no port, so a program that used it could
// not play either.

#include <windows.h>

#include <string>

namespace {

void LeaveMarker(HINSTANCE self) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring marker(path, length);
    marker = marker.substr(0, marker.find_last_of(L"\\/") + 1) + L"planted-winmm-loaded";
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

extern "C" {

__declspec(dllexport) UINT WINAPI midiOutGetNumDevs() { return 0; }
__declspec(dllexport) UINT WINAPI midiOutGetDevCapsW(UINT_PTR, void*, UINT) { return 2; }  // bad device id
__declspec(dllexport) UINT WINAPI midiOutOpen(void*, UINT, DWORD_PTR, DWORD_PTR, DWORD) { return 2; }
__declspec(dllexport) UINT WINAPI midiOutShortMsg(void*, DWORD) { return 5; }  // invalid handle
__declspec(dllexport) UINT WINAPI midiOutClose(void*) { return 5; }

}  // extern "C"
