#include "engine/system_winmm.h"

#include <utility>

namespace {

// GetProcAddress returns a generic function pointer; the cast names the real type.
template <typename Function>
bool TakeEntry(HMODULE module, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry != nullptr;
}

}  // namespace

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

void FreeSystemWinmm(SystemWinmm& winmm) {
    if (HMODULE module = std::exchange(winmm.module, nullptr)) FreeLibrary(module);
    winmm = SystemWinmm{};
}
