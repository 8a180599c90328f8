// quillfret-quit.exe: chooses Quit for the running Quillfret from outside
// (the command its tray menu sends), waits for it to end and returns its
// exit code; 100 when no Quillfret runs, 101 when it does not end in time.

#include <windows.h>

#include <cstdio>

#include "app/window_messages.h"

int wmain() {
    HWND window = FindWindowW(L"QuillfretWindow", nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "quillfret-quit: no running Quillfret\n");
        return 100;
    }
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    PostMessageW(window, WM_COMMAND, ID_QUIT, 0);
    if (process == nullptr || WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "quillfret-quit: Quillfret did not end\n");
        return 101;
    }
    DWORD exit_code = 0;
    GetExitCodeProcess(process, &exit_code);
    CloseHandle(process);
    return static_cast<int>(exit_code);
}
