#include "app/release_resources.h"

#include <utility>

#include "app/cfg_folder.h"
#include "app/hook_witness.h"
#include "app/input_hooks.h"
#include "app/port_sender.h"
#include "config/config_loader.h"

// The results of the release calls are not tested: at this point there is
// nothing left to do about a failure, and a failing step must not keep the
// later ones from running.
void ReleaseResources(AppState& state) {
    if (state.tray_icon.cbSize != 0) {
        NOTIFYICONDATAW icon = std::exchange(state.tray_icon, NOTIFYICONDATAW{});
        Shell_NotifyIconW(NIM_DELETE, &icon);
    }
    StopHookWitness(state);  // first: nothing installs the hooks again after this
    RemoveInputHooks(state);
    // While the port is open; the hooks are gone, so nothing switches on again.
    SwitchOffOnChange(state, PortSender(state));
    CloseMidiOut(state.midi_out);
    StopCfgWatch(state);
    if (HANDLE mutex = std::exchange(state.instance_mutex, nullptr)) CloseHandle(mutex);
}
