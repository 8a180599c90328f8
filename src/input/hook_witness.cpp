#include "input/hook_witness.h"

#include <optional>
#include <utility>

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
void StartHookWitness(InputHooks& hooks) { hooks.witness_on = RegisterBothDevices(RIDEV_INPUTSINK, hooks.target); }

// A removal that fails leaves nothing to do: it runs only as the program
// ends, and the registration ends with the process.
void StopHookWitness(InputHooks& hooks) {
    if (std::exchange(hooks.witness_on, false)) RegisterBothDevices(RIDEV_REMOVE, nullptr);
}

void HandleRawInput(InputHooks& hooks, LPARAM raw_input) {
    if (!hooks.witness_on) return;
    const std::optional<RawDevice> device = DeviceOf(raw_input);
    if (!device) return;
    const bool both_installed = hooks.keyboard_hook != nullptr && hooks.mouse_hook != nullptr;
    if (HooksNeedInstalling(both_installed, hooks.sightings, hooks.installs, *device, InputClockMs())) {
        ReinstallInputHooks(hooks);
    }
}
