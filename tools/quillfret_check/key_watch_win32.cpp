// The desktop's keys and mouse buttons for "quillfret-check --keys", seen as
// the program sees them: the program's own hooks post the trigger events to
// a message-only window of this thread, whose lines a thread of their own
// writes (line_writer.h): the hooks run on this thread, and a console that
// blocks its output (Select mode, a paused pager) must not hold them, and
// so every key and click of the desktop, until Windows removes them.
#include <windows.h>

#include <chrono>
#include <optional>
#include <sstream>

#include "input/foreground.h"
#include "input/input_hooks.h"
#include "key_session.h"
#include "line_writer.h"

namespace {

constexpr int32_t kEndKey = VK_ESCAPE;

// How long the lines still queued at the end may take to reach the console.
constexpr std::chrono::milliseconds kLastLinesTimeout{1000};

std::string HeaderText(const KeySession& session) {
    std::ostringstream text;
    PrintKeySessionHeader(session, text);
    return text.str();
}

// Hands each trigger event to the writer, as it happens, until Esc; each
// press with the program in front, as the program would find it.
void WatchUntilEsc(KeySession& session, LineWriter& lines) {
    ForegroundProgram foreground;
    const std::optional<std::wstring> no_program;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != WM_APP_KEYBOARD && message.message != WM_APP_MOUSE) continue;
        const auto code = static_cast<int32_t>(message.wParam);
        const bool down = message.lParam != 0;
        const std::optional<std::wstring>& front = down ? ProgramInFront(foreground) : no_program;
        lines.Write(KeyLine(session, code, down, KeyIsDownNow, front) + "\n");
        if (code == kEndKey && down) return;
    }
}

}  // namespace

int RunKeySession(KeySession& session, std::ostream& out, std::ostream& err) {
    InputHooks hooks;
    // A message-only window receives the hooks' posts; nothing dispatches
    // them, the loop takes them as they come.
    hooks.target = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (hooks.target != nullptr) InstallInputHooks(hooks);
    if (hooks.keyboard_hook == nullptr || hooks.mouse_hook == nullptr) {
        err << "quillfret-check: the keys of this desktop cannot be watched (error " << GetLastError() << ")\n";
        RemoveInputHooks(hooks);
        if (hooks.target != nullptr) DestroyWindow(hooks.target);
        return 2;
    }
    LineWriter lines(out);
    lines.Write(HeaderText(session));
    WatchUntilEsc(session, lines);
    RemoveInputHooks(hooks);
    DestroyWindow(hooks.target);
    if (!lines.Finish(kLastLinesTimeout)) {
        // The console still blocks. Ending as usual would wait for it too:
        // the writing thread is inside the stream, and the exit flushes it.
        // The lines not written end with the process, which has done its work.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    return 0;
}
