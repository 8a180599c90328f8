#include "latency/target_program.h"

#include <chrono>

#include "app/window_messages.h"
#include "support/virtual_midi.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kQuitTimeout = 5000ms;

std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

}  // namespace

TargetProgram::~TargetProgram() {
    if (process_.started() && !WaitForExit(process_, 0ms)) EndProcess(process_);
}

bool TargetProgram::Start(const std::wstring& exe, const std::wstring& record) {
    LaunchOptions options;
    options.program = exe;
    options.working_folder = FolderOf(exe);
    options.environment = {{vmidi::kPortsVariable, L"Fenwickloop Bench"}, {vmidi::kRecordVariable, record}};
    process_ = LaunchProcess(options);
    return process_.started();
}

bool TargetProgram::WaitForWindow(const wchar_t* window_class, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    do {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, window_class, nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.id()) {
                window_ = window;
                return true;
            }
        }
        if (WaitForExit(process_, 10ms)) return false;
    } while (GetTickCount64() < deadline);
    return false;
}

DWORD TargetProgram::Quit() {
    if (window_ != nullptr) PostMessageW(window_, WM_COMMAND, ID_QUIT, 0);
    if (const std::optional<DWORD> code = WaitForExit(process_, kQuitTimeout)) return *code;
    EndProcess(process_);
    return 1;
}
