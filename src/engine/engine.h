#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/mapping.h"
#include "engine/mapping_engine.h"
#include "engine/player.h"

// The engine as the program runs it: the table in force and what its file
// says as a whole, the player, and the three roads into them: a trigger
// transition (HandleTrigger), a release the program makes itself (LetGo)
// and a change of the table in force (PutInForce).

// What the engine plays from, and what is playing: the table of the file in
// force and what that file says as a whole, and the player.
struct Engine {
    MappingTable mappings;
    bool release_on_change = false;     // switch off everything on before the file goes out of force
    std::vector<std::wstring> only_in;  // the programs the file plays in; empty: everywhere
    NamedKey pause_key;                 // the file's pause key; code 0: it cannot be paused
    bool paused = false;                // the pause key paused it: nothing plays
    Player player;
};

// What a trigger transition or a change of file did to the pause.
enum class PauseChange : uint8_t { None, Paused, Playing };

// The pause key's press: pausing switches off everything that is on, as a
// file with "release_on_change" does going out of force (each held
// trigger, whose release then sends nothing, and each toggle that is on).
template <typename Send>
PauseChange TogglePause(Engine& engine, Send& send) {
    engine.paused = !engine.paused;
    if (!engine.paused) return PauseChange::Playing;
    SwitchOffEverything(engine.player, send);
    return PauseChange::Paused;
}

// A press that may not act (paused, or not in a program the file plays in)
// starts nothing, and its release ends nothing; a trigger held from an
// earlier press keeps what that press owes, for its release.
inline void PressThatStartsNothing(Player& player, int32_t code) {
    if (TriggerState* trigger = FindTriggerState(player, code); trigger && trigger->press != PressState::Held) {
        trigger->press = PressState::Ended;
    }
}

// Turns one trigger transition into MIDI messages: a press by the mapping
// stored for `code`, a release by what its press switched on. Unmapped codes
// and mappings whose modifier is not held send nothing (so a toggle does not
// flip and a transpose key changes nothing either). The pause key pauses
// and plays again, whatever is in front; while paused nothing plays. A file
// with "only_in" acts on a press only when `plays_in_front()` says the
// program in front is one of them (asked only then); a release always ends
// what its press started. Allocates nothing once the table is in force
// (PutInForce).
template <typename KeyIsDown, typename Send, typename PlaysInFront>
PauseChange HandleTrigger(Engine& engine, int32_t code, bool down, KeyIsDown&& key_is_down, Send&& send,
                          PlaysInFront&& plays_in_front) {
    if (engine.pause_key.code != 0 && code == engine.pause_key.code) {
        return down ? TogglePause(engine, send) : PauseChange::None;
    }
    if (engine.paused || (down && !engine.only_in.empty() && !plays_in_front())) {
        if (down) PressThatStartsNothing(engine.player, code);
        return PauseChange::None;
    }
    if (down) {
        Press(engine.mappings, engine.player, code, key_is_down, send);
    } else {
        Release(engine.mappings, engine.player, code, key_is_down, send);
    }
    return PauseChange::None;
}

// The answer of a file that plays in every program.
inline bool PlaysEverywhere() { return true; }

// A release the program makes itself, for a key or button that the system
// shows up although its release never came (it was let go while the hooks
// were gone). The player lets go of everything, so there is no modifier
// test: what the trigger's press started ends; a press that started nothing
// has nothing to end.
template <typename Send>
void LetGo(Engine& engine, int32_t code, Send&& send) {
    TriggerState* trigger = FindTriggerState(engine.player, code);
    if (trigger == nullptr) return;
    if (trigger->press == PressState::Held) SendOwed(trigger->press_owes, send);
    trigger->press = PressState::Up;
}

// What the file in force asks for as it goes out of force (before another
// table comes into force, and at Quit): with "release_on_change",
// everything still on is switched off; without it nothing is sent.
template <typename Send>
void SwitchOffOnChange(Engine& engine, Send&& send) {
    if (engine.release_on_change) SwitchOffEverything(engine.player, send);
}

// Where a table comes from, as far as what is playing goes: the transpose
// and the pause belong to the file, so they start anew in another file and
// stay when the same file is read again (the pause only while the file
// keeps its pause key, so that it is never left paused without a key).
enum class TableSource { SameFile, AnotherFile };

// Puts a table just read in force, after what was in force has ended as its
// file asks. Every new table forgets which toggles are on; a key held
// meanwhile still ends what its press started. Playing when the change
// ended the pause.
template <typename Send>
PauseChange PutInForce(Engine& engine, MappingTable&& mappings, const FileSettings& settings, TableSource source,
                       Send&& send) {
    SwitchOffOnChange(engine, send);
    if (source == TableSource::AnotherFile) engine.player.transpose = 0;
    engine.mappings = std::move(mappings);
    engine.release_on_change = settings.release_on_change;
    engine.only_in = settings.only_in;
    const NamedKey pause_key = settings.pause_key.value_or(NamedKey{});
    const bool pause_ends = engine.paused && (source == TableSource::AnotherFile || pause_key.code == 0 ||
                                              pause_key.code != engine.pause_key.code);
    engine.pause_key = pause_key;
    if (pause_ends) engine.paused = false;
    TakeTable(engine.player, engine.mappings);
    return pause_ends ? PauseChange::Playing : PauseChange::None;
}
