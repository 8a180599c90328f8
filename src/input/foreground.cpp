#include "input/foreground.h"

#include <utility>

#include "input/program_names.h"

namespace {

// The file name of the executable of process `id`; nothing when the process
// refuses the query (another user's, an elevated one) or is gone.
std::optional<std::wstring> ProgramOfProcess(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return std::nullopt;
    std::wstring path(MAX_PATH, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    while (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() > 32768) {
            CloseHandle(process);
            return std::nullopt;
        }
        path.resize(path.size() * 2);
        size = static_cast<DWORD>(path.size());
    }
    CloseHandle(process);
    path.resize(size);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

DWORD ProcessOfWindow(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

// The programs of the child windows of `window` that other processes own
// (a Store app's own window inside its frame).
std::vector<std::wstring> ProgramsOfForeignChildren(HWND window) {
    struct Search {
        DWORD owner;
        std::vector<std::wstring> programs;
    } search{ProcessOfWindow(window), {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM parameter) -> BOOL {
            // NOLINTNEXTLINE(performance-no-int-to-ptr): the search passes its own address.
            auto& found = *reinterpret_cast<Search*>(parameter);
            const DWORD id = ProcessOfWindow(child);
            if (id == found.owner) return TRUE;
            if (std::optional<std::wstring> program = ProgramOfProcess(id))
                found.programs.push_back(std::move(*program));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.programs;
}

std::optional<std::wstring> LookUp(HWND window) {
    if (window == nullptr) return std::nullopt;
    const DWORD id = ProcessOfWindow(window);
    if (id == 0 || id == GetCurrentProcessId()) return std::nullopt;
    const std::optional<std::wstring> program = ProgramOfProcess(id);
    if (!program) return std::nullopt;
    return ProgramInFrontOf(*program, [window] { return ProgramsOfForeignChildren(window); });
}

}  // namespace

const std::optional<std::wstring>& ProgramInFront(ForegroundProgram& front) {
    HWND window = GetForegroundWindow();
    if (window != front.window) {
        front.window = window;
        front.name = LookUp(window);
    }
    return front.name;
}

bool PlaysInFront(ForegroundProgram& front, const std::vector<std::wstring>& programs) {
    const std::optional<std::wstring>& program = ProgramInFront(front);
    return program && NamesProgram(programs, *program);
}
