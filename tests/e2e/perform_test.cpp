// Program change, pitch bend and transpose keys played through the program,
// with exact bytes, and the transpose kept across a reload.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/input.h"

namespace {

// A plays a chord, S a note with a pitch bend, F1 a program change with a
// bank select, all on channel 2; Up and Down move by an octave, Home resets.
constexpr const char* kKeys = R"(
    {"key": "83", "note": 62, "pitch_bend": 4096, "channel": 2},
    {"key": "112", "program": 5, "bank": 258, "channel": 2},
    {"key": "38", "transpose": 12},
    {"key": "40", "transpose": -12},
    {"key": "36", "transpose": 0})";

std::string PerformanceFile(const std::string& more) { return R"({"mappings": [)" + more + kKeys + "]}"; }

const std::string kBefore = PerformanceFile(R"({"key": "65", "notes": [60, 64], "channel": 2},)");
// The edit: A plays another note, and B (a probe) appears.
const std::string kAfter =
    PerformanceFile(R"({"key": "65", "note": 67, "channel": 2}, {"key": "66", "note": 50, "channel": 2},)");

struct PlayStep {
    const char* input;
    std::function<void()> send;
    std::vector<std::string> sent;  // status, data 1, data 2 in hex
};

class PerformTest : public DesktopTest {
protected:
    // Sends each step's input and checks the messages it adds, in order.
    void Play(const std::vector<PlayStep>& steps) {
        for (const PlayStep& step : steps) {
            step.send();
            expected_.insert(expected_.end(), step.sent.begin(), step.sent.end());
            // A step that adds nothing is checked by the next one that adds something.
            if (!step.sent.empty()) {
                EXPECT_EQ(run_.WaitForSent(expected_.size()), expected_) << "after " << step.input;
            }
        }
    }

    QuillfretRun run_{L"perform"};
    std::vector<std::string> expected_;
};

TEST_F(PerformTest, ProgramPitchBendAndTransposeWithExactBytes) {
    run_.WriteCfgFile(L"performance.json", kBefore);
    ASSERT_TRUE(run_.Start());
    Play({
        {"F1", [] { PressKey(VK_F1); }, {"b1 00 02", "b1 20 02", "c1 05 00"}},
        {"S down", [] { KeyDown('S'); }, {"e1 00 60", "91 3e 64"}},
        {"S up", [] { KeyUp('S'); }, {"81 3e 00", "e1 00 40"}},
        {"A down", [] { KeyDown('A'); }, {"91 3c 64", "91 40 64"}},
        {"Up while A is held", [] { PressKey(VK_UP); }, {}},
        // The release switches off what the press switched on, not the moved notes.
        {"A up", [] { KeyUp('A'); }, {"81 3c 00", "81 40 00"}},
        {"A down, an octave up", [] { KeyDown('A'); }, {"91 48 64", "91 4c 64"}},
    });

    // Saved while A is held: B appears once the file is read again.
    run_.WriteCfgFile(L"performance.json", kAfter);
    // The transpose outlived the reload: B plays 50 + 12.
    ASSERT_TRUE(PressUntil(run_, 'B', [](const std::vector<std::string>& added) {
        return added == std::vector<std::string>{"91 3e 64", "81 3e 00"};
    })) << "the edit was not read";
    expected_ = run_.Sent();  // with whatever the presses of B before that one added

    Play({
        // Held across the reload: the release ends what the press switched
        // on (its notes, moved as at the press), not the new record's note,
        // which never sounded.
        {"A up after the reload", [] { KeyUp('A'); }, {"81 48 00", "81 4c 00"}},
        {"Home", [] { PressKey(VK_HOME); }, {}},
        {"A", [] { PressKey('A'); }, {"91 43 64", "81 43 00"}},
        {"Down", [] { PressKey(VK_DOWN); }, {}},
        {"S, an octave down", [] { PressKey('S'); }, {"e1 00 60", "91 32 64", "81 32 00", "e1 00 40"}},
    });
}

}  // namespace
