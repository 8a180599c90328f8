#include "app/shell_launch.h"

#include <objbase.h>

#include <memory>
#include <utility>

#include "app/error_text.h"
#include "app/tray_icon.h"

namespace {

// Everything the launching thread uses, owned by it.
struct ShellLaunch {
    std::wstring file;
    std::wstring parameters;  // empty: none
    std::wstring named;       // the file or folder a failure names
    NOTIFYICONDATAW icon;     // a copy of the tray icon's record; cbSize 0: no icon
};

// ShellExecuteExW's error; ERROR_SUCCESS once the program or folder started.
DWORD OpenInShell(const ShellLaunch& launch) {
    // The shell may hand the call to COM objects (association handlers,
    // extensions), which want an apartment thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // No error dialog of the shell's own (the balloon tells), and the whole
    // launch done before the thread ends.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = launch.file.c_str();
    info.lpParameters = launch.parameters.empty() ? nullptr : launch.parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    const DWORD error = ShellExecuteExW(&info) ? ERROR_SUCCESS : GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    return error;
}

void ReportFailure(const ShellLaunch& launch, DWORD error) {
    ShowBalloon(launch.icon, FailureText(L"Could not open", launch.named, SystemErrorText(error)));
}

DWORD WINAPI RunShellLaunch(void* parameter) {
    const std::unique_ptr<ShellLaunch> launch(static_cast<ShellLaunch*>(parameter));
    if (const DWORD error = OpenInShell(*launch)) ReportFailure(*launch, error);
    return 0;
}

}  // namespace

void StartShellLaunch(const NOTIFYICONDATAW& icon, std::wstring file, std::wstring parameters, std::wstring named) {
    auto launch =
        std::make_unique<ShellLaunch>(ShellLaunch{std::move(file), std::move(parameters), std::move(named), icon});
    HANDLE thread = CreateThread(nullptr, 0, RunShellLaunch, launch.get(), 0, nullptr);
    if (thread == nullptr) {
        // Launching here instead would hold the hooks' thread: the launch
        // fails, and says so.
        ReportFailure(*launch, GetLastError());
        return;
    }
    // The thread owns the launch now (it may already have freed it), and
    // nothing waits for the thread.
    static_cast<void>(launch.release());
    CloseHandle(thread);
}
