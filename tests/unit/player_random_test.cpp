// Random play through the hook decisions, the engine and the loader: keys
// and buttons pressed and released with and without their modifiers (a
// modifier let go first, the key pressed again before a release that
// counts), transpose keys, the current file saved with other mappings, other
// files chosen, the hooks gone for a while (keys and buttons let go
// meanwhile, the buttons swapped or not) and installed again. However it
// went, once every key and button is up (released at last with every
// modifier held, as a musician does to end a note whose modifier was let go
// first) and every toggle is switched off, no note the program switched on
// still sounds; and a file with "release_on_change" leaves nothing on at Quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/config_loader.h"
#include "engine/engine.h"
#include "input/hook_rules.h"
#include "support/test_files.h"

namespace {

constexpr int32_t kShift = 16;
constexpr int32_t kCtrl = 17;
// Keys that play (A to F), transpose keys (Up, Down, Home), modifiers.
const std::vector<int32_t> kKeys = {65, 66, 67, 68, 69, 70, 38, 40, 36, kShift, kCtrl};
const std::vector<int32_t> kButtons = {trigger_code::LeftButton, trigger_code::RightButton};
const std::vector<std::string> kFiles = {"a.json", "b.json", "c.json"};

// Hold mappings play on channel 1, toggles on channel 2: a release whose
// press was not seen may switch off a note of channel 1 that is not
// sounding, never one of a toggle.
std::string RandomEntry(std::mt19937& random, int32_t code) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string entry = R"({"key": ")" + std::to_string(code) + "\"";
    if (code == 38 || code == 40 || code == 36) {
        const int transpose = code == 38 ? 12 : code == 40 ? -7 : 0;
        entry += R"(, "transpose": )" + std::to_string(transpose);
    }
    const bool toggle = pick(4) == 0;
    entry += toggle ? R"(, "mode": "toggle", "channel": 2)" : R"(, "channel": 1)";
    if (pick(3) == 0) entry += R"(, "modifier": ")" + std::to_string(pick(2) == 0 ? kShift : kCtrl) + "\"";
    entry += R"(, "notes": [)";
    for (int n = 1 + pick(3); n > 0; --n) entry += std::to_string(36 + pick(60)) + (n > 1 ? ", " : "");
    if (pick(6) == 0) entry += ", 130";
    entry += "]";
    if (pick(4) == 0) entry += R"(, "cc_enabled": true, "cc_number": 64, "pitch_bend": 1000)";
    return entry + "}";
}

std::string RandomFile(std::mt19937& random) {
    std::string text =
        std::string(R"({"release_on_change": )") + (random() % 2 ? "true" : "false") + R"(, "mappings": [)";
    bool first = true;
    for (int32_t code : {65, 66, 67, 68, 69, 70, 38, 40, 36, 253, 252, 254}) {
        if (random() % 5 == 0) continue;  // unmapped in this file
        text += (first ? "" : ", ") + RandomEntry(random, code);
        first = false;
    }
    return text + "]}";
}

int64_t next_time = 0;
std::optional<int64_t> EveryReadIsNew(const std::filesystem::path&) { return ++next_time; }

class RandomPlay {
    // Defined first: its type is deduced from its body.
    auto Recorder() {
        return [this](uint32_t message) { Heard(message); };
    }

public:
    explicit RandomPlay(unsigned seed) : random_(seed), buttons_swapped_(seed % 2 == 0) {
        for (const std::string& name : kFiles) WriteBytes(dir_.path() / name, RandomFile(random_));
        Choose(kFiles[0]);
    }

    void Step() {
        const unsigned roll = random_() % 100;
        if (roll < 58) {
            const int32_t vk = kKeys[random_() % kKeys.size()];
            Keyboard(down_.count(vk) != 0 && random_() % 4 != 0 ? input_message::KeyUp : input_message::KeyDown, vk);
        } else if (roll < 82) {
            const int32_t button = kButtons[random_() % kButtons.size()];
            Mouse(button, down_.count(button) == 0);
        } else if (roll < 87) {
            Post(MouseTriggers(held_buttons_, input_message::Wheel, 120u << 16));
        } else if (roll < 91) {
            WriteBytes(dir_.path() / current_, RandomFile(random_));
            Load();
        } else if (roll < 95) {
            Choose(kFiles[random_() % kFiles.size()]);
        } else if (hooks_gone_) {
            Reinstall();
        } else {
            hooks_gone_ = true;
        }
    }

