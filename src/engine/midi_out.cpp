#include "engine/midi_out.h"

#include <utility>

namespace {

// GetProcAddress returns a generic function pointer; the cast names the real type.
template <typename Function>
bool TakeEntry(HMODULE module, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry != nullptr;
}

// Unloads winmm once; a second call does nothing.
void FreeSystemWinmm(SystemWinmm& winmm) {
    if (HMODULE module = std::exchange(winmm.module, nullptr)) FreeLibrary(module);
    winmm = SystemWinmm{};
}

// Loads winmm from the system folder (once; a second call keeps what is
// loaded). True when the module and all five entry points are there; on
// false nothing stays loaded.
bool LoadSystemWinmm(SystemWinmm& winmm) {
    if (winmm.module != nullptr) return true;
    SystemWinmm loaded;
    loaded.module = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (loaded.module == nullptr) return false;
    const bool complete = TakeEntry(loaded.module, "midiOutGetNumDevs", loaded.get_num_devs) &&
                          TakeEntry(loaded.module, "midiOutGetDevCapsW", loaded.get_dev_caps) &&
                          TakeEntry(loaded.module, "midiOutOpen", loaded.open) &&
                          TakeEntry(loaded.module, "midiOutShortMsg", loaded.short_msg) &&
                          TakeEntry(loaded.module, "midiOutClose", loaded.close);
    if (!complete) {
        FreeSystemWinmm(loaded);
        return false;
    }
    winmm = loaded;
    return true;
}

// The port name up to its terminator, never past the end of the field.
std::wstring_view PortName(const MIDIOUTCAPSW& caps) {
    const std::wstring_view field(caps.szPname, std::size(caps.szPname));
    return field.substr(0, field.find(L'\0'));
}

// Opens the first port, in device order, whose name `wanted` accepts and that
// opens, and keeps its name. A matching port that will not open (held by
// another program, or gone) is passed over.
template <typename Wanted>
bool OpenFirstPort(MidiOut& out, Wanted wanted) {
    const SystemWinmm& winmm = out.winmm;
    const UINT port_count = winmm.get_num_devs();
    for (UINT id = 0; id < port_count; ++id) {
        MIDIOUTCAPSW caps{};
        if (winmm.get_dev_caps(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
        if (!wanted(PortName(caps))) continue;
        if (winmm.open(&out.handle, id, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) {
            out.port_name = PortName(caps);
            return true;
        }
        out.handle = nullptr;
    }
    return false;
}

// The errors that mean the device itself is gone, not just this one message.
bool DeviceGone(MMRESULT result) {
    return result == MIDIERR_NODEVICE || result == MMSYSERR_NODRIVER || result == MMSYSERR_INVALHANDLE;
}

void LosePort(MidiOut& out) {
    // The close result is not acted on: the device is gone either way, and
    // the handle must not be used again.
    if (HMIDIOUT handle = std::exchange(out.handle, nullptr)) out.winmm.close(handle);
    out.lost = true;
    out.reopen = {};
}

// Only the port of start-up's own name will do: the program never moves its
// output to another port, even one that matches the fragment as well.
bool Reopen(MidiOut& out) {
    if (!TakeRetry(out.reopen, static_cast<int64_t>(GetTickCount64()))) return false;
    if (!OpenFirstPort(out, [&](std::wstring_view name) { return name == out.port_name; })) return false;
    out.lost = false;
    return true;
}

}  // namespace

bool OpenMidiOut(MidiOut& out, std::wstring_view midi_device) {
    if (!LoadSystemWinmm(out.winmm)) return false;
    // string_view::find finds an empty fragment in every name, as wanted.
    return OpenFirstPort(out, [&](std::wstring_view name) { return name.find(midi_device) != name.npos; });
}

void SendShortMessage(MidiOut& out, uint32_t message) {
    if (out.handle == nullptr && !(out.lost && Reopen(out))) return;
    // Any other failure drops this message only: on stage a failed send must
    // not stop the next one.
    if (DeviceGone(out.winmm.short_msg(out.handle, message))) LosePort(out);
}

void CloseMidiOut(MidiOut& out) {
    if (HMIDIOUT handle = std::exchange(out.handle, nullptr)) out.winmm.close(handle);
    out.lost = false;
    FreeSystemWinmm(out.winmm);
}
