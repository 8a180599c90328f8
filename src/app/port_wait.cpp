#include "app/port_wait.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "engine/retry_pacing.h"

namespace {

int64_t Now() { return static_cast<int64_t>(GetTickCount64()); }

std::wstring WaitingTip(const std::wstring& midi_device) { return L"Quillfret (waiting for " + midi_device + L")"; }

}  // namespace

PortWaitEnd WaitForPort(AppState& state, int64_t seconds) {
    const int64_t give_up_at = Now() + seconds * 1000;
    // The open that failed at start-up was the first look.
    RetryPacing looks{Now()};
    SetTrayTip(state.tray_icon, WaitingTip(state.midi_device));
    for (;;) {
        const int64_t until_next_look = std::max<int64_t>(NextRetryAt(looks) - Now(), 0);
        if (!ServeOnce(state, static_cast<DWORD>(until_next_look))) return PortWaitEnd::Quit;
        const int64_t now = Now();
        if (!TakeRetry(looks, now)) continue;
        if (OpenMidiOut(state.midi_out, state.midi_device)) return PortWaitEnd::Opened;
        if (now >= give_up_at) return PortWaitEnd::TimedOut;
        // A load meanwhile may have named another port.
        SetTrayTip(state.tray_icon, WaitingTip(state.midi_device));
    }
}