    // A last spell without the hooks, in which about half of what is down
    // is let go, and the hooks back; every key and button still down let go,
    // the modifiers as they are; then, with every modifier held, each trigger
    // whose release found its modifier up pressed and released again, and
    // every toggle that is on pressed once more. Or Quit, when the file in
    // force asks to switch off what is on.
    void Finish() {
        hooks_gone_ = true;
        for (int32_t code : std::vector<int32_t>(down_.begin(), down_.end())) {
            if (random_() % 2 == 0) continue;
            if (IsButton(code)) {
                Mouse(code, false);
            } else {
                Keyboard(input_message::KeyUp, code);
            }
        }
        Reinstall();
        if (engine_.release_on_change) {
            SwitchOffOnChange(engine_, Recorder());
            return;
        }
        for (int32_t vk : kKeys) {
            if (vk != kShift && vk != kCtrl && down_.count(vk) != 0) Keyboard(input_message::KeyUp, vk);
        }
        for (int32_t button : kButtons) {
            if (down_.count(button) != 0) Mouse(button, false);
        }
        for (int32_t modifier : {kShift, kCtrl}) {
            if (down_.count(modifier) == 0) Keyboard(input_message::KeyDown, modifier);
        }
        std::vector<int32_t> again;
        for (const auto& [code, modifier] : held_by_) again.push_back(code);
        for (int32_t code : again) Post({2, {{code, true}, {code, false}}});
        std::vector<int32_t> toggles_on;
        for (const auto& [code, notes] : toggled_) toggles_on.push_back(code);
        for (int32_t code : toggles_on) Post({2, {{code, true}, {code, false}}});
    }

    // Notes still sounding beyond those a reload left on by design.
    std::vector<std::string> Sounding() const {
        std::vector<std::string> left;
        for (const auto& [note, count] : sounding_) {
            const int expected = left_on_.count(note) != 0 ? left_on_.at(note) : 0;
            if (count != expected) {
                left.push_back("channel " + std::to_string(note.first) + " note " + std::to_string(note.second) + ": " +
                               std::to_string(count) + " sounding, " + std::to_string(expected) + " expected");
            }
        }
        return left;
    }

private:
    using Note = std::pair<int, int>;  // channel, note

    // A receiver's view: a note-off ends the note, however often it was
    // switched on, and does nothing when it does not sound. Toggles
    // (channel 2) are counted exactly.
    void Heard(uint32_t message) {
        const Note note{static_cast<int>(message & 0x0F) + 1, static_cast<int>(message >> 8 & 0x7F)};
        if ((message & 0xF0) == 0x90) {
            ++sounding_[note];
            switch_on_.push_back(note);
        } else if ((message & 0xF0) == 0x80) {
            if (note.first == 2) {
                --sounding_[note];
            } else {
                sounding_[note] = 0;
            }
        }
    }

    static bool IsButton(int32_t code) { return std::find(kButtons.begin(), kButtons.end(), code) != kButtons.end(); }

    // The system's answer by virtual-key code. For the mouse it answers by
    // the physical buttons (1 left, 2 right); swapped, the logical left
    // button (253) is the physical right one.
    bool KeyIsDown(int32_t vk) const {
        const int32_t physical_left = buttons_swapped_ ? trigger_code::RightButton : trigger_code::LeftButton;
        const int32_t physical_right = buttons_swapped_ ? trigger_code::LeftButton : trigger_code::RightButton;
        if (vk == 1) return down_.count(physical_left) != 0;
        if (vk == 2) return down_.count(physical_right) != 0;
        return down_.count(vk) != 0;
    }

    // A key goes down or up; the hooks see it only while they are there.
    void Keyboard(uint32_t message, int32_t vk) {
        if (message == input_message::KeyDown) {
            down_.insert(vk);
        } else {
            down_.erase(vk);
        }
        if (!hooks_gone_) Post(KeyboardTriggers(held_keys_, message, vk));
    }

    void Mouse(int32_t button, bool down) {
        const bool left = button == trigger_code::LeftButton;
        const uint32_t message = left ? (down ? input_message::LeftButtonDown : input_message::LeftButtonUp)
                                      : (down ? input_message::RightButtonDown : input_message::RightButtonUp);
        if (down) {
            down_.insert(button);
        } else {
            down_.erase(button);
        }
        if (!hooks_gone_) Post(MouseTriggers(held_buttons_, message, 0));
    }

