// What sounds when the file in force changes while keys are held: a release
// ends what its press started, the transpose belongs to its file, a note
// written out of range is never sent, and "release_on_change" switches off
// what is on at a save, a switch and Quit. Exact bytes throughout.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/input.h"

namespace {

using Sent = std::vector<std::string>;

class ChangeTest : public DesktopTest {
protected:
    // Waits for the messages after those already checked, expects exactly
    // `expected`, and counts them as checked.
    void ExpectNext(const Sent& expected, const char* after) {
        const Sent sent = SentAfter(run_, checked_, expected.size());
        EXPECT_EQ(sent, expected) << "after " << after;
        checked_ += sent.size();
    }

    // Saves a file with new content in which B plays `probe`, and presses B
    // until it does: then the save is read. B's messages count as checked.
    void SaveAndWait(const std::wstring& name, const std::string& content, int probe) {
        run_.WriteCfgFile(name, content);
        char on[16];
        std::snprintf(on, sizeof(on), "91 %02x 64", probe);
        ASSERT_TRUE(PressUntil(run_, 'B', [&](const Sent& added) { return added.size() >= 2 && added[0] == on; }))
            << "the save was not read";
        checked_ = run_.Sent().size();
    }

    void StartWithA() { ASSERT_TRUE(StartWithCurrent(run_, L"a.json")); }

    QuillfretRun run_{L"change"};
    size_t checked_ = 0;
};

// B, on channel 2, tells which file is in force.
std::string File(const std::string& more, int probe, bool release_on_change = false) {
    return std::string(R"({"release_on_change": )") + (release_on_change ? "true" : "false") + R"(, "mappings": [)" +
           more + R"({"key": "66", "note": )" + std::to_string(probe) + R"(, "channel": 2}]})";
}

// The saved record has other notes, and neither the pedal nor the bend; the
// file switched to then has no A at all.
TEST_F(ChangeTest, AKeyHeldAcrossASaveOrASwitchEndsWhatItsPressStarted) {
    run_.WriteCfgFile(
        L"a.json",
        File(R"({"key": "65", "notes": [60, 64], "cc_enabled": true, "cc_number": 64, "pitch_bend": 2000},)", 40));
    run_.WriteCfgFile(L"b.json", File("", 42));
    StartWithA();
    KeyDown('A');
    ExpectNext({"e0 50 4f", "90 3c 64", "90 40 64", "b0 40 7f"}, "A down");
    SaveAndWait(L"a.json", File(R"({"key": "65", "note": 62},)", 41), 41);
    KeyUp('A');
    // Not the note-off of 62, which the saved file plays: what its press switched on.
    ExpectNext({"80 3c 00", "80 40 00", "b0 40 00", "e0 00 40"}, "A up after the save");
    KeyDown('A');
    ExpectNext({"90 3e 64"}, "A down in the saved file");
    ChooseConfig(run_, L"b.json");
    KeyUp('A');
    PressKey('B');
    ExpectNext({"80 3e 00", "91 2a 64", "81 2a 00"}, "A up after the switch, B");
}

TEST_F(ChangeTest, TheTransposeStartsAtZeroInAnotherFile) {
    const std::string up_and_a = R"({"key": "38", "transpose": 12}, {"key": "65", "note": 60},)";
    run_.WriteCfgFile(L"a.json", File(up_and_a, 40));
    run_.WriteCfgFile(L"b.json", File(up_and_a, 41));
    StartWithA();
    PressKey(VK_UP);
    PressKey('A');
    ExpectNext({"90 48 64", "80 48 00"}, "Up, then A");
    ChooseConfig(run_, L"b.json");
    PressKey('A');
    ExpectNext({"90 3c 64", "80 3c 00"}, "A in b.json");
}

TEST_F(ChangeTest, ANoteWrittenOutOfRangeIsNeverSent) {
    run_.WriteCfgFile(L"a.json", File(R"({"key": "40", "transpose": -12}, {"key": "65", "notes": [130, 60]},)", 40));
    StartWithA();
    PressKey(VK_DOWN);
    PressKey('A');
    ExpectNext({"90 30 64", "80 30 00"}, "Down, then A");
}

// A held key and a toggle that is on are switched off as their file goes
// out of force; the held key's release then sends nothing more.
TEST_F(ChangeTest, ReleaseOnChangeSwitchesOffWhatIsOnAtASaveASwitchAndQuit) {
    const std::string held_and_toggle = R"({"key": "65", "note": 60}, {"key": "67", "note": 62, "mode": "toggle"},)";
    run_.WriteCfgFile(L"a.json", File(held_and_toggle, 40, true));
    run_.WriteCfgFile(L"b.json", File(held_and_toggle, 41, true));
    StartWithA();
    const Sent on = {"90 3c 64", "90 3e 64"};
    const Sent off = {"80 3c 00", "80 3e 00"};

    KeyDown('A');
    PressKey('C');
    ExpectNext(on, "A down, C");
    run_.WriteCfgFile(L"a.json", File(held_and_toggle, 42, true));
    ExpectNext(off, "the save");

    KeyUp('A');
    KeyDown('A');
    PressKey('C');
    ExpectNext(on, "A up (nothing more), A down, C");
    ChooseConfig(run_, L"b.json");
    ExpectNext(off, "the switch");

    KeyUp('A');
    KeyDown('A');
    PressKey('C');
    ExpectNext(on, "A up (nothing more), A down, C");
    ASSERT_EQ(run_.Quit(), 0u);
    ExpectNext(off, "Quit");
    KeyUp('A');
}

}  // namespace
