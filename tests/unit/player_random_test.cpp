// Random play through the hook decisions, the engine and the loader: keys
// and buttons pressed and released with and without their modifiers,
// transpose keys, the current file saved with other mappings, other files
// chosen. However it went, once every key is up (released with every
// modifier held) and every toggle is switched off, no note the program
// switched on still sounds; and a file with "release_on_change" leaves
// nothing on at Quit.
#include <gtest/gtest.h>

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
#include "engine/mapping_engine.h"
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
    explicit RandomPlay(unsigned seed) : random_(seed) {
        for (const std::string& name : kFiles) WriteBytes(dir_.path() / name, RandomFile(random_));
        Choose(kFiles[0]);
    }

    void Step() {
        const unsigned roll = random_() % 100;
        if (roll < 60) {
            const int32_t vk = kKeys[random_() % kKeys.size()];
            Keyboard(down_.count(vk) != 0 && random_() % 4 != 0 ? input_message::KeyUp : input_message::KeyDown, vk);
        } else if (roll < 85) {
            const int32_t button = kButtons[random_() % kButtons.size()];
            Mouse(button, down_.count(button) == 0);
        } else if (roll < 90) {
            Post(MouseTriggers(input_message::Wheel, 120u << 16));
        } else if (roll < 95) {
            WriteBytes(dir_.path() / current_, RandomFile(random_));
            Load();
        } else {
            Choose(kFiles[random_() % kFiles.size()]);
        }
    }

    // Every key and button up, then every toggle that is on pressed once
    // more with its modifier held; or Quit, when the file in force asks to
    // switch off what is on.
    void Finish() {
        if (engine_.release_on_change) {
            SwitchOffOnChange(engine_, Recorder());
            return;
        }
        for (int32_t vk : kKeys) Keyboard(input_message::KeyUp, vk);
        for (int32_t button : kButtons) Mouse(button, false);
        std::vector<int32_t> toggles_on;
        for (const auto& [code, notes] : toggled_) toggles_on.push_back(code);
        down_.insert(kShift);
        down_.insert(kCtrl);
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

    // A receiver's view: a note-off of a note that does not sound does
    // nothing. Toggles (channel 2) are counted exactly.
    void Heard(uint32_t message) {
        const Note note{static_cast<int>(message & 0x0F) + 1, static_cast<int>(message >> 8 & 0x7F)};
        if ((message & 0xF0) == 0x90) {
            ++sounding_[note];
            switch_on_.push_back(note);
        } else if ((message & 0xF0) == 0x80) {
            if (note.first == 2 || sounding_[note] > 0) --sounding_[note];
        }
    }

    // A release is made with every modifier held, so that each release ends
    // what its press started (a release without its modifier, and a press
    // again, would leave the first press's notes to the receiver's count).
    bool KeyIsDown(int32_t vk, bool down) const { return !down || down_.count(vk) != 0; }

    void Keyboard(uint32_t message, int32_t vk) {
        if (message == input_message::KeyDown) {
            down_.insert(vk);
        } else {
            down_.erase(vk);
        }
        Post(KeyboardTriggers(held_keys_, message, vk));
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
        Post(MouseTriggers(message, 0));
    }

    // Handles what the hooks posted, and follows which toggles are on: a
    // press of a toggle whose modifier is held flips it.
    void Post(const TriggerEvents& events) {
        for (int i = 0; i < events.count; ++i) {
            const TriggerEvent& event = events.events[i];
            const auto found = engine_.mappings.find(event.code);
            auto key_is_down = [this, &event](int32_t vk) { return KeyIsDown(vk, event.down); };
            const bool flips = event.down && found != engine_.mappings.end() &&
                               found->second.mode == MappingMode::Toggle &&
                               (found->second.modifier == 0 || key_is_down(found->second.modifier));
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
        if (!switches_off) {
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
    std::string current_;
    std::set<int32_t> down_;  // keys and buttons physically down
    std::map<Note, int> sounding_;
    std::map<Note, int> left_on_;                   // toggles a reload forgot
    std::map<int32_t, std::vector<Note>> toggled_;  // toggles on, with the notes their switch-on sent
    std::vector<Note> switch_on_;                   // note-ons of the event being handled
};

TEST(RandomPlayTest, NothingTheProgramSwitchedOnKeepsSounding) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        RandomPlay play(seed);
        for (int step = 0; step < 300; ++step) play.Step();
        play.Finish();
        EXPECT_EQ(play.Sounding(), std::vector<std::string>{}) << "seed " << seed;
    }
}

}  // namespace