    // The hooks installed again: each key and button whose press was posted
    // and that was let go while they were gone ends what its press holds.
    void Reinstall() {
        hooks_gone_ = false;
        for (auto code = posted_down_.begin(); code != posted_down_.end();) {
            if (down_.count(*code) != 0) {
                ++code;
                continue;
            }
            held_by_.erase(*code);
            code = posted_down_.erase(code);
        }
        TakeLostReleases(
            held_keys_, held_buttons_, buttons_swapped_, [this](int32_t vk) { return KeyIsDown(vk); },
            [this](int32_t code) { LetGo(engine_, code, Recorder()); });
    }

    // Follows what a posted press or release leaves holding: a press whose
    // Hold mapping acts holds until a release that finds the modifier of the
    // latest such press held (or until it is let go).
    void FollowHeld(const TriggerEvent& event, const Mapping* acting) {
        if (event.down) {
            posted_down_.insert(event.code);
            if (acting != nullptr && acting->mode == MappingMode::Hold) held_by_[event.code] = acting->modifier;
            return;
        }
        posted_down_.erase(event.code);
        const auto held = held_by_.find(event.code);
        if (held != held_by_.end() && (held->second == 0 || KeyIsDown(held->second))) held_by_.erase(held);
    }

    // Handles what the hooks posted, and follows which presses hold and
    // which toggles are on: a press of a toggle whose modifier is held flips it.
    void Post(const TriggerEvents& events) {
        for (int i = 0; i < events.count; ++i) {
            const TriggerEvent& event = events.events[i];
            const auto found = engine_.mappings.find(event.code);
            auto key_is_down = [this](int32_t vk) { return KeyIsDown(vk); };
            const Mapping* acting =
                found != engine_.mappings.end() && (found->second.modifier == 0 || key_is_down(found->second.modifier))
                    ? &found->second
                    : nullptr;
            const bool flips = event.down && acting != nullptr && acting->mode == MappingMode::Toggle;
            FollowHeld(event, acting);
            switch_on_.clear();
            HandleTrigger(engine_, event.code, event.down, key_is_down, Recorder(), PlaysEverywhere);
            if (!flips) continue;
            if (toggled_.erase(event.code) == 0) toggled_[event.code] = switch_on_;
        }
    }

    void Choose(const std::string& name) {
        current_ = name;
        Load();
    }

    // A load puts a table in force: unless the file going out of force
    // switched them off, the toggles that are on are forgotten, still sounding.
    void Load() {
        const bool switches_off = engine_.release_on_change;
        const std::wstring path = dir_.Wide(current_);
        const TableSource source = path == loaded_.path ? TableSource::SameFile : TableSource::AnotherFile;
        std::optional<MappingFileRead> read = LoadConfig(path, {}, loaded_, EveryReadIsNew);
        PutInForce(engine_, std::move(read->mappings), read->settings, source, Recorder());
        if (switches_off) {
            held_by_.clear();
        } else {
            for (const auto& [code, notes] : toggled_) {
                for (const Note& note : notes) ++left_on_[note];
            }
        }
        toggled_.clear();
    }

    std::mt19937 random_;
    TempDir dir_;
    LoadedFile loaded_;
    Engine engine_;
    HeldKeySet held_keys_;
    HeldKeySet held_buttons_;
    bool buttons_swapped_;
    bool hooks_gone_ = false;
    std::string current_;
    std::set<int32_t> down_;              // keys and buttons physically down
    std::set<int32_t> posted_down_;       // keys and buttons whose press was posted, and not their release
    std::map<int32_t, int32_t> held_by_;  // triggers a Hold press holds, with its modifier
    std::map<Note, int> sounding_;
    std::map<Note, int> left_on_;                   // toggles a reload forgot
    std::map<int32_t, std::vector<Note>> toggled_;  // toggles on, with the notes their switch-on sent
    std::vector<Note> switch_on_;                   // note-ons of the event being handled
};

TEST(RandomPlayTest, NothingTheProgramSwitchedOnKeepsSounding) {
    for (unsigned seed = 1; seed <= 50; ++seed) {
        RandomPlay play(seed);
        for (int step = 0; step < 300; ++step) play.Step();
        play.Finish();
        EXPECT_EQ(play.Sounding(), std::vector<std::string>{}) << "seed " << seed;
    }
}

}  // namespace
