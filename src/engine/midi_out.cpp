#include "engine/midi_out.h"

#include <utility>

namespace {

// The port name up to its terminator, never past the end of the field.
std::wstring_view PortName(const MIDIOUTCAPSW& caps) {
    const std::wstring_view field(caps.szPname, std::size(caps.szPname));
    return field.substr(0, field.find(L'\0'));
}

}  // namespace

bool OpenMidiOut(MidiOut& out, std::wstring_view midi_device) {
    if (!LoadSystemWinmm(out.winmm)) return false;
    const SystemWinmm& winmm = out.winmm;
    const UINT port_count = winmm.get_num_devs();
    for (UINT id = 0; id < port_count; ++id) {
        MIDIOUTCAPSW caps{};
        if (winmm.get_dev_caps(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
        // string_view::find finds an empty fragment in every name, as wanted.
        if (PortName(caps).find(midi_device) == std::wstring_view::npos) continue;
        // A matching port that will not open (held by another program) is passed over.
        if (winmm.open(&out.handle, id, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) return true;
        out.handle = nullptr;
    }
    return false;
}

void SendShortMessage(const MidiOut& out, uint32_t message) {
    if (out.handle == nullptr) return;
    // Deliberately unchecked: on stage a failed send must not stop the next one.
    out.winmm.short_msg(out.handle, message);
}

void CloseMidiOut(MidiOut& out) {
    if (HMIDIOUT handle = std::exchange(out.handle, nullptr)) out.winmm.close(handle);
    FreeSystemWinmm(out.winmm);
}
