#include "app/hook_witness.h"

#include <optional>
#include <utility>

#include "app/input_hooks.h"
#include "engine/hook_watch.h"

namespace {

// HID usages of the generic desktop page.
constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;

bool RegisterBothDevices(DWORD flags, HWND target) {
    const RAWINPUTDEVICE devices[] = {{kGenericDesktopPage, kKeyboardUsage, flags, target},
                                      {kGenericDesktopPage, kMouseUsage, flags, target}};
    return RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
}

// The device of a raw event, from its header; nothing for another kind of
// device, or when the header cannot be read (the event is then passed over:
// the next one will tell).
std::optional<RawDevice> DeviceOf(LPARAM raw_input) {
    RAWINPUTHEADER header;
    UINT size = sizeof(header);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): WM_INPUT passes the event's handle in lParam.
    const auto handle = reinterpret_cast<HRAWINPUT>(raw_input);
    if (GetRawInputData(handle, RID_HEADER, &header, &size, sizeof(RAWINPUTHEADER)) != sizeof(header)) {
        return std::nullopt;
    }
    if (header.dwType == RIM_TYPEKEYBOARD) return RawDevice::Keyboard;
    if (header.dwType == RIM_TYPEMOUSE) return RawDevice::Mouse;
    return std::nullopt;
}

}  // namespace

// Without raw input (the registration failed) the hooks are not watched and
// the program works as it did before the watch existed.
void StartHookWitness(AppState& state) { state.hook_witness_on = RegisterBothDevices(RIDEV_INPUTSINK, state.window); }

// A removal that fails leaves nothing to do: it runs only as the program
// ends, and the registration ends with the process.
void StopHookWitness(AppState& state) {
    if (std::exchange(state.hook_witness_on, false)) RegisterBothDevices(RIDEV_REMOVE, nullptr);
}

void HandleRawInput(AppState& state, LPARAM raw_input) {
    if (!state.hook_witness_on) return;
    const std::optional<RawDevice> device = DeviceOf(raw_input);
    if (!device) return;
    const bool both_installed = state.keyboard_hook != nullptr && state.mouse_hook != nullptr;
    if (HooksNeedInstalling(both_installed, state.hook_sightings, *device, InputClockMs())) ReinstallInputHooks(state);
}
