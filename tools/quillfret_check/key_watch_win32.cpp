// The desktop's keys and mouse buttons for "quillfret-check --keys", seen as
// the program sees them: the program's own hooks post the trigger events to
// a message-only window of this thread, which prints them.
#include <windows.h>

#include "input/foreground.h"
#include "input/input_hooks.h"
#include "key_session.h"

namespace {

constexpr int32_t kEndKey = VK_ESCAPE;

}  // namespace

int RunKeySession(KeySession& session, std::ostream& out, std::ostream& err) {
    InputHooks hooks;
    // A message-only window receives the hooks' posts; nothing dispatches
    // them, the loop below takes them as they come.
    hooks.target = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (hooks.target != nullptr) InstallInputHooks(hooks);
    if (hooks.keyboard_hook == nullptr || hooks.mouse_hook == nullptr) {
        err << "quillfret-check: the keys of this desktop cannot be watched (error " << GetLastError() << ")\n";
        RemoveInputHooks(hooks);
        if (hooks.target != nullptr) DestroyWindow(hooks.target);
        return 2;
    }
    PrintKeySessionHeader(session, out);
    out.flush();
    ForegroundProgram foreground;
    const std::optional<std::wstring> no_program;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != WM_APP_KEYBOARD && message.message != WM_APP_MOUSE) continue;
        const auto code = static_cast<int32_t>(message.wParam);
        const bool down = message.lParam != 0;
        const std::optional<std::wstring>& front = down ? ProgramInFront(foreground) : no_program;
        out << KeyLine(session, code, down, KeyIsDownNow, front) << std::endl;  // each line as it happens
        if (code == kEndKey && down) break;
    }
    RemoveInputHooks(hooks);
    DestroyWindow(hooks.target);
    return 0;
}
