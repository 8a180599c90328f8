#include "latency/target_program.h"

#include <utility>
#include <vector>

#include "app/window_messages.h"

namespace {

constexpr DWORD kQuitTimeoutMs = 5000;

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

}  // namespace

TargetProgram::~TargetProgram() {
    if (HANDLE process = std::exchange(process_.hProcess, nullptr)) {
        // A program left running would keep its hooks in the next round.
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    if (HANDLE thread = std::exchange(process_.hThread, nullptr)) CloseHandle(thread);
}

bool TargetProgram::Start(const std::wstring& exe) {
    std::vector<wchar_t> command_line(exe.begin(), exe.end());
    command_line.insert(command_line.begin(), L'"');
    command_line.push_back(L'"');
    command_line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const std::wstring folder = FolderOf(exe);
    return CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &process_) != FALSE;
}

bool TargetProgram::WaitForWindow(const wchar_t* window_class, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    do {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, window_class, nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.dwProcessId) {
                window_ = window;
                return true;
            }
        }
        if (WaitForSingleObject(process_.hProcess, 10) == WAIT_OBJECT_0) return false;
    } while (GetTickCount64() < deadline);
    return false;
}

DWORD TargetProgram::Quit() {
    if (window_ != nullptr) PostMessageW(window_, WM_COMMAND, ID_QUIT, 0);
    if (WaitForSingleObject(process_.hProcess, kQuitTimeoutMs) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kQuitTimeoutMs);
    }
    DWORD exit_code = 1;
    GetExitCodeProcess(process_.hProcess, &exit_code);
    return exit_code;
}
