// 20,000 key events as fast as SendInput sends them: every press reaches the
// engine and gets exactly one release, nothing is lost or sent twice, and the
// focused window of another program still receives every key.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/input.h"
#include "support/wait.h"

namespace {

constexpr int kEvents = 20'000;
constexpr int kKeys = 8;  // A to H play notes 60 to 67
constexpr int kMostHeld = 4;

constexpr const char* kEightKeys = R"({"mappings": [
  {"key": "65", "note": 60}, {"key": "66", "note": 61}, {"key": "67", "note": 62}, {"key": "68", "note": 63},
  {"key": "69", "note": 64}, {"key": "70", "note": 65}, {"key": "71", "note": 66}, {"key": "72", "note": 67}]})";

// The focused window of this test process, counting the key messages of A to H.
struct KeyWindow {
    static inline std::array<int, kKeys> downs{};
    static inline std::array<int, kKeys> ups{};
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (wparam >= 'A' && wparam < 'A' + kKeys) {
            if (message == WM_KEYDOWN) ++downs[wparam - 'A'];
            if (message == WM_KEYUP) ++ups[wparam - 'A'];
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }
};

// One injected event: key index and whether it is a press.
struct KeyEvent {
    int key;
    bool down;
};

// A seeded random phrase of presses and releases, up to kMostHeld keys held
// at once, that ends with every key released.
std::vector<KeyEvent> RandomPhrase() {
    std::mt19937 random(20'000);
    std::vector<KeyEvent> phrase;
    std::vector<int> held;
    std::array<bool, kKeys> is_held{};
    while (static_cast<int>(phrase.size()) < kEvents) {
        const int left = kEvents - static_cast<int>(phrase.size());
        const bool may_press = static_cast<int>(held.size()) < kMostHeld && left > static_cast<int>(held.size());
        if (may_press && (held.empty() || random() % 2 == 0)) {
            int key = static_cast<int>(random() % kKeys);
            while (is_held[key]) key = (key + 1) % kKeys;
            is_held[key] = true;
            held.push_back(key);
            phrase.push_back({key, true});
        } else {
            const size_t which = random() % held.size();
            const int key = held[which];
            held.erase(held.begin() + static_cast<std::ptrdiff_t>(which));
            is_held[key] = false;
            phrase.push_back({key, false});
        }
    }
    return phrase;
}

class LoadTest : public DesktopTest {};

TEST_F(LoadTest, TwentyThousandEventsEachPlayedOnceAndPassedOn) {
    QuillfretRun run(L"load");
    run.WriteCfgFile(L"keys.json", kEightKeys);
    ASSERT_TRUE(run.Start());
    HWND target = CreateFocusedWindow(L"QuillfretLoadKeyWindow", KeyWindow::Procedure);
    ASSERT_EQ(GetFocus(), target);

    const std::vector<KeyEvent> phrase = RandomPhrase();
    std::vector<std::string> expected;
    std::array<int, kKeys> presses{};
    int not_sent = 0;
    const auto started = std::chrono::steady_clock::now();
    for (const KeyEvent& event : phrase) {
        const WORD vk = static_cast<WORD>('A' + event.key);
        if (!(event.down ? KeyDown(vk) : KeyUp(vk))) ++not_sent;
        expected.push_back(event.down ? NoteOnHex(60 + event.key) : NoteOffHex(60 + event.key));
        if (event.down) ++presses[event.key];
        PumpMessages();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(not_sent, 0);

    std::vector<std::string> sent;
    WaitUntil(
        [&] {
            sent = run.Sent();
            return sent.size() >= expected.size();
        },
        120s, 250ms);
    WaitUntil(
        [&] {
            PumpMessages();
            return KeyWindow::ups == presses;
        },
        kEventTimeout);
    std::cout << "load: " << phrase.size() << " events in " << seconds << " s; " << sent.size() << " messages sent, "
              << RecordCount(run, "reject") << " rejected\n";

    ASSERT_EQ(sent.size(), expected.size()) << "messages lost or added";
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(sent[i], expected[i]) << "first difference at message " << i;
    }
    EXPECT_EQ(KeyWindow::downs, presses) << "the focused window missed key presses";
    EXPECT_EQ(KeyWindow::ups, presses) << "the focused window missed key releases";
    EXPECT_EQ(run.Quit(), 0u);
}

}  // namespace
