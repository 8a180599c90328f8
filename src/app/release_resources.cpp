#include "app/release_resources.h"

#include <utility>

#include "app/app_state.h"
#include "input/hook_witness.h"

// The results of the release calls are not tested: at this point there is
// nothing left to do about a failure, and a failing step must not keep the
// later ones from running.
void ReleaseResources(AppState& state) {
    RemoveTrayIcon(state.tray_icon);
    StopHookWitness(state.hooks);  // first: nothing installs the hooks again after this
    RemoveInputHooks(state.hooks);
    // While the port is open; the hooks are gone, so nothing switches on again.
    SwitchOffOnChange(state.engine, PortSender(state.midi_out));
    CloseMidiOut(state.midi_out);
    StopCfgWatch(state.cfg_folder);
    if (HANDLE mutex = std::exchange(state.instance_mutex, nullptr)) CloseHandle(mutex);
    // The window is never destroyed by the program and lives until the
    // process ends, after the state: from here on it works on no state.
    if (state.window != nullptr) SetWindowLongPtrW(state.window, GWLP_USERDATA, 0);
}
